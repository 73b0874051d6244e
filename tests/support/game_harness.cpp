#include "tests/support/game_harness.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
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

int GameRun::outputCount(const std::string& text) const {
    std::string now = output();
    int count = 0;
    for (size_t at = now.find(text); at != std::string::npos; at = now.find(text, at + 1)) ++count;
    return count;
}

bool GameRun::waitForOutput(const std::string& text, int count, double timeoutSeconds) {
    if (pollUntil([&] { return outputCount(text) >= count || !running(); }, timeoutSeconds) &&
        outputCount(text) >= count) {
        return true;
    }
    failWithOutput("the game did not print \"" + text + "\" " + std::to_string(count) + " times");
    return false;
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
