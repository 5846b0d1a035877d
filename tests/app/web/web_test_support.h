// FetchWebPage against sorvel-mock: the mock's address and its request log.
#pragma once

#include <string>
#include <vector>

#include "mock_process.h"

namespace webtest {

// A mock with a request log of its own, for one test.
class LoggedMock {
public:
    explicit LoggedMock(std::vector<std::string> switches = {});
    ~LoggedMock();
    // "http://127.0.0.1:port" + path.
    std::string Address(const std::string &path) const;
    std::string HostPort() const;
    // The JSON lines logged so far.
    std::vector<std::string> Log() const;

private:
    std::string logPath_;
    mock_test::MockProcess *process_;
};

// The default header block for an address.
std::string DefaultBlock(const std::string &address);
// The request head sent to /echo, as the echo page returns it: up to the blank line.
std::string HeadOf(const std::string &echoPage);

} // namespace webtest
