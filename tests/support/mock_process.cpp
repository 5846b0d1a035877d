#include "mock_process.h"

#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>

namespace mock_test {
namespace {

// The first line the mock prints, waiting at most five seconds for it.
std::string FirstLine(int fd) {
    std::string line;
    char c;
    while (line.find('\n') == std::string::npos) {
        pollfd entry{fd, POLLIN, 0};
        if (::poll(&entry, 1, 5000) <= 0 || ::read(fd, &c, 1) != 1) break;
        line += c;
    }
    return line;
}

}  // namespace

MockProcess::MockProcess(std::vector<std::string> switches) {
    int out[2];
    if (::pipe(out) != 0) return;
    switches.insert(switches.begin(), {SORVEL_MOCK_PATH, "--port", "0"});
    pid_ = ::fork();
    if (pid_ == 0) {
        ::dup2(out[1], STDOUT_FILENO);
        // Nothing else of the test's: a pipe the mock kept open would outlive the test.
        for (int fd = STDERR_FILENO + 1; fd < 1024; ++fd) ::close(fd);
        std::vector<char *> argv;
        for (std::string &item : switches) argv.push_back(item.data());
        argv.push_back(nullptr);
        ::execv(argv[0], argv.data());
        ::_exit(127);
    }
    ::close(out[1]);
    std::string line = FirstLine(out[0]);
    ::close(out[0]);
    if (line.rfind("PORT ", 0) == 0) port_ = std::atoi(line.c_str() + 5);
}

MockProcess::~MockProcess() {
    if (pid_ <= 0) return;
    ::kill(pid_, SIGTERM);
    ::waitpid(pid_, nullptr, 0);
}

int MockProcess::Wait() {
    int status = 0;
    ::waitpid(pid_, &status, 0);
    pid_ = -1;
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

}  // namespace mock_test
