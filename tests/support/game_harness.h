#pragma once
// End-to-end runs of the real game under the test X display: a GameRun starts the
// built executable in a working directory of its own, captures all it prints into a
// file that the waits poll, and sends it X events through xdotool. Every wait that
// times out fails the current test and shows the game's output.
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include <sys/types.h>

// Lets the game run on for a while (frames drawn, events handled).
void waitSeconds(double seconds);

// A fresh temporary directory holding copies of resources/ and shaders/.
std::string makeGameDirectory();

struct Rgb {
    double r, g, b;  // 0..255
};

struct Screenshot {
    int width = 0;
    int height = 0;
    std::vector<uint8_t> pixels;  // R G B per pixel, rows top to bottom
    Rgb at(int x, int y) const;
    // Mean colour of the w x h region whose top left corner is (x, y).
    Rgb regionMean(int x, int y, int w, int h) const;
};

// Grabs the whole X screen, and saves it as PNG under pngPath when that is given.
// An empty Screenshot (width 0) means the grab failed; the test has been failed.
Screenshot takeScreenshot(const std::string& pngPath = "");

// Mean absolute difference per colour channel, 0..255; -1 when the sizes differ.
double meanDifference(const Screenshot& a, const Screenshot& b);

// Waits until the screen shows something and holds still (a slow game may
// take seconds for its first frames).
Screenshot waitForSteadyScreen(double timeoutSeconds = 30);
// Waits until the screen differs from before.
Screenshot waitForScreenChange(const Screenshot& before, double timeoutSeconds = 30);

class GameRun {
public:
    // The environment has ASAN_OPTIONS=detect_leaks=0 and SDL_AUDIODRIVER=dummy unless
    // extraEnvironment ("NAME=value") says otherwise. An empty workDirectory means
    // makeGameDirectory(), which a test may change first. The destructor kills the game.
    explicit GameRun(std::vector<std::string> extraEnvironment = {},
                     std::string workDirectory = "");
    ~GameRun();
    GameRun(const GameRun&) = delete;
    GameRun& operator=(const GameRun&) = delete;

    std::string output() const;  // everything printed so far, stdout and stderr

    // Waits for the full-screen window titled "Gorvanka" and moves the pointer
    // into it, so that keyboard focus (which follows the pointer) is there too.
    bool waitForWindow(double timeoutSeconds = 20);
    // Waits until the output holds text at or after byte offset from.
    bool waitForOutput(const std::string& text, double timeoutSeconds = 10, size_t from = 0);
    // Waits until the output holds text at least count times.
    bool waitForOutputCount(const std::string& text, int count, double timeoutSeconds = 10);
    int outputCount(const std::string& text) const;
    // Waits for the game to end; exitStatus() is then its status (-1 for a signal).
    bool waitForExit(double timeoutSeconds = 10);
    bool running();
    int exitStatus() const { return status; }
    // The window's size as the X server has it; false when it cannot be read.
    bool windowSize(int* width, int* height);

    // xdotool key names ("w", "space", "F5", "Home", "Escape") and buttons (1 left, 3 right),
    // sent through the X test extension like a real device.
    void keyDown(const std::string& key) { xdotool("keydown " + key); }
    void keyUp(const std::string& key) { xdotool("keyup " + key); }
    void key(const std::string& key) { xdotool("key " + key); }
    void mouseDown(int button) { xdotool("mousedown " + std::to_string(button)); }
    void mouseUp(int button) { xdotool("mouseup " + std::to_string(button)); }
    void click(int button) { xdotool("click " + std::to_string(button)); }

private:
    bool waitForOutputWhere(const std::function<bool(const std::string&)>& done,
                            double timeoutSeconds, const std::string& what);
    void xdotool(const std::string& arguments);
    void failWithOutput(const std::string& what);

    std::string workDir;
    std::string outputPath;
    std::string window;
    pid_t pid = -1;
    int status = 0;
};
