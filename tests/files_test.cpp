// The files the game keeps for the player: the settings (the defaults written once, a warning for each mistake) and
// the best times (merged between games, bad files kept aside).
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>
#include <tuple>

#include "shell/records.h"
#include "shell/settings.h"

namespace {

namespace fs = std::filesystem;

std::string fileText(const std::string& path) {
    std::ostringstream text;
    text << std::ifstream(path, std::ios::binary).rdbuf();
    return text.str();
}

void writeText(const std::string& path, const std::string& text) {
    fs::create_directories(fs::path(path).parent_path()), std::ofstream(path, std::ios::binary) << text;
}

std::string printed(const std::function<void()>& run) {
    testing::internal::CaptureStdout();
    run();
    return testing::internal::GetCapturedStdout();
}

auto fields(Settings s) { return std::make_tuple(s.fullscreen, s.width, s.height, s.vsync, s.volume, s.autoPause); }

// The line with its file's path in place of the @.
std::string named(std::string line, const std::string& path) { return line.replace(line.find('@'), 1, path); }

// Fresh config and data folders for each test.
class Files : public testing::Test {
protected:
    void SetUp() override {
        setenv("XDG_CONFIG_HOME", (root + "/config").c_str(), 1);
        setenv("XDG_DATA_HOME", (root + "/data").c_str(), 1);
    }
    void TearDown() override { fs::remove_all(root); }
    std::string pattern = testing::TempDir() + "files_test.XXXXXX";
    const std::string root = mkdtemp(&pattern[0]);
    const std::string settings = root + "/config/gorvanka/settings.ini", records = root + "/data/gorvanka/records";
};

}  // namespace

TEST_F(Files, WithoutASettingsFileTheDefaultsAreWrittenForThePlayerAndReadBack) {
    Settings loaded;
    EXPECT_EQ(printed([&] { loadSettings(&loaded); }), "");
    const std::string written = fileText(settings);
    loaded = {false, 640, 480, false, 5, false};
    EXPECT_EQ(printed([&] { loadSettings(&loaded); }), "");
    EXPECT_TRUE(fields(loaded) == fields(Settings()) && fileText(settings) == written);
}

// A settings file with mistakes, its good lines counting, or one that cannot be read at all: each mistake is one
// line naming the file, and the file is left exactly as it was.
TEST_F(Files, SettingsMistakesAreOneLineEachAndTheFileIsLeftAlone) {
    const std::string folder = root + "/config/gorvanka", overlong = "# " + std::string(1023, 'x') + "\n";
    const std::string alone = "; playing with the default settings and leaving the file alone";
    const struct { std::string text; Settings expected; std::vector<std::string> lines;
                   std::function<void()> make = nullptr; } rows[] = {  // make: in place of writing the text
        {"\xEF\xBB\xBF[display]\r\nfullscreen = no\r\nwidth=800\n  height =\t600  \nvsync = OFF\n[sound]\n; quiet\n\n"
         "volume = 30\n[ play ]\n# größe ✓\nauto_pause = 0", {false, 800, 600, false, 30, false}, {}},
        {"[sound]\nvolume = loud\n[display]\nwidth = 319\nheight = 16385\nvsync = maybe\nwidth = 16384\n",
         {true, 16384, 800, true, 100, true},
         {"@:2: \"volume\" must be a whole number from 0 to 100; keeping 100",
          "@:4: \"width\" must be a whole number from 320 to 16384; keeping 1420",
          "@:5: \"height\" must be a whole number from 200 to 16384; keeping 800",
          "@:6: \"vsync\" must be true or false; keeping true"}},
        {"volume = 5\n[sound]\nvolume\n[video]\nwidth = 2\n[display]\nwidth = 640\nbrightness = 3\nvolume = 5\n"
         "[sound]\nvolume = 10\nvolume = 20\n", {true, 640, 800, true, 20, true},
         {"@:1: \"volume\" comes before any [section]; ignoring it",
          "@:3: line is neither a [section] nor a key = value; ignoring it",
          "@:4: unknown section [video]; ignoring it and its keys",
          "@:8: unknown key \"brightness\" in [display]; ignoring it",
          "@:9: unknown key \"volume\" in [display] (it belongs in [sound]); ignoring it",
          "@:12: \"volume\" was already set on line 11; this later line counts"}},
        {"[sound]\nvolume = 1" + std::string(1, '\0') + "\nvolume = 2\x01\nvolume = 3\xC0\xAF\n" +
         "volume = 4\xED\xA0\x80\nvolume = \xE2(\xA1\n" + overlong + "volume = 9\n", {true, 1420, 800, true, 9, true},
         {"@:2: line holds a NUL byte; ignoring it", "@:3: line holds a control character; ignoring it",
          "@:4: line is not valid UTF-8; ignoring it", "@:5: line is not valid UTF-8; ignoring it",
          "@:6: line is not valid UTF-8; ignoring it", "@:7: line is longer than 1024 bytes; ignoring it"}},
        {"", {}, {"cannot read @: Is a directory" + alone}, [&] { fs::create_directory(settings); }},
        {"", {}, {"cannot read @: Too many levels of symbolic links" + alone},
         [&] { fs::create_symlink(settings, settings); }},
        {"", {}, {"cannot read @: a link to a missing file" + alone}, [&] { fs::create_symlink("gone", settings); }},
        {std::string(64 * 1024 + 1, '#'), {}, {"cannot read @: larger than 65536 bytes" + alone}},
        {"", {}, {"cannot write @: Not a directory; playing with the default settings"},
         [&] { fs::remove(folder), writeText(folder, ""); }}};
    for (const auto& row : rows) {
        fs::remove_all(root), fs::create_directories(folder);
        row.make ? row.make() : writeText(settings, row.text);
        const fs::file_type type = fs::symlink_status(settings).type();
        const std::string bytes = fileText(settings);
        std::string expected;
        for (const std::string& line : row.lines) expected += "Settings: " + named(line, settings) + "\n";
        Settings loaded;
        EXPECT_EQ(printed([&] { loadSettings(&loaded); }), expected);
        EXPECT_EQ(fields(loaded), fields(row.expected)) << expected;
        EXPECT_TRUE(fs::symlink_status(settings).type() == type && fileText(settings) == bytes) << expected;
    }
}

TEST_F(Files, RecordsKeepTheBestTimePerLevelAndMergeWithAnotherGames) {
    EXPECT_EQ(printed([&] {
        loadRecords();
        EXPECT_EQ(recordLevelTime(1, 52125), 5213);  // half a hundredth rounds up
        EXPECT_EQ(recordLevelTime(1, 60000), 5213);
        EXPECT_EQ(fileText(records), "level 1 52.13\n");
        writeText(records, "level 1 50.00\nlevel 2 70.00\n");  // another game's, written meanwhile
        EXPECT_EQ(recordLevelTime(3, UINT32_MAX), 429496730);
        EXPECT_EQ(bestHundredths(1), 5000);
        EXPECT_EQ(fileText(records), "level 1 50.00\nlevel 2 70.00\nlevel 3 4294967.30\n");
        writeText(records, "level 2 60.00\nlevel 3 4294967.30\n");  // the longest time a game can take reads back
        loadRecords();
        EXPECT_TRUE(!bestHundredths(1) && bestHundredths(2) == 6000 && bestHundredths(3) == 429496730);
        EXPECT_EQ(recordLevelTime(2, 52124), 5212);
    }), "");
}

TEST_F(Files, BadRecordsFilesAreMovedAsideByteForByteAndPlayStartsAfresh) {
    const std::string malformed = "not a \"level <n> <seconds>\" line";
    const struct { std::string text, problem; } rows[] = {
        {"level 1 52.13\nlevel 4 10.00\n", "@:2: there is no level 4"},
        {"level 2 1.00\nlevel 2 2.00\n", "@:2: level 2 is there twice"},
        {"level 1 9999999.00\n", "@:1: level 1 has a time longer than any game"},
        {"level 3 5.1\n", "@:1: " + malformed},
        {"level 1 5.00\nlevel 2 5.00" + std::string(1, '\0'), "@:2: " + malformed},
        {std::string(4097, '\n'), "cannot read @: larger than 4096 bytes"}};
    for (size_t i = 0; i < std::size(rows); ++i) {
        writeText(records, rows[i].text);
        const std::string aside = records + ".bad" + (i > 0 ? "." + std::to_string(i) : "");
        EXPECT_EQ(printed(loadRecords), "Records: " + named(rows[i].problem, records) + "; moved the file aside to " +
                                            aside + "; its times do not count\n");
        EXPECT_TRUE(!bestHundredths(1) && !bestHundredths(2) && !bestHundredths(3) && !fs::exists(records));
        EXPECT_EQ(fileText(aside), rows[i].text);
    }
}

TEST_F(Files, RecordsThatCannotBeSavedAreKeptForTheRunAndToldOnce) {
    const std::string folder = root + "/data/gorvanka", thisRun = "best times are kept for this run only\n";
    const struct { std::function<void()> make; std::string line; bool asRoot = true; } rows[] = {
        {[&] { writeText(root + "/data", ""); }, "cannot write @: Not a directory; " + thisRun},
        {[&] { fs::create_directories(folder), chmod(folder.c_str(), 0500); },
         "cannot write @: Permission denied; " + thisRun, false},
        {[&] { writeText(records, "level 9 1.00\n"), chmod(folder.c_str(), 0500); },
         "@:1: there is no level 9; cannot move the file aside (Permission denied), so " + thisRun, false}};
    for (const auto& row : rows) {
        if (!row.asRoot && geteuid() == 0) continue;  // root writes anywhere
        fs::remove_all(root);
        row.make();
        EXPECT_EQ(printed([] { loadRecords(), recordLevelTime(1, 60000), recordLevelTime(1, 50000); }),
            "Records: " + named(row.line, records));
        EXPECT_EQ(bestHundredths(1), 5000);
        chmod(folder.c_str(), 0700);
    }
}

// Without the lock one game often writes over the other's record, so this is tried a few times.
TEST_F(Files, TwoGamesRecordingAtOnceKeepBothRecords) {
    for (int attempt = 0; attempt < 5; ++attempt) {
        fs::remove_all(root);
        const pid_t other = fork();  // this game records level 1, the other level 2
        loadRecords(), recordLevelTime(other ? 1 : 2, other ? 1000 : 2000);
        if (other == 0) _exit(0);
        waitpid(other, nullptr, 0);
        ASSERT_EQ(fileText(records), "level 1 1.00\nlevel 2 2.00\n") << "attempt " << attempt;
    }
}

// A disk too full for the new file's 29 bytes; the game's output goes into a pipe, as it may be a file on that disk.
TEST_F(Files, ARecordsWriteThatFailsBeforeTheRenameLeavesTheOldFile) {
    writeText(records, "level 1 52.13\n");
    const std::string told = "Records: cannot write " + records + ": File too large; best times are kept for this run "
                             "only\n";
    EXPECT_EXIT(([&] {
        int said[2];
        const rlimit fullDisk = {20, 20};
        if (pipe(said) != 0 || dup2(said[1], 1) < 0 || setrlimit(RLIMIT_FSIZE, &fullDisk) != 0) _exit(2);
        signal(SIGXFSZ, SIG_IGN);
        loadRecords(), recordLevelTime(2, 70000), recordLevelTime(3, 80000);  // told once
        close(1), close(said[1]);  // so that the read ends, whatever was said
        char text[512] = {};
        _exit(read(said[0], text, sizeof text - 1) > 0 && text == told ? 0 : 1);
    }()), testing::ExitedWithCode(0), "");
    EXPECT_EQ(fileText(records), "level 1 52.13\n");
    const auto left = std::distance(fs::directory_iterator(fs::path(records).parent_path()), fs::directory_iterator());
    EXPECT_EQ(left, 2) << "the records and their lock file, and no temporary file";
}
