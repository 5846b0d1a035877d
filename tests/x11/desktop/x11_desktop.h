// One scenario's desktop: a private X server (Xvfb), sorvel-mock, a run directory
// holding a copy of the tool, and the tool itself, driven through xdotool as a person
// would drive it. Every process is started here and ended by its id; every wait is
// bounded.
#pragma once

#include <sys/types.h>
#include <unistd.h>

#include <chrono>
#include <string>
#include <vector>

#include "mock_process.h"
#include "temp_folder.h"

namespace x11 {

// Where a unit of the main window lies, in client coordinates.
struct Spot {
    int x, y;
};

class Desktop {
public:
    explicit Desktop(std::vector<std::string> mockSwitches = {});
    ~Desktop();
    Desktop(const Desktop &) = delete;
    Desktop &operator=(const Desktop &) = delete;

    // False (with the reason in Problem()) when Xvfb or xdotool is missing.
    bool Usable() const { return problem_.empty(); }
    const std::string &Problem() const { return problem_; }

    // Starts the tool and waits for its main window.
    bool StartTool();
    // Starts another program from the run directory and waits for a window.
    bool StartProgram(const std::string &path, const std::string &windowPattern);
    // The tool's exit code once it ends within `seconds`; -1000 when it does not.
    int WaitToolExit(int seconds);
    std::string ToolErrors() const;

    void Click(Spot at, int button = 1);
    void DoubleClick(Spot at);
    void Hover(Spot at);
    void Key(const std::string &keys);
    // Gives the keyboard to an X window (there is no window manager to do it).
    void Focus(const std::string &window);
    void Type(const std::string &utf8);

    // The X window whose title matches `pattern` (an xdotool regular expression),
    // waiting `seconds` at most; empty when none appears.
    std::string WaitWindow(const std::string &pattern, int seconds);
    bool WindowGone(const std::string &pattern, int seconds);
    // The names of the files in the run directory ending in `suffix`, sorted.
    std::vector<std::string> Files(const std::string &suffix) const;
    std::string Read(const std::string &name) const { return run_.Contents(name); }
    std::string RunDirectory() const { return run_.HostRoot(); }
    // A screenshot of the whole screen into the run directory, and into
    // $SORVEL_SCREENSHOTS when that is set (the README's pictures).
    void Shot(const std::string &name);
    // What a helper program prints, run against this display, given `seconds` to end.
    std::string Output(std::vector<std::string> argv, int seconds = 10);

private:
    pid_t Spawn(std::vector<std::string> argv, const std::string &log);
    bool StartServer();
    void Xdo(std::vector<std::string> args);

    std::string problem_;
    testsupport::TempFolder run_;
    mock_test::MockProcess mock_;
    std::string display_;
    std::string window_;
    pid_t server_ = -1;
    pid_t tool_ = -1;
};

// Polls `done` every 100 ms until it holds or `seconds` have passed.
template <class F> bool WaitFor(F done, int seconds) {
    auto end = std::chrono::steady_clock::now() + std::chrono::seconds(seconds);
    while (std::chrono::steady_clock::now() < end) {
        if (done()) return true;
        ::usleep(100000);
    }
    return done();
}

} // namespace x11
