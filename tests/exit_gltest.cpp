// The game as a player starts it, ended every way but Esc: its window closed while the sounds still decode, its X
// connection cut, a model that cannot be read. Each ends promptly, with no sanitizer report.
#include <gtest/gtest.h>

#include <X11/Xlib.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <thread>

namespace fs = std::filesystem;

namespace {

using Clock = std::chrono::steady_clock;

const fs::path kWork = fs::temp_directory_path() / ("gorvanka_exit_" + std::to_string(getpid()));
const fs::path kOutput = kWork / "output.txt";  // the running game's standard output and error together

// Starts the game in folder, which holds (links to) its resources and shaders.
pid_t launch(const fs::path& folder) {
    const pid_t pid = fork();
    if (pid == 0) {
        const int file = open(kOutput.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        dup2(file, 1), dup2(file, 2);
        if (chdir(folder.c_str()) == 0) execl(std::getenv("GORVANKA_GAME"), "gorvanka", nullptr);
        _exit(127);
    }
    return pid;
}

std::string printed() { std::ifstream file(kOutput); return std::string(std::istreambuf_iterator<char>(file), {}); }

// Polls for up to a minute until the condition holds.
bool soon(const std::function<bool()>& condition) {
    const Clock::time_point deadline = Clock::now() + std::chrono::minutes(1);
    while (!condition() && Clock::now() < deadline) std::this_thread::sleep_for(std::chrono::milliseconds(2));
    return condition();
}

// The exit status, or -1 when the game is still running after the wait (it is then killed); and no sanitizer spoke.
int cleanExitWithin(pid_t game, std::chrono::seconds wait) {
    const Clock::time_point deadline = Clock::now() + wait;
    int status = 0;
    pid_t ended = 0;
    while ((ended = waitpid(game, &status, WNOHANG)) == 0 && Clock::now() < deadline)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    if (ended == 0) kill(game, SIGKILL), waitpid(game, &status, 0);
    const std::string out = printed();
    EXPECT_TRUE(out.find("Sanitizer") == std::string::npos && out.find("runtime error") == std::string::npos) << out;
    return ended == 0 ? -1 : WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}

// The game's window once it shows, or None.
Window shownGameWindow(Display* display) {
    Window root, parent, *children = nullptr, found = None;
    unsigned int count = 0;
    XQueryTree(display, DefaultRootWindow(display), &root, &parent, &children, &count);
    for (unsigned int i = 0; i < count && found == None; ++i) {
        char* name = nullptr;
        XWindowAttributes attributes;
        if (XFetchName(display, children[i], &name) && std::string(name) == "Gorvanka" &&
            XGetWindowAttributes(display, children[i], &attributes) && attributes.map_state == IsViewable)
            found = children[i];
        XFree(name);
    }
    XFree(children);
    return found;
}

// What a window manager sends when the player clicks the window's close button.
void closeFromTitleBar(Display* display, Window window) {
    XEvent event{};
    XClientMessageEvent& message = event.xclient;
    message.type = ClientMessage, message.window = window, message.format = 32;
    message.message_type = XInternAtom(display, "WM_PROTOCOLS", False);
    message.data.l[0] = long(XInternAtom(display, "WM_DELETE_WINDOW", False));
    XSendEvent(display, window, False, NoEventMask, &event);
}

// A folder for the game to run in: its shaders and resources, each model folder linked apart so one can be broken.
fs::path gameFolder(const std::string& name) {
    const fs::path folder = kWork / name, source = fs::current_path();
    fs::create_directories(folder / "resources/models");
    fs::create_directory_symlink(source / "shaders", folder / "shaders");
    for (const auto& entry : fs::directory_iterator(source / "resources"))
        if (entry.path().filename() != "models")
            fs::create_symlink(entry.path(), folder / "resources" / entry.path().filename());
    for (const auto& entry : fs::directory_iterator(source / "resources/models"))
        fs::create_directory_symlink(entry.path(), folder / "resources/models" / entry.path().filename());
    return folder;
}

class Exit : public ::testing::Test {
protected:
    static void TearDownTestSuite() { fs::remove_all(kWork); }
    void SetUp() override { ASSERT_TRUE(display = XOpenDisplay(nullptr)); }
    void TearDown() override { XCloseDisplay(display); }
    Display* display = nullptr;
};

}  // namespace

// The sounds start decoding right after the shaders are linked, and take a good part of a second: the window closed
// at times within it ends the game with 0; the X connection cut, with 1.
TEST_F(Exit, ClosingTheWindowWhileSoundsDecodeOrLosingTheXConnectionEndsTheGameCleanly) {
    const fs::path folder = gameFolder("run");
    for (int delayMs : {0, 20, 50, 100, -1}) {  // -1: the connection cut
        const pid_t game = launch(folder);
        Window window = None;
        ASSERT_TRUE(soon([&] { return (window = shownGameWindow(display)) != None; })) << printed();
        ASSERT_TRUE(soon([] { return printed().find("Linking shaders") != std::string::npos; })) << printed();
        std::this_thread::sleep_for(std::chrono::milliseconds(std::max(delayMs, 0)));
        if (delayMs < 0) XKillClient(display, window);
        else closeFromTitleBar(display, window);
        XFlush(display);
        EXPECT_EQ(cleanExitWithin(game, std::chrono::seconds(10)), delayMs < 0) << delayMs << " ms\n" << printed();
    }
}

// Every model is read under the first banner: a broken one ends start-up, with no key pressed.
TEST_F(Exit, AModelThatCannotBeReadEndsStartUp) {
    const fs::path folder = gameFolder("broken");
    fs::remove(folder / "resources/models/mushroom_yellow");
    fs::create_directories(folder / "resources/models/mushroom_yellow/mushroom.obj");  // a folder, not a model
    const pid_t game = launch(folder);
    EXPECT_EQ(cleanExitWithin(game, std::chrono::seconds(30)), 1) << printed();
    EXPECT_NE(printed().find("resources/models/mushroom_yellow/mushroom.obj"), std::string::npos) << printed();
}
