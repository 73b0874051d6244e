#pragma once
// The built game as a player starts it, for what needs a real window: a GameRun
// starts the executable in a working directory of its own, captures all it
// prints into a file, and sends it real X events through xdotool. Every wait is
// on an event, with a long timeout, so that a busy machine only slows it down;
// a wait that times out fails the test and shows the game's output.
#include <string>
#include <vector>

#include <sys/types.h>

void waitSeconds(double seconds);

// A fresh temporary directory holding copies of resources/ and shaders/.
std::string makeGameDirectory();

class GameRun {
public:
    // extraEnvironment ("NAME=value") adds to ASAN_OPTIONS=detect_leaks=0 and
    // SDL_AUDIODRIVER=dummy. An empty workDirectory means makeGameDirectory().
    explicit GameRun(std::vector<std::string> extraEnvironment = {}, std::string workDirectory = "");
    ~GameRun();
    GameRun(const GameRun&) = delete;
    GameRun& operator=(const GameRun&) = delete;

    std::string output() const;  // everything printed so far, stdout and stderr
    // Waits for the window titled "Gorvanka" and moves the pointer into it, so
    // that keyboard focus (which follows the pointer) is there too.
    bool waitForWindow(double timeoutSeconds = 120);
    // Waits until the output holds text at least count times.
    bool waitForOutput(const std::string& text, int count = 1, double timeoutSeconds = 120);
    int outputCount(const std::string& text) const;
    bool waitForExit(double timeoutSeconds = 120);
    bool running();
    int exitStatus() const { return status; }
    bool windowSize(int* width, int* height);

    // xdotool key names ("space", "F4", "Escape") and buttons (1 left, 3 right).
    void keyDown(const std::string& key) { xdotool("keydown " + key); }
    void keyUp(const std::string& key) { xdotool("keyup " + key); }
    void key(const std::string& key) { xdotool("key " + key); }
    void click(int button) { xdotool("click " + std::to_string(button)); }

private:
    void xdotool(const std::string& arguments);
    void failWithOutput(const std::string& what);

    std::string workDir;
    std::string outputPath;
    std::string window;
    pid_t pid = -1;
    int status = 0;
};
