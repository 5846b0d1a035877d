#include "x11_desktop.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>

namespace x11 {
namespace {

namespace fs = std::filesystem;

bool OnPath(const std::string &program) {
    const char *path = std::getenv("PATH");
    std::string list = path ? path : "/usr/bin:/bin";
    for (size_t start = 0; start <= list.size();) {
        size_t end = std::min(list.find(':', start), list.size());
        if (::access((list.substr(start, end - start) + "/" + program).c_str(), X_OK) == 0) return true;
        start = end + 1;
    }
    return false;
}

// Ends a process of ours: asked first, then forced after two seconds.
void End(pid_t &pid) {
    if (pid <= 0) return;
    ::kill(pid, SIGTERM);
    for (int i = 0; i < 20 && ::waitpid(pid, nullptr, WNOHANG) == 0; ++i) ::usleep(100000);
    if (::waitpid(pid, nullptr, WNOHANG) == 0) {
        ::kill(pid, SIGKILL);
        ::waitpid(pid, nullptr, 0);
    }
    pid = -1;
}

// The exit status of `pid` within `seconds`, or -1000; the process is ended then.
int Reap(pid_t &pid, int seconds) {
    int status = 0;
    for (int i = 0; i < seconds * 20; ++i) {
        if (::waitpid(pid, &status, WNOHANG) == pid) {
            pid = -1;
            return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
        }
        ::usleep(50000);
    }
    End(pid);
    return -1000;
}

void Exec(std::vector<std::string> &argv) {
    std::vector<char *> args;
    for (std::string &a : argv) args.push_back(a.data());
    args.push_back(nullptr);
    ::execvp(args[0], args.data());
    ::_exit(127);
}

void CloseFrom(int first) {
    for (int fd = first; fd < 1024; ++fd) ::close(fd);
}

} // namespace

Desktop::Desktop(std::vector<std::string> mockSwitches) : mock_(std::move(mockSwitches)) {
    if (!OnPath("Xvfb") || !OnPath("xdotool")) problem_ = "Xvfb or xdotool is not installed (scripts/install-deps)";
    else if (!run_.Ok() || !mock_.Port()) problem_ = "no run directory or no sorvel-mock";
    else if (!StartServer()) problem_ = "Xvfb did not start";
}

Desktop::~Desktop() {
    End(tool_);
    End(server_);
}

// Xvfb picks a free display itself and writes its number to the pipe.
bool Desktop::StartServer() {
    int out[2];
    if (::pipe(out) != 0) return false;
    server_ = ::fork();
    if (server_ == 0) {
        ::dup2(out[1], 3);
        int log = ::open(run_.Host("xvfb.log").c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        ::dup2(log, STDERR_FILENO);
        ::dup2(log, STDOUT_FILENO);
        CloseFrom(4);
        std::vector<std::string> argv{"Xvfb", "-displayfd", "3", "-screen", "0", "1024x768x24", "-nolisten", "tcp"};
        Exec(argv);
    }
    ::close(out[1]);
    std::string number;
    char c;
    pollfd entry{out[0], POLLIN, 0};
    while (::poll(&entry, 1, 10000) > 0 && ::read(out[0], &c, 1) == 1 && c != '\n') number += c;
    ::close(out[0]);
    if (number.empty()) return false;
    display_ = ":" + number;
    return true;
}

pid_t Desktop::Spawn(std::vector<std::string> argv, const std::string &log) {
    pid_t pid = ::fork();
    if (pid != 0) return pid;
    if (::chdir(run_.HostRoot().c_str()) != 0) ::_exit(126);
    ::setenv("DISPLAY", display_.c_str(), 1);
    ::unsetenv("QT_QPA_PLATFORM");
    ::setenv("SORVEL_HOST", ("127.0.0.1:" + std::to_string(mock_.Port())).c_str(), 1);
    int out = ::open(log.c_str(), O_WRONLY | O_CREAT | O_APPEND, 0644);
    ::dup2(out, STDOUT_FILENO);
    ::dup2(out, STDERR_FILENO);
    CloseFrom(3);
    Exec(argv);
    return -1;
}

bool Desktop::StartTool() {
    std::error_code error;
    fs::copy_file(SORVEL_COLLECTOR_PATH, run_.Host("sorvel-collector"), error);
    if (error) return false;
    return StartProgram(run_.Host("sorvel-collector"), "^Sorvel");
}

bool Desktop::StartProgram(const std::string &path, const std::string &windowPattern) {
    tool_ = Spawn({path}, run_.Host("tool.log"));
    window_ = WaitWindow(windowPattern, 20);
    return !window_.empty();
}

int Desktop::WaitToolExit(int seconds) { return Reap(tool_, seconds); }

std::string Desktop::ToolErrors() const { return run_.Contents("tool.log"); }

void Desktop::Xdo(std::vector<std::string> args) {
    args.insert(args.begin(), "xdotool");
    pid_t pid = Spawn(args, run_.Host("xdotool.log"));
    Reap(pid, 10);
}

void Desktop::Hover(Spot at) {
    Xdo({"mousemove", "--sync", "--window", window_, std::to_string(at.x), std::to_string(at.y)});
}

void Desktop::Click(Spot at, int button) {
    Hover(at);
    Xdo({"click", std::to_string(button)});
    ::usleep(300000);
}

void Desktop::DoubleClick(Spot at) {
    Hover(at);
    Xdo({"click", "--repeat", "2", "--delay", "80", "1"});
    ::usleep(300000);
}

void Desktop::Key(const std::string &keys) {
    Xdo({"key", "--delay", "60", keys});
    ::usleep(200000);
}

void Desktop::Focus(const std::string &window) { Xdo({"windowfocus", "--sync", window}); }

void Desktop::Type(const std::string &utf8) {
    Xdo({"type", "--delay", "40", utf8});
    ::usleep(200000);
}

std::string Desktop::Output(std::vector<std::string> argv, int seconds) {
    std::string file = run_.Host("helper.out");
    ::unlink(file.c_str());
    pid_t pid = Spawn(std::move(argv), file);
    Reap(pid, seconds);
    return run_.Contents("helper.out");
}

std::string Desktop::WaitWindow(const std::string &pattern, int seconds) {
    std::string found;
    WaitFor([&] {
        found = Output({"xdotool", "search", "--onlyvisible", "--name", pattern});
        found = found.substr(0, found.find('\n'));
        return !found.empty();
    }, seconds);
    return found;
}

bool Desktop::WindowGone(const std::string &pattern, int seconds) {
    return WaitFor([&] { return Output({"xdotool", "search", "--onlyvisible", "--name", pattern}).empty(); }, seconds);
}

std::vector<std::string> Desktop::Files(const std::string &suffix) const {
    std::vector<std::string> names;
    for (const auto &entry : fs::directory_iterator(run_.HostRoot())) {
        std::string name = entry.path().filename().string();
        if (name.size() >= suffix.size() && name.compare(name.size() - suffix.size(), suffix.size(), suffix) == 0)
            names.push_back(name);
    }
    std::sort(names.begin(), names.end());
    return names;
}

void Desktop::Shot(const std::string &name) {
    Output({"import", "-window", "root", run_.Host(name)});
    if (const char *dir = std::getenv("SORVEL_SCREENSHOTS"))
        fs::copy_file(run_.Host(name), fs::path(dir) / name, fs::copy_options::overwrite_existing);
}

} // namespace x11
