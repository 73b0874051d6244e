// The game as a player starts it, ended every way but Esc: its window closed while the sounds still decode, its X
// connection cut, a model that cannot be read. Each ends promptly, with no sanitizer report.
#include <gtest/gtest.h>

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <thread>

namespace fs = std::filesystem;

namespace {

using Clock = std::chrono::steady_clock;

const fs::path kWork = fs::temp_directory_path() / ("gorvanka_exit_" + std::to_string(getpid()));

struct Game {
    pid_t pid;
    fs::path output;  // standard output and error together
};

// Starts the game in folder, which holds (links to) its resources and shaders.
Game launch(const fs::path& folder) {
    const fs::path output = folder / "output.txt";
    const pid_t pid = fork();
    if (pid == 0) {
        const int file = open(output.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        dup2(file, 1), dup2(file, 2);
        if (chdir(folder.c_str()) == 0) execl(std::getenv("GORVANKA_GAME"), "gorvanka", nullptr);
        _exit(127);
    }
    return {pid, output};
}

// The exit status, or -1 when the game is still running after the wait (it is then killed).
int exitStatusWithin(const Game& game, std::chrono::seconds wait) {
    const Clock::time_point deadline = Clock::now() + wait;
    int status = 0;
    while (waitpid(game.pid, &status, WNOHANG) == 0) {
        if (Clock::now() > deadline) {
            kill(game.pid, SIGKILL);
            waitpid(game.pid, &status, 0);
            return -1;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}

std::string printed(const Game& game) {
    std::ifstream file(game.output);
    return std::string(std::istreambuf_iterator<char>(file), {});
}

// Waits up to a minute for the game to print the line.
bool saysSoon(const Game& game, const std::string& line) {
    const Clock::time_point deadline = Clock::now() + std::chrono::minutes(1);
    while (printed(game).find(line) == std::string::npos && Clock::now() < deadline)
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    return printed(game).find(line) != std::string::npos;
}

bool sanitizerSpoke(const std::string& output) {
    return output.find("Sanitizer") != std::string::npos || output.find("runtime error") != std::string::npos;
}

// The game's window once it shows, or None when it does not within a minute.
Window shownGameWindow(Display* display) {
    const Clock::time_point deadline = Clock::now() + std::chrono::minutes(1);
    for (; Clock::now() < deadline; std::this_thread::sleep_for(std::chrono::milliseconds(2))) {
        Window root, parent, *children = nullptr;
        unsigned int count = 0;
        XQueryTree(display, DefaultRootWindow(display), &root, &parent, &children, &count);
        Window found = None;
        for (unsigned int i = 0; i < count && found == None; ++i) {
            char* name = nullptr;
            XWindowAttributes attributes;
            if (XFetchName(display, children[i], &name) && std::string(name) == "Gorvanka" &&
                XGetWindowAttributes(display, children[i], &attributes) && attributes.map_state == IsViewable)
                found = children[i];
            XFree(name);
        }
        XFree(children);
        if (found != None) return found;
    }
    return None;
}

// What a window manager sends when the player clicks the window's close button.
void closeFromTitleBar(Display* display, Window window) {
    XEvent event{};
    event.xclient.type = ClientMessage;
    event.xclient.window = window;
    event.xclient.message_type = XInternAtom(display, "WM_PROTOCOLS", False);
    event.xclient.format = 32;
    event.xclient.data.l[0] = long(XInternAtom(display, "WM_DELETE_WINDOW", False));
    event.xclient.data.l[1] = CurrentTime;
    XSendEvent(display, window, False, NoEventMask, &event);
    XFlush(display);
}

// A folder for the game to run in: its shaders and resources, each model folder linked apart so one can be broken.
fs::path gameFolder(const std::string& name) {
    const fs::path folder = kWork / name, source = fs::current_path();
    fs::create_directories(folder / "resources/models");
    fs::create_directory_symlink(source / "shaders", folder / "shaders");
    for (const auto& entry : fs::directory_iterator(source / "resources"))
        if (entry.path().filename() != "models") fs::create_symlink(entry.path(), folder / "resources" / entry.path().filename());
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

// The sounds start decoding right after the shaders are linked, and take a good part of a second.
TEST_F(Exit, ClosingTheWindowWhileSoundsDecodeEndsTheGameCleanly) {
    for (int delayMs : {0, 20, 50, 100}) {
        const Game game = launch(gameFolder("close" + std::to_string(delayMs)));
        const Window window = shownGameWindow(display);
        ASSERT_NE(window, None) << printed(game);
        ASSERT_TRUE(saysSoon(game, "Linking shaders")) << printed(game);
        std::this_thread::sleep_for(std::chrono::milliseconds(delayMs));
        closeFromTitleBar(display, window);
        EXPECT_EQ(exitStatusWithin(game, std::chrono::seconds(10)), 0) << delayMs << " ms\n" << printed(game);
        EXPECT_FALSE(sanitizerSpoke(printed(game))) << delayMs << " ms\n" << printed(game);
    }
}

TEST_F(Exit, LosingTheXConnectionEndsTheGameCleanly) {
    const Game game = launch(gameFolder("cut"));
    const Window window = shownGameWindow(display);
    ASSERT_NE(window, None) << printed(game);
    ASSERT_TRUE(saysSoon(game, "Linking shaders")) << printed(game);
    XKillClient(display, window);
    XFlush(display);
    EXPECT_EQ(exitStatusWithin(game, std::chrono::seconds(10)), 1) << printed(game);
    EXPECT_FALSE(sanitizerSpoke(printed(game))) << printed(game);
}

// Every model is read under the first banner: a broken one ends start-up, with no key pressed.
TEST_F(Exit, AModelThatCannotBeReadEndsStartUp) {
    const fs::path folder = gameFolder("broken");
    fs::remove(folder / "resources/models/mushroom_yellow");
    fs::create_directories(folder / "resources/models/mushroom_yellow/mushroom.obj");  // a folder, not a model
    const Game game = launch(folder);
    EXPECT_EQ(exitStatusWithin(game, std::chrono::seconds(30)), 1) << printed(game);
    EXPECT_NE(printed(game).find("resources/models/mushroom_yellow/mushroom.obj"), std::string::npos) << printed(game);
    EXPECT_FALSE(sanitizerSpoke(printed(game))) << printed(game);
}
