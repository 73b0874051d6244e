#include "tests/support/game_harness.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
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
// Without a window manager the full-screen window sits at +1+1; its middle
// is where the pointer goes so that keyboard focus follows it there.
const int kPointerX = 710;
const int kPointerY = 400;

using Clock = std::chrono::steady_clock;

bool pastDeadline(Clock::time_point deadline) {
    return Clock::now() >= deadline;
}

Clock::time_point deadlineAfter(double seconds) {
    return Clock::now() + std::chrono::milliseconds(long(seconds * 1000));
}


std::string readWholeFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

std::string runCapturing(const std::string& command) {
    std::string result;
    FILE* pipe = popen(command.c_str(), "r");
    if (!pipe) return result;
    char buffer[256];
    size_t got;
    while ((got = fread(buffer, 1, sizeof buffer, pipe)) > 0) result.append(buffer, got);
    pclose(pipe);
    return result;
}

std::string nameOfEntry(const std::string& entry) {
    return entry.substr(0, entry.find('='));
}

// The test's own environment with the game's defaults and the test's extras;
// a later entry of the same name replaces an earlier one.
std::vector<std::string> gameEnvironment(const std::vector<std::string>& extras) {
    std::vector<std::string> entries;
    for (char** e = environ; *e; ++e) entries.push_back(*e);
    std::vector<std::string> overrides = {"ASAN_OPTIONS=detect_leaks=0", "SDL_AUDIODRIVER=dummy"};
    overrides.insert(overrides.end(), extras.begin(), extras.end());
    for (const std::string& entry : overrides) {
        std::string name = nameOfEntry(entry);
        bool replaced = false;
        for (std::string& existing : entries) {
            if (nameOfEntry(existing) == name) {
                existing = entry;
                replaced = true;
            }
        }
        if (!replaced) entries.push_back(entry);
    }
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
    size_t start = size_t(in.tellg());
    size_t size = size_t(width) * size_t(height) * 3;
    if (data.size() < start || data.size() - start < size) return false;
    shot->width = width;
    shot->height = height;
    shot->pixels.assign(data.begin() + long(start), data.begin() + long(start + size));
    return true;
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
    fs::path source(GORVANKA_SOURCE_DIR);
    for (const char* folder : {"resources", "shaders"}) {
        std::error_code error;
        fs::copy(source / folder, fs::path(pattern) / folder, fs::copy_options::recursive, error);
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
        for (int column = std::max(x, 0); column < std::min(x + w, width); ++column) {
            Rgb pixel = at(column, row);
            sum.r += pixel.r;
            sum.g += pixel.g;
            sum.b += pixel.b;
            ++count;
        }
    }
    if (count == 0) return sum;
    return {sum.r / count, sum.g / count, sum.b / count};
}

Screenshot takeScreenshot(const std::string& pngPath) {
    Screenshot shot;
    char pattern[] = "/tmp/gorvanka-shot-XXXXXX";
    int fd = mkstemp(pattern);
    if (fd < 0) {
        ADD_FAILURE() << "cannot make a screenshot file";
        return shot;
    }
    close(fd);
    std::string png = pngPath.empty() ? std::string(pattern) + ".png" : pngPath;
    std::string ppm = std::string(pattern) + ".ppm";
    std::string command = "import -window root '" + png + "' && convert '" + png +
                          "' -depth 8 'ppm:" + ppm + "'";
    if (std::system(command.c_str()) != 0 || !parsePpm(readWholeFile(ppm), &shot)) {
        ADD_FAILURE() << "screenshot failed: " << command;
        shot = Screenshot();
    }
    std::remove(ppm.c_str());
    std::remove(pattern);
    if (pngPath.empty()) std::remove(png.c_str());
    return shot;
}

double meanDifference(const Screenshot& a, const Screenshot& b) {
    if (a.width != b.width || a.height != b.height || a.pixels.empty()) return -1;
    double total = 0;
    for (size_t i = 0; i < a.pixels.size(); ++i) total += std::abs(int(a.pixels[i]) - int(b.pixels[i]));
    return total / double(a.pixels.size());
}

namespace {

const double kSteadyDifference = 0.5;  // below this two screenshots count as equal
const double kShotInterval = 0.3;

bool showsSomething(const Screenshot& shot) {
    for (uint8_t value : shot.pixels) {
        if (value != 0) return true;
    }
    return false;
}

}  // namespace

Screenshot waitForSteadyScreen(double timeoutSeconds) {
    auto deadline = deadlineAfter(timeoutSeconds);
    Screenshot previous = takeScreenshot();
    while (!pastDeadline(deadline)) {
        waitSeconds(kShotInterval);
        Screenshot now = takeScreenshot();
        double difference = meanDifference(previous, now);
        if (difference >= 0 && difference < kSteadyDifference && showsSomething(now)) return now;
        previous = now;
    }
    ADD_FAILURE() << "the screen did not settle";
    return previous;
}

Screenshot waitForScreenChange(const Screenshot& before, double timeoutSeconds) {
    auto deadline = deadlineAfter(timeoutSeconds);
    while (!pastDeadline(deadline)) {
        Screenshot now = takeScreenshot();
        if (meanDifference(before, now) >= kSteadyDifference) return now;
        waitSeconds(kShotInterval);
    }
    ADD_FAILURE() << "the screen did not change";
    return before;
}

GameRun::GameRun(std::vector<std::string> extraEnvironment, std::string workDirectory)
    : workDir(workDirectory.empty() ? makeGameDirectory() : std::move(workDirectory)) {
    char pattern[] = "/tmp/gorvanka-output-XXXXXX";
    int fd = mkstemp(pattern);
    if (fd >= 0) close(fd);
    outputPath = pattern;
    launch(extraEnvironment);
}

GameRun::~GameRun() {
    kill();
    if (::testing::Test::HasFailure()) {
        std::printf("game run kept in %s, its output in %s\n", workDir.c_str(), outputPath.c_str());
        return;
    }
    std::remove(outputPath.c_str());
    if (workDir.rfind("/tmp/gorvanka-run-", 0) == 0) {
        std::error_code ignored;
        fs::remove_all(workDir, ignored);
    }
}

void GameRun::launch(const std::vector<std::string>& extraEnvironment) {
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

std::string GameRun::output() const {
    return readWholeFile(outputPath);
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
    auto deadline = deadlineAfter(timeoutSeconds);
    while (!pastDeadline(deadline)) {
        std::string found = runCapturing("xdotool search --onlyvisible --name '^Gorvanka$' 2>/dev/null");
        std::istringstream ids(found);
        std::string id;
        if (ids >> id) {
            window = id;
            xdotool("mousemove " + std::to_string(kPointerX) + " " + std::to_string(kPointerY));
            return true;
        }
        if (!running()) break;
        waitSeconds(kPollSeconds);
    }
    failWithOutput(running() ? "no window titled Gorvanka appeared"
                             : "the game ended before its window appeared, status " +
                                   std::to_string(status));
    return false;
}

bool GameRun::waitForOutput(const std::string& text, double timeoutSeconds, size_t from) {
    auto holdsText = [&](const std::string& now) {
        return now.size() > from && now.find(text, from) != std::string::npos;
    };
    if (waitUntilOutput(holdsText, timeoutSeconds)) return true;
    failWithOutput("the game did not print \"" + text + "\"");
    return false;
}

int GameRun::outputCount(const std::string& text) const {
    std::string now = output();
    int count = 0;
    for (size_t at = now.find(text); at != std::string::npos; at = now.find(text, at + 1)) ++count;
    return count;
}

bool GameRun::waitForOutputCount(const std::string& text, int count, double timeoutSeconds) {
    auto often = [&](const std::string&) { return outputCount(text) >= count; };
    if (waitUntilOutput(often, timeoutSeconds)) return true;
    failWithOutput("the game did not print \"" + text + "\" " + std::to_string(count) + " times");
    return false;
}

bool GameRun::waitUntilOutput(const std::function<bool(const std::string&)>& done,
                              double timeoutSeconds) {
    auto deadline = deadlineAfter(timeoutSeconds);
    while (true) {
        if (done(output())) return true;
        if (pastDeadline(deadline) || !running()) break;
        waitSeconds(kPollSeconds);
    }
    // One last look: the game may have printed it just before it ended.
    return done(output());
}

bool GameRun::waitForExit(double timeoutSeconds) {
    auto deadline = deadlineAfter(timeoutSeconds);
    while (running()) {
        if (pastDeadline(deadline)) {
            failWithOutput("the game did not end");
            return false;
        }
        waitSeconds(kPollSeconds);
    }
    return true;
}

bool GameRun::windowSize(int* width, int* height) {
    std::string shell = runCapturing("xdotool getwindowgeometry --shell " + window + " 2>/dev/null");
    size_t w = shell.find("WIDTH=");
    size_t h = shell.find("HEIGHT=");
    if (window.empty() || w == std::string::npos || h == std::string::npos) return false;
    *width = std::atoi(shell.c_str() + w + 6);
    *height = std::atoi(shell.c_str() + h + 7);
    return true;
}

void GameRun::xdotool(const std::string& arguments) {
    // xdotool complains about the missing window manager on stderr; the
    // events arrive all the same.
    std::string command = "xdotool " + arguments + " >/dev/null 2>&1";
    if (std::system(command.c_str()) != 0) ADD_FAILURE() << "failed: " << command;
}

// Keys and buttons go through the X test extension, like a real device, to the
// window under the pointer.
void GameRun::keyDown(const std::string& name) { xdotool("keydown " + name); }
void GameRun::keyUp(const std::string& name) { xdotool("keyup " + name); }
void GameRun::key(const std::string& name) { xdotool("key " + name); }
void GameRun::mouseDown(int button) { xdotool("mousedown " + std::to_string(button)); }
void GameRun::mouseUp(int button) { xdotool("mouseup " + std::to_string(button)); }
void GameRun::click(int button) { xdotool("click " + std::to_string(button)); }

void GameRun::kill() {
    if (!running()) return;
    ::kill(-pid, SIGKILL);
    ::kill(pid, SIGKILL);
    int ignored;
    waitpid(pid, &ignored, 0);
    status = -1;
    pid = -1;
}
