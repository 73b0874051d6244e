#pragma once
// The player's best time on each level, kept between runs in
// $XDG_DATA_HOME/gorvanka/records (by default ~/.local/share/gorvanka/records):
// one line a level, "level <1-3> <seconds with two decimals>", e.g.
// "level 1 52.13". Times count in hundredths of a second. Every problem costs
// one line on standard output naming the file; play always goes on.
#include <cstdint>
#include <optional>
#include <string>

const int kRecordLevels = 3;

// Empty when there is no home folder to keep records in.
std::string recordsPath();

// Reads the records at start-up, forgetting those in memory. No file means no
// records yet. A file that cannot be read or is not one the game wrote (a
// malformed line, an unknown level, a level twice, a time longer than any
// game) is moved aside unchanged, as records.bad or records.bad.1 ..., and
// play starts with no records.
void loadRecords();

// The best time on level 1 to kRecordLevels, if there is one.
std::optional<int> bestHundredths(int level);

// Counts a finished level's time, in game milliseconds (rounded half up to
// hundredths), and returns the level's best after it. The file is re-read
// under a lock and the best of disk, memory and this time kept per level, so
// games running at once lose no record of each other's. Where the file cannot
// be written the best is kept for this run, said once per run.
int recordLevelTime(int level, uint32_t milliseconds);

// Game milliseconds in hundredths of a second, rounded half up.
int hundredthsOf(uint32_t milliseconds);
// "52.13" for 5213 hundredths.
std::string secondsText(int hundredths);
