#include "web_test_support.h"

#include <unistd.h>

#include <atomic>
#include <cstdio>
#include <filesystem>
#include <fstream>

namespace webtest {

namespace {
std::atomic<int> logNumber{0};
}

LoggedMock::LoggedMock(std::vector<std::string> switches)
    : logPath_((std::filesystem::temp_directory_path() /
                ("sorvel-web-" + std::to_string(getpid()) + "-" + std::to_string(logNumber++) + ".log"))
                   .string()) {
    switches.push_back("--log");
    switches.push_back(logPath_);
    process_ = new mock_test::MockProcess(switches);
}

LoggedMock::~LoggedMock() {
    delete process_;
    std::remove(logPath_.c_str());
}

std::string LoggedMock::HostPort() const { return "127.0.0.1:" + std::to_string(process_->Port()); }

std::string LoggedMock::Address(const std::string &path) const { return "http://" + HostPort() + path; }

std::vector<std::string> LoggedMock::Log() const {
    std::ifstream file(logPath_);
    std::vector<std::string> lines;
    for (std::string line; std::getline(file, line);) lines.push_back(line);
    return lines;
}

std::string DefaultBlock(const std::string &address) {
    return "Referer: " + address +
           "\r\nAccept: */*\r\nAccept-Language: zh-cn\r\nContent-Type: application/x-www-form-urlencoded";
}

std::string HeadOf(const std::string &echoPage) {
    size_t end = echoPage.find("\r\n\r\n");
    return end == std::string::npos ? echoPage : echoPage.substr(0, end + 4);
}

} // namespace webtest
