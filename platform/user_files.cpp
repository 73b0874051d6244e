#include "platform/user_files.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <thread>

namespace {

// Past this many kept files something keeps breaking them; the caller hears so.
const int kMaxKeptAside = 1000;
const auto kLockRetry = std::chrono::milliseconds(10);

// Puts the system's reason for error in *why; false, for one-line returns.
bool failed(std::string* why, int error) {
    *why = std::strerror(error);
    return false;
}

std::string withoutTrailingSlashes(std::string path) {
    while (!path.empty() && path.back() == '/') path.pop_back();
    return path;
}

std::string userFolder(const char* xdgVariable, const char* belowHome) {
    const char* xdg = std::getenv(xdgVariable);
    if (xdg && xdg[0] == '/') return withoutTrailingSlashes(xdg) + "/gorvanka";
    const char* home = std::getenv("HOME");
    if (home && home[0] == '/') return withoutTrailingSlashes(home) + belowHome + "/gorvanka";
    return "";
}

bool isFolder(const std::string& path) {
    struct stat info;
    return stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

// Writes all of bytes, through interrupted and partial writes.
bool writeAll(int fd, const std::string& bytes) {
    for (size_t done = 0; done < bytes.size();) {
        const ssize_t written = write(fd, bytes.data() + done, bytes.size() - done);
        if (written < 0 && errno == EINTR) continue;
        if (written < 0) return false;
        if (written == 0) return errno = ENOSPC, false;
        done += size_t(written);
    }
    return true;
}

// Renames from to to unless to exists ("File exists"). Where the file system
// cannot rename that way, a second name and the old one's removal do the same.
bool moveNoReplace(const std::string& from, const std::string& to) {
    if (renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0) return true;
    if (errno != EINVAL && errno != ENOSYS) return false;
    return link(from.c_str(), to.c_str()) == 0 && unlink(from.c_str()) == 0;
}

// Makes the rename itself survive a power cut, not only the file's bytes.
void syncFolderOf(const std::string& path) {
    const int fd = open(path.substr(0, path.rfind('/') + 1).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return;
    fsync(fd);
    close(fd);
}

bool writeThroughTemporary(const std::string& path, const std::string& bytes, bool replace, std::string* why) {
    std::string temporary = path + ".new-XXXXXX";
    const int fd = mkostemp(&temporary[0], O_CLOEXEC);
    if (fd < 0) return failed(why, errno);
    int error = 0;
    if (!writeAll(fd, bytes) || fsync(fd) != 0) error = errno;
    if (close(fd) != 0 && error == 0) error = errno;
    if (error == 0 && !(replace ? rename(temporary.c_str(), path.c_str()) == 0 : moveNoReplace(temporary, path)))
        error = errno;
    if (error != 0) {
        unlink(temporary.c_str());
        return failed(why, error);
    }
    syncFolderOf(path);
    return true;
}

ReadStatus openFailure(const std::string& path, std::string* why) {
    const int error = errno;
    struct stat link;
    if ((error == ENOENT || error == ENOTDIR) && lstat(path.c_str(), &link) != 0) return ReadStatus::missing;
    *why = error == ENOENT ? "a link to a missing file" : std::strerror(error);
    return ReadStatus::failed;
}

bool readRegularFile(int fd, size_t maxBytes, std::string* bytes, std::string* why) {
    struct stat info;
    if (fstat(fd, &info) != 0) return failed(why, errno);
    if (S_ISDIR(info.st_mode)) return failed(why, EISDIR);
    if (!S_ISREG(info.st_mode)) return *why = "not a regular file", false;
    if (uint64_t(info.st_size) > maxBytes) return *why = "larger than " + std::to_string(maxBytes) + " bytes", false;
    // One byte more than its size shows a file that grew while it was read.
    bytes->assign(size_t(info.st_size) + 1, '\0');
    size_t got = 0;
    while (got < bytes->size()) {
        const ssize_t n = read(fd, &(*bytes)[got], bytes->size() - got);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) return failed(why, errno);
        if (n == 0) break;
        got += size_t(n);
    }
    if (got > size_t(info.st_size)) return *why = "changed while it was read", false;
    bytes->resize(got);
    return true;
}

}  // namespace

std::string configFolder() {
    return userFolder("XDG_CONFIG_HOME", "/.config");
}

std::string dataFolder() {
    return userFolder("XDG_DATA_HOME", "/.local/share");
}

bool makeFolders(const std::string& path, std::string* why) {
    for (size_t end = path.find('/', 1);; end = path.find('/', end + 1)) {
        const std::string folder = path.substr(0, end);
        if (mkdir(folder.c_str(), 0700) != 0) {
            const int error = errno;
            if (!isFolder(folder)) return failed(why, error == EEXIST ? ENOTDIR : error);
        }
        if (end == std::string::npos) return true;
    }
}

bool writeFileAtomically(const std::string& path, const std::string& bytes, std::string* why) {
    return writeThroughTemporary(path, bytes, true, why);
}

bool writeNewFileAtomically(const std::string& path, const std::string& bytes, std::string* why) {
    return writeThroughTemporary(path, bytes, false, why);
}

bool keepAside(const std::string& path, std::string* keptAs, std::string* why) {
    for (int n = 0; n <= kMaxKeptAside; ++n) {
        const std::string aside = path + ".bad" + (n > 0 ? "." + std::to_string(n) : "");
        if (moveNoReplace(path, aside)) return *keptAs = aside, true;
        if (errno != EEXIST) return failed(why, errno);
    }
    return failed(why, EEXIST);
}

ReadStatus readSmallFile(const std::string& path, size_t maxBytes, std::string* bytes, std::string* why) {
    // Non-blocking, so that a pipe in the file's place cannot stall the game.
    const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK);
    if (fd < 0) return openFailure(path, why);
    const bool whole = readRegularFile(fd, maxBytes, bytes, why);
    close(fd);
    return whole ? ReadStatus::read : ReadStatus::failed;
}

FileLock::~FileLock() {
    unlockFile(this);
}

bool lockFile(FileLock* lock, const std::string& lockPath, int waitMilliseconds, std::string* why) {
    unlockFile(lock);
    lock->fd = open(lockPath.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOCTTY | O_NOFOLLOW, 0600);
    if (lock->fd < 0) return failed(why, errno);
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(waitMilliseconds);
    while (flock(lock->fd, LOCK_EX | LOCK_NB) != 0) {
        const int error = errno;
        if (error != EWOULDBLOCK && error != EINTR) return unlockFile(lock), failed(why, error);
        if (std::chrono::steady_clock::now() >= deadline) {
            unlockFile(lock);
            *why = "held elsewhere for over " + std::to_string(waitMilliseconds) + " ms";
            return false;
        }
        std::this_thread::sleep_for(kLockRetry);
    }
    return true;
}

void unlockFile(FileLock* lock) {
    if (lock->fd >= 0) close(lock->fd);
    lock->fd = -1;
}
