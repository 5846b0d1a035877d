// sorvel-mock started on a free port for one test, stopped when the test ends. Extra
// switches (--log FILE, --gbk ...) are passed on.
#pragma once

#include <string>
#include <sys/types.h>
#include <vector>

namespace mock_test {

class MockProcess {
public:
    explicit MockProcess(std::vector<std::string> switches);
    ~MockProcess();
    int Port() const { return port_; }
    // Waits for the exit of a mock that stops by itself; its exit code.
    int Wait();

private:
    pid_t pid_ = -1;
    int port_ = 0;
};

}  // namespace mock_test
