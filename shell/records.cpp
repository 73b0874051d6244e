#include "shell/records.h"

#include <algorithm>
#include <array>
#include <cstdio>

#include "platform/messages.h"
#include "platform/user_files.h"

namespace {

// Three short lines; a file anywhere near this size is not the game's.
const size_t kMaxRecordsBytes = 4096;
// The longest time a 32-bit millisecond count reaches: no game runs longer.
const int kMaxHundredths = int((uint64_t(UINT32_MAX) + 5) / 10);
// Another game holds the lock only while it writes three lines.
const int kLockWaitMilliseconds = 2000;

using Times = std::array<std::optional<int>, kRecordLevels>;  // level n at n - 1

Times best;
bool toldUnsaved;  // the player heard this run that the records are not saved

// The records on disk, and what to tell the player about the file.
struct DiskRecords {
    Times times;
    std::string warning;
    bool stuck = false;  // a bad file that could not be moved aside, so must not be replaced
};

void tellOnce(const std::string& line) {
    if (!toldUnsaved) say(line.c_str());
    toldUnsaved = true;
}

// A file moved aside is told as it happens, which is once; one that stays in
// the way, like a folder that cannot be written, only once a run.
void tell(const DiskRecords& disk) {
    if (disk.stuck) {
        tellOnce(disk.warning);
    } else if (!disk.warning.empty()) {
        say(disk.warning.c_str());
    }
}

std::string cannotWrite(const std::string& path, const std::string& why) {
    return "Records: cannot write " + path + ": " + why + "; best times are kept for this run only";
}

// Reads minDigits to maxDigits decimal digits at *at.
bool readDigits(const std::string& line, size_t* at, size_t minDigits, size_t maxDigits, int* value) {
    size_t count = 0;
    for (*value = 0; *at < line.size() && line[*at] >= '0' && line[*at] <= '9'; ++*at) {
        if (++count > maxDigits) return false;
        *value = *value * 10 + (line[*at] - '0');
    }
    return count >= minDigits;
}

// "level <n> <whole seconds>.<hundredths>", exactly as the game writes it.
bool parseLine(const std::string& line, int* level, int* hundredths) {
    const std::string start = "level ";
    size_t at = start.size();
    int whole, fraction;
    if (line.compare(0, at, start) != 0 || !readDigits(line, &at, 1, 9, level)) return false;
    if (at >= line.size() || line[at++] != ' ' || !readDigits(line, &at, 1, 7, &whole)) return false;
    if (at >= line.size() || line[at++] != '.' || !readDigits(line, &at, 2, 2, &fraction)) return false;
    *hundredths = whole * 100 + fraction;
    return at == line.size();
}

// What is wrong with the text as records, after the file's name; empty when nothing is.
std::string parseRecords(const std::string& text, Times* times) {
    int lineNumber = 1;
    for (size_t at = 0; at < text.size(); ++lineNumber) {
        const size_t end = std::min(text.find('\n', at), text.size());
        const std::string line = text.substr(at, end - at);
        at = end + 1;
        const std::string where = ":" + std::to_string(lineNumber) + ": ";
        int level, hundredths;
        if (!parseLine(line, &level, &hundredths)) return where + "not a \"level <n> <seconds>\" line";
        const std::string name = "level " + std::to_string(level);
        if (level < 1 || level > kRecordLevels) return where + "there is no " + name;
        if ((*times)[level - 1]) return where + name + " is there twice";
        if (hundredths > kMaxHundredths) return where + name + " has a time longer than any game";
        (*times)[level - 1] = hundredths;
    }
    return "";
}

DiskRecords readDiskRecords(const std::string& path) {
    DiskRecords disk;
    std::string text, why, problem;
    const ReadStatus status = readSmallFile(path, kMaxRecordsBytes, &text, &why);
    if (status == ReadStatus::missing) return disk;
    if (status == ReadStatus::failed) {
        problem = "cannot read " + path + ": " + why;
    } else {
        const std::string mistake = parseRecords(text, &disk.times);
        if (mistake.empty()) return disk;
        problem = path + mistake;
        disk.times = {};
    }
    std::string keptAs;
    if (keepAside(path, &keptAs, &why)) {
        disk.warning = "Records: " + problem + "; moved the file aside to " + keptAs + "; its times do not count";
    } else {
        disk.stuck = true;
        disk.warning = "Records: " + problem + "; cannot move the file aside (" + why + "), so best times are kept " +
                       "for this run only";
    }
    return disk;
}

std::optional<int> better(std::optional<int> a, std::optional<int> b) {
    if (a && b) return std::min(*a, *b);
    return a ? a : b;
}

std::string recordsText(const Times& times) {
    std::string text;
    for (int level = 1; level <= kRecordLevels; ++level)
        if (times[level - 1]) text += "level " + std::to_string(level) + " " + secondsText(*times[level - 1]) + "\n";
    return text;
}

// Merges the file on disk into the best times and writes them back, all under
// the lock, so another game's record written meanwhile is kept.
void saveRecords() {
    const std::string path = recordsPath();
    if (path.empty()) {
        tellOnce("Records: neither XDG_DATA_HOME nor HOME names a folder; best times are kept for this run only");
        return;
    }
    std::string why;
    if (!makeFolders(path.substr(0, path.rfind('/')), &why)) return tellOnce(cannotWrite(path, why));
    FileLock lock;
    lockFile(&lock, path + ".lock", kLockWaitMilliseconds, &why);  // after the wait it goes on without
    const DiskRecords disk = readDiskRecords(path);
    tell(disk);
    if (disk.stuck) return;
    for (int i = 0; i < kRecordLevels; ++i) best[i] = better(best[i], disk.times[i]);
    if (best == disk.times) return;
    if (!writeFileAtomically(path, recordsText(best), &why)) tellOnce(cannotWrite(path, why));
}

}  // namespace

std::string recordsPath() {
    const std::string folder = dataFolder();
    return folder.empty() ? "" : folder + "/records";
}

void loadRecords() {
    best = {};
    toldUnsaved = false;
    const std::string path = recordsPath();
    if (path.empty()) return;
    FileLock lock;
    std::string why;
    lockFile(&lock, path + ".lock", kLockWaitMilliseconds, &why);  // so a file another game is writing is not moved
    const DiskRecords disk = readDiskRecords(path);
    tell(disk);
    best = disk.times;
}

std::optional<int> bestHundredths(int level) {
    if (level < 1 || level > kRecordLevels) return std::nullopt;
    return best[level - 1];
}

int hundredthsOf(uint32_t milliseconds) { return int((uint64_t(milliseconds) + 5) / 10); }

int recordLevelTime(int level, uint32_t milliseconds) {
    const int hundredths = hundredthsOf(milliseconds);
    if (level < 1 || level > kRecordLevels) return hundredths;
    best[level - 1] = better(best[level - 1], hundredths);
    saveRecords();
    return *best[level - 1];
}

std::string secondsText(int hundredths) {
    char text[16];
    std::snprintf(text, sizeof text, "%d.%02d", hundredths / 100, hundredths % 100);
    return text;
}
