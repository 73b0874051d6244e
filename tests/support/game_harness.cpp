#include "tests/support/game_harness.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <thread>

#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace fs = std::filesystem;

namespace {

const double kPollSeconds = 0.05;
const double kShotInterval = 0.3;
const double kSteadyDifference = 0.5;  // below this two screenshots count as equal
// Without a window manager the full-screen window sits at +1+1; its middle
// is where the pointer goes so that keyboard focus follows it there.
const char* const kPointerMove = "mousemove 710 400";

// Polls done every interval until it holds or timeoutSeconds have passed; one last
// look after the deadline, since the game may have just finished what was awaited.
bool pollUntil(const std::function<bool()>& done, double timeoutSeconds, double interval = kPollSeconds) {
    auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(long(timeoutSeconds * 1000));
    while (std::chrono::steady_clock::now() < deadline) {
        if (done()) return true;
        waitSeconds(interval);
    }
    return done();
}

std::string runCapturing(const std::string& command) {
    std::string result;
    FILE* pipe = popen(command.c_str(), "r");
    if (!pipe) return result;
    char buffer[4096];
    for (size_t got; (got = fread(buffer, 1, sizeof buffer, pipe)) > 0;) result.append(buffer, got);
    pclose(pipe);
    return result;
}

// The test's own environment, then the game's defaults, then the test's extras:
// a later entry of the same name replaces an earlier one.
std::vector<std::string> gameEnvironment(const std::vector<std::string>& extras) {
    std::map<std::string, std::string> byName;
    auto add = [&](const std::string& entry) { byName[entry.substr(0, entry.find('='))] = entry; };
    for (char** e = environ; *e; ++e) add(*e);
    for (const char* entry : {"ASAN_OPTIONS=detect_leaks=0", "SDL_AUDIODRIVER=dummy"}) add(entry);
    for (const std::string& entry : extras) add(entry);
    std::vector<std::string> entries;
    for (const auto& named : byName) entries.push_back(named.second);
    return entries;
}

// Reads a binary PPM (P6, maxval 255) as ImageMagick writes it.
bool parsePpm(const std::string& data, Screenshot* shot) {
    std::istringstream in(data);
    std::string magic;
    int width = 0, height = 0, maxValue = 0;
    in >> magic >> width >> height >> maxValue;
    if (!in || magic != "P6" || maxValue != 255 || width <= 0 || height <= 0) return false;
    in.get();  // the single whitespace before the pixels
    size_t start = size_t(in.tellg()), size = size_t(width) * size_t(height) * 3;
    if (data.size() < start || data.size() - start < size) return false;
    shot->width = width;
    shot->height = height;
    shot->pixels.assign(data.begin() + long(start), data.begin() + long(start + size));
    return true;
}

bool showsSomething(const Screenshot& shot) {
    return std::any_of(shot.pixels.begin(), shot.pixels.end(), [](uint8_t v) { return v != 0; });
}

}  // namespace

void waitSeconds(double seconds) {
    std::this_thread::sleep_for(std::chrono::milliseconds(long(seconds * 1000)));
}

std::string makeGameDirectory() {
    char pattern[] = "/tmp/gorvanka-run-XXXXXX";
    if (!mkdtemp(pattern)) {
        ADD_FAILURE() << "cannot make a temporary directory: " << strerror(errno);
        return "";
    }
    for (const char* folder : {"resources", "shaders"}) {
        std::error_code error;
        fs::copy(fs::path(GORVANKA_SOURCE_DIR) / folder, fs::path(pattern) / folder, fs::copy_options::recursive, error);
        if (error) ADD_FAILURE() << "cannot copy " << folder << ": " << error.message();
    }
    return pattern;
}

Rgb Screenshot::at(int x, int y) const {
    size_t i = (size_t(y) * size_t(width) + size_t(x)) * 3;
    return {double(pixels[i]), double(pixels[i + 1]), double(pixels[i + 2])};
}

Rgb Screenshot::regionMean(int x, int y, int w, int h) const {
    Rgb sum = {0, 0, 0};
    int count = 0;
    for (int row = std::max(y, 0); row < std::min(y + h, height); ++row) {
        for (int column = std::max(x, 0); column < std::min(x + w, width); ++column, ++count) {
            Rgb pixel = at(column, row);
            sum = {sum.r + pixel.r, sum.g + pixel.g, sum.b + pixel.b};
        }
    }
    return count == 0 ? sum : Rgb{sum.r / count, sum.g / count, sum.b / count};
}

Screenshot takeScreenshot(const std::string& pngPath) {
    std::string command = pngPath.empty() ? "import -window root -depth 8 ppm:-"
                                          : "import -window root '" + pngPath + "' && convert '" + pngPath +
                                                "' -depth 8 ppm:-";
    Screenshot shot;
    if (!parsePpm(runCapturing(command + " 2>/dev/null"), &shot)) ADD_FAILURE() << "screenshot failed: " << command;
    return shot;
}

double meanDifference(const Screenshot& a, const Screenshot& b) {
    if (a.width != b.width || a.height != b.height || a.pixels.empty()) return -1;
    double total = 0;
    for (size_t i = 0; i < a.pixels.size(); ++i) total += std::abs(int(a.pixels[i]) - int(b.pixels[i]));
    return total / double(a.pixels.size());
}

Screenshot waitForSteadyScreen(double timeoutSeconds) {
    Screenshot previous = takeScreenshot(), now;
    auto steady = [&] {
        waitSeconds(kShotInterval);
        now = takeScreenshot();
        double difference = meanDifference(previous, now);
        previous = now;
        return difference >= 0 && difference < kSteadyDifference && showsSomething(now);
    };
    if (!pollUntil(steady, timeoutSeconds, 0)) ADD_FAILURE() << "the screen did not settle";
    return now;
}

Screenshot waitForScreenChange(const Screenshot& before, double timeoutSeconds) {
    Screenshot now;
    auto changed = [&] { return meanDifference(before, now = takeScreenshot()) >= kSteadyDifference; };
    if (pollUntil(changed, timeoutSeconds, kShotInterval)) return now;
    ADD_FAILURE() << "the screen did not change";
    return before;
}

GameRun::GameRun(std::vector<std::string> extraEnvironment, std::string workDirectory)
    : workDir(workDirectory.empty() ? makeGameDirectory() : std::move(workDirectory)) {
    char pattern[] = "/tmp/gorvanka-output-XXXXXX";
    int fd = mkstemp(pattern);
    if (fd >= 0) close(fd);
    outputPath = pattern;
    std::vector<std::string> environment = gameEnvironment(extraEnvironment);
    std::vector<char*> envp;
    for (std::string& entry : environment) envp.push_back(entry.data());
    envp.push_back(nullptr);
    std::string executable = GORVANKA_EXECUTABLE;
    char* argv[] = {executable.data(), nullptr};

    pid = fork();
    if (pid == 0) {
        setpgid(0, 0);  // its own group, so a kill takes its helpers too
        int out = open(outputPath.c_str(), O_WRONLY | O_TRUNC);
        if (out < 0 || chdir(workDir.c_str()) != 0) _exit(127);
        dup2(out, STDOUT_FILENO);
        dup2(out, STDERR_FILENO);
        close(out);
        execve(argv[0], argv, envp.data());
        _exit(127);
    }
    if (pid < 0) ADD_FAILURE() << "cannot start " << executable << ": " << strerror(errno);
}

GameRun::~GameRun() {
    if (running()) {
        ::kill(-pid, SIGKILL);  // its group, helpers and all
        ::kill(pid, SIGKILL);
        waitpid(pid, nullptr, 0);
    }
    if (::testing::Test::HasFailure()) {
        std::printf("game run kept in %s, its output in %s\n", workDir.c_str(), outputPath.c_str());
        return;
    }
    std::remove(outputPath.c_str());
    std::error_code ignored;
    if (workDir.rfind("/tmp/gorvanka-run-", 0) == 0) fs::remove_all(workDir, ignored);
}

std::string GameRun::output() const {
    std::ifstream in(outputPath, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

void GameRun::failWithOutput(const std::string& what) {
    ADD_FAILURE() << what << "\n--- game output ---\n" << output() << "--- end of game output ---";
}

bool GameRun::running() {
    if (pid <= 0) return false;
    int wstatus = 0;
    pid_t done = waitpid(pid, &wstatus, WNOHANG);
    if (done == 0) return true;
    status = (done == pid && WIFEXITED(wstatus)) ? WEXITSTATUS(wstatus) : -1;
    pid = -1;
    return false;
}

bool GameRun::waitForWindow(double timeoutSeconds) {
    auto found = [&] {
        std::istringstream ids(runCapturing("xdotool search --onlyvisible --name '^Gorvanka$' 2>/dev/null"));
        return bool(ids >> window) || !running();
    };
    if (pollUntil(found, timeoutSeconds) && !window.empty()) {
        xdotool(kPointerMove);
        return true;
    }
    failWithOutput(running() ? "no window titled Gorvanka appeared"
                             : "the game ended before its window appeared, status " + std::to_string(status));
    return false;
}

bool GameRun::waitForOutputWhere(const std::function<bool(const std::string&)>& done,
                                 double timeoutSeconds, const std::string& what) {
    if (pollUntil([&] { return done(output()) || !running(); }, timeoutSeconds) && done(output())) return true;
    failWithOutput("the game did not print " + what);
    return false;
}

bool GameRun::waitForOutput(const std::string& text, double timeoutSeconds, size_t from) {
    auto holdsText = [&](const std::string& now) { return now.size() > from && now.find(text, from) != std::string::npos; };
    return waitForOutputWhere(holdsText, timeoutSeconds, "\"" + text + "\"");
}

int GameRun::outputCount(const std::string& text) const {
    std::string now = output();
    int count = 0;
    for (size_t at = now.find(text); at != std::string::npos; at = now.find(text, at + 1)) ++count;
    return count;
}

bool GameRun::waitForOutputCount(const std::string& text, int count, double timeoutSeconds) {
    auto often = [&](const std::string&) { return outputCount(text) >= count; };
    return waitForOutputWhere(often, timeoutSeconds, "\"" + text + "\" " + std::to_string(count) + " times");
}

bool GameRun::waitForExit(double timeoutSeconds) {
    if (pollUntil([&] { return !running(); }, timeoutSeconds)) return true;
    failWithOutput("the game did not end");
    return false;
}

bool GameRun::windowSize(int* width, int* height) {
    std::string shell = runCapturing("xdotool getwindowgeometry --shell " + window + " 2>/dev/null");
    size_t w = shell.find("WIDTH="), h = shell.find("HEIGHT=");
    if (window.empty() || w == std::string::npos || h == std::string::npos) return false;
    *width = std::atoi(shell.c_str() + w + 6);
    *height = std::atoi(shell.c_str() + h + 7);
    return true;
}

void GameRun::xdotool(const std::string& arguments) {
    // xdotool complains about the missing window manager on stderr; the events arrive all the same.
    std::string command = "xdotool " + arguments + " >/dev/null 2>&1";
    if (std::system(command.c_str()) != 0) ADD_FAILURE() << "failed: " << command;
}
