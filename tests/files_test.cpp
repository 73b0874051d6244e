// The files the game keeps for the player: where they live, the settings file (written once with the defaults, read
// line by line with a warning for each mistake) and the best times (merged between games, bad files kept aside).
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>
#include <tuple>

#include "platform/user_files.h"
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
    fs::create_directories(fs::path(path).parent_path());
    std::ofstream(path, std::ios::binary) << text;
}

std::string printed(const std::function<void()>& run) {
    testing::internal::CaptureStdout();
    run();
    return testing::internal::GetCapturedStdout();
}

// Runs the game's code in a forked child, as another game would; returns what it printed.
std::string inChild(const std::function<void()>& run) {
    int out[2];
    if (pipe(out) != 0) return "no pipe";
    const pid_t child = fork();
    if (child == 0) {
        dup2(out[1], STDOUT_FILENO);
        run();
        _exit(0);
    }
    close(out[1]);
    std::string text;
    char buffer[256];
    for (ssize_t n; (n = read(out[0], buffer, sizeof buffer)) > 0;) text.append(buffer, size_t(n));
    close(out[0]);
    waitpid(child, nullptr, 0);
    return text;
}

auto fields(const Settings& s) {
    return std::make_tuple(s.fullscreen, s.width, s.height, s.vsync, s.volume, s.autoPause);
}

Settings loaded(Settings settings, std::string* out) {
    *out = printed([&] { loadSettings(&settings); });
    return settings;
}

// The line with its file's path in place of the @.
std::string named(std::string line, const std::string& path) {
    return line.replace(line.find('@'), 1, path);
}

// Fresh config and data folders for each test; HOME as it was afterwards.
class Files : public testing::Test {
protected:
    void SetUp() override {
        std::string pattern = testing::TempDir() + "files_test.XXXXXX";
        root = mkdtemp(&pattern[0]);
        setenv("XDG_CONFIG_HOME", (root + "/config").c_str(), 1);
        setenv("XDG_DATA_HOME", (root + "/data").c_str(), 1);
        settings = root + "/config/gorvanka/settings.ini";
        records = root + "/data/gorvanka/records";
    }
    void TearDown() override {
        home ? setenv("HOME", home->c_str(), 1) : unsetenv("HOME");
        fs::remove_all(root);
    }
    const std::optional<std::string> home = getenv("HOME") ? std::optional<std::string>(getenv("HOME")) : std::nullopt;
    std::string root, settings, records;
};

}  // namespace

TEST_F(Files, FoldersFollowTheXdgRuleAndNeverTheWorkingFolder) {
    const struct { const char *xdg, *home, *config, *data; } rows[] = {
        {"/x/", "/h", "/x/gorvanka", "/x/gorvanka"},
        {"", "/h", "/h/.config/gorvanka", "/h/.local/share/gorvanka"},
        {"x", "/h/", "/h/.config/gorvanka", "/h/.local/share/gorvanka"},
        {nullptr, "h", "", ""},
        {nullptr, nullptr, "", ""}};
    for (const auto& row : rows) {
        for (const char* name : {"XDG_CONFIG_HOME", "XDG_DATA_HOME"})
            row.xdg ? setenv(name, row.xdg, 1) : unsetenv(name);
        row.home ? setenv("HOME", row.home, 1) : unsetenv("HOME");
        EXPECT_EQ(configFolder(), row.config);
        EXPECT_EQ(dataFolder(), row.data);
    }
    EXPECT_EQ(settingsPath(), "");
    EXPECT_EQ(printed([] { Settings s; loadSettings(&s); }),
        "Settings: neither XDG_CONFIG_HOME nor HOME names a folder; playing with the default settings\n");
    EXPECT_EQ(printed([] { loadRecords(), recordLevelTime(1, 1000), recordLevelTime(2, 1000); }),
        "Records: neither XDG_DATA_HOME nor HOME names a folder; best times are kept for this run only\n");
}

TEST_F(Files, WithoutASettingsFileTheDefaultsAreWrittenForThePlayerAndReadBack) {
    std::string out;
    EXPECT_EQ(fields(loaded(Settings(), &out)), fields(Settings()));
    EXPECT_EQ(out, "");
    const std::string written = fileText(settings);
    EXPECT_NE(written.find("# "), std::string::npos);
    EXPECT_EQ(fields(loaded(Settings{false, 640, 480, false, 5, false}, &out)), fields(Settings()));
    EXPECT_EQ(out, "");
    EXPECT_EQ(fileText(settings), written);
}

TEST_F(Files, SettingsLinesCountAndEachMistakeIsOneLineNamingFileAndLine) {
    const std::string overlong = "# " + std::string(1023, 'x') + "\n";
    const struct { std::string text; Settings expected; std::vector<std::string> warnings; } rows[] = {
        {"[display]\nfullscreen = no\nwidth=800\n  height =\t600  \nvsync = OFF\n[sound]\n; quiet\n\nvolume = 30\n"
         "[ play ]\n# größe ✓\nauto_pause = 0", {false, 800, 600, false, 30, false}, {}},
        {"\xEF\xBB\xBF[sound]\r\nvolume = 7\r\n", {true, 1420, 800, true, 7, true}, {}},
        {"[sound]\nvolume = loud\n[display]\nwidth = 319\nheight = 16385\nvsync = maybe\nwidth = 16384\n",
         {true, 16384, 800, true, 100, true},
         {"2: \"volume\" must be a whole number from 0 to 100; keeping 100",
          "4: \"width\" must be a whole number from 320 to 16384; keeping 1420",
          "5: \"height\" must be a whole number from 200 to 16384; keeping 800",
          "6: \"vsync\" must be true or false; keeping true"}},
        {"volume = 5\n[sound]\nvolume\n[video]\nwidth = 2\n[display]\nwidth = 640\nbrightness = 3\nvolume = 5\n"
         "[sound]\nvolume = 10\nvolume = 20\n", {true, 640, 800, true, 20, true},
         {"1: \"volume\" comes before any [section]; ignoring it",
          "3: line is neither a [section] nor a key = value; ignoring it",
          "4: unknown section [video]; ignoring it and its keys",
          "8: unknown key \"brightness\" in [display]; ignoring it",
          "9: unknown key \"volume\" in [display] (it belongs in [sound]); ignoring it",
          "12: \"volume\" was already set on line 11; this later line counts"}},
        {"[sound]\nvolume = 1" + std::string(1, '\0') + "\nvolume = 2\x01\nvolume = 3\xC0\xAF\n" +
         "volume = 4\xED\xA0\x80\nvolume = \xE2(\xA1\n" + overlong + "volume = 9\n", {true, 1420, 800, true, 9, true},
         {"2: line holds a NUL byte; ignoring it", "3: line holds a control character; ignoring it",
          "4: line is not valid UTF-8; ignoring it", "5: line is not valid UTF-8; ignoring it",
          "6: line is not valid UTF-8; ignoring it", "7: line is longer than 1024 bytes; ignoring it"}}};
    for (const auto& row : rows) {
        writeText(settings, row.text);
        std::string out, expected;
        for (const std::string& warning : row.warnings) expected += "Settings: " + settings + ":" + warning + "\n";
        EXPECT_EQ(fields(loaded(Settings(), &out)), fields(row.expected)) << row.text;
        EXPECT_EQ(out, expected);
        EXPECT_EQ(fileText(settings), row.text);
    }
}

TEST_F(Files, SettingsThatCannotBeReadOrWrittenAreOneLineAndTheDefaults) {
    const std::string tooLarge(64 * 1024 + 1, '#');
    const std::string alone = "; playing with the default settings and leaving the file alone";
    const struct { std::function<void()> make; std::string line; bool asRoot = true; } rows[] = {
        {[&] { fs::create_directories(settings); }, "cannot read @: Is a directory" + alone},
        {[&] { fs::create_directories(root + "/config/gorvanka"), fs::create_symlink(settings, settings); },
         "cannot read @: Too many levels of symbolic links" + alone},
        {[&] { fs::create_directories(root + "/config/gorvanka"), fs::create_symlink(root + "/elsewhere", settings); },
         "cannot read @: a link to a missing file" + alone},
        {[&] { writeText(settings, tooLarge); }, "cannot read @: larger than 65536 bytes" + alone},
        {[&] { writeText(settings, "[sound]\n"), chmod(settings.c_str(), 0); },
         "cannot read @: Permission denied" + alone, false},
        {[&] { writeText(root + "/config", ""); },
         "cannot write @: Not a directory; playing with the default settings"}};
    for (const auto& row : rows) {
        if (!row.asRoot && geteuid() == 0) continue;  // root reads any file
        fs::remove_all(root);
        row.make();
        const fs::file_type type = fs::symlink_status(settings).type();
        const std::string bytes = fileText(settings);
        std::string out;
        EXPECT_EQ(fields(loaded(Settings(), &out)), fields(Settings()));
        EXPECT_EQ(out, "Settings: " + named(row.line, settings) + "\n");
        EXPECT_TRUE(fs::symlink_status(settings).type() == type && fileText(settings) == bytes) << row.line;
    }
}

TEST_F(Files, RecordsKeepTheBestTimePerLevelAcrossRunsAndGames) {
    const std::string out = printed([&] {
        loadRecords();
        EXPECT_FALSE(bestHundredths(1));
        EXPECT_EQ(recordLevelTime(1, 3258 * 16), 5213);  // 52128 ms
        EXPECT_EQ(recordLevelTime(1, 60000), 5213);
        EXPECT_EQ(fileText(records), "level 1 52.13\n");
        writeText(records, "level 1 50.00\nlevel 2 70.00\n");  // another game's
        EXPECT_EQ(recordLevelTime(3, UINT32_MAX), 429496730);
        EXPECT_EQ(bestHundredths(1), 5000);
        EXPECT_EQ(fileText(records), "level 1 50.00\nlevel 2 70.00\nlevel 3 4294967.30\n");
        loadRecords();
        EXPECT_EQ(bestHundredths(2), 7000);
        EXPECT_EQ(recordLevelTime(2, 52125), 5213);
        EXPECT_EQ(recordLevelTime(2, 52124), 5212);
    });
    EXPECT_EQ(out, "");
    EXPECT_EQ(secondsText(5), "0.05");
}

TEST_F(Files, BadRecordsFilesAreMovedAsideByteForByteAndPlayStartsAfresh) {
    const std::string malformed = "not a \"level <n> <seconds>\" line";
    const struct { std::string text, problem; } rows[] = {
        {"level 1 52.13\nlevel 4 10.00\n", "@:2: there is no level 4"},
        {"level 2 1.00\nlevel 2 2.00\n", "@:2: level 2 is there twice"},
        {"level 1 9999999.00\n", "@:1: level 1 has a time longer than any game"},
        {"level 1 -5.00\n", "@:1: " + malformed},
        {"level 3 5.1\n", "@:1: " + malformed},
        {"level 1 5.00\nlevel 2 5.00" + std::string(1, '\0'), "@:2: " + malformed},
        {"level 1 5.00\n\n", "@:2: " + malformed},
        {std::string(4097, '\n'), "cannot read @: larger than 4096 bytes"}};
    for (size_t i = 0; i < std::size(rows); ++i) {
        writeText(records, rows[i].text);
        const std::string aside = records + ".bad" + (i > 0 ? "." + std::to_string(i) : "");
        EXPECT_EQ(printed(loadRecords), "Records: " + named(rows[i].problem, records) + "; moved the file aside to " +
                                            aside + "; its times do not count\n");
        EXPECT_TRUE(!bestHundredths(1) && !bestHundredths(2) && !bestHundredths(3));
        EXPECT_EQ(fileText(aside), rows[i].text);
        EXPECT_FALSE(fs::exists(records));
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

// Each try starts two games together, each recording one level; without the lock one often writes over the other's.
TEST_F(Files, TwoGamesRecordingAtOnceKeepBothRecords) {
    for (int attempt = 0; attempt < 5; ++attempt) {
        fs::remove_all(root);
        int start[2];
        ASSERT_EQ(pipe(start), 0);
        pid_t games[2];
        for (int level : {1, 2}) {
            if ((games[level - 1] = fork()) > 0) continue;
            loadRecords();
            close(start[1]);
            char go;
            read(start[0], &go, 1);
            recordLevelTime(level, uint32_t(level * 1000));
            _exit(0);
        }
        close(start[0]), close(start[1]);
        for (pid_t game : games) waitpid(game, nullptr, 0);
        ASSERT_EQ(fileText(records), "level 1 1.00\nlevel 2 2.00\n") << "attempt " << attempt;
    }
}

TEST_F(Files, AGameHoldingTheLockTooLongDelaysARecordOnlyByTheWait) {
    loadRecords();
    fs::create_directories(root + "/data/gorvanka");
    FileLock held;
    std::string why;
    ASSERT_TRUE(lockFile(&held, records + ".lock", 0, &why));
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(printed([] { recordLevelTime(1, 1000); }), "");
    const double waited = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    EXPECT_TRUE(waited > 1.9 && waited < 5) << waited;
    EXPECT_EQ(fileText(records), "level 1 1.00\n");
}

TEST_F(Files, ARecordsWriteThatFailsBeforeTheRenameLeavesTheOldFile) {
    writeText(records, "level 1 52.13\n");
    EXPECT_EQ(inChild([] {
        const rlimit fullDisk = {20, 20};
        setrlimit(RLIMIT_FSIZE, &fullDisk);
        signal(SIGXFSZ, SIG_IGN);
        loadRecords(), recordLevelTime(2, 70000);
    }), "Records: cannot write " + records + ": File too large; best times are kept for this run only\n");
    EXPECT_EQ(fileText(records), "level 1 52.13\n");
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(fs::path(records).parent_path())) names.push_back(entry.path());
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::string>{records, records + ".lock"}));
}
