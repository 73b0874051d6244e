#pragma once
// Where the game keeps the files it writes for the player (settings, best
// times), and the careful ways it reads and writes them. Nothing here prints:
// every call that can fail says why in *why, as the system's one-line reason
// ("Permission denied", "No space left on device"), for the caller to report.
#include <cstddef>
#include <string>

// $XDG_CONFIG_HOME/gorvanka, or $HOME/.config/gorvanka when XDG_CONFIG_HOME is
// unset, empty or not an absolute path. Empty when HOME is no absolute path
// either: the game then writes nothing, rather than into the working folder.
std::string configFolder();
// $XDG_DATA_HOME/gorvanka or $HOME/.local/share/gorvanka, by the same rule.
std::string dataFolder();

// Makes the folder and any missing parents, new ones private to the player
// (mode 0700). True when the folder exists afterwards.
bool makeFolders(const std::string& path, std::string* why);

// Writes bytes to a new file beside path, syncs it to disk and renames it over
// path, so readers see the old file or the new one, never a part. On any
// failure the temporary file is removed and path is left exactly as it was.
bool writeFileAtomically(const std::string& path, const std::string& bytes, std::string* why);
// The same, for a file the game writes only where there is none: fails with
// "File exists" rather than replace one, even one made a moment before.
bool writeNewFileAtomically(const std::string& path, const std::string& bytes, std::string* why);

// Renames path to path.bad, or path.bad.1, path.bad.2 ... where those exist,
// never replacing one, so a file the game cannot use is kept as it was.
bool keepAside(const std::string& path, std::string* keptAs, std::string* why);

enum class ReadStatus { read, missing, failed };
// Reads the whole regular file at path, of at most maxBytes, into *bytes.
// "missing" is no file at all (or no folder above it); a folder, a device, a
// link to nothing, a larger or unreadable file is "failed", with the reason.
ReadStatus readSmallFile(const std::string& path, size_t maxBytes, std::string* bytes, std::string* why);

// An exclusive lock shared by the writers of one file, held on a lock file
// beside it while fd is open. Let go by unlockFile or when it goes out of scope.
struct FileLock {
    int fd = -1;
    FileLock() = default;
    FileLock(const FileLock&) = delete;
    FileLock& operator=(const FileLock&) = delete;
    ~FileLock();
};
// Waits at most waitMilliseconds for the lock on lockPath (made if missing).
// False, with the reason, when it could not be had: the caller goes on without.
bool lockFile(FileLock* lock, const std::string& lockPath, int waitMilliseconds, std::string* why);
void unlockFile(FileLock* lock);
