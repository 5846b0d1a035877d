// The program as a user starts it: with no start-up window in its image it reports
// the failure and ends with exit code -1.
#include <gtest/gtest.h>

#include <sys/wait.h>

#include <array>
#include <cstdio>
#include <string>

#ifndef COLLECTOR_PATH
#error "COLLECTOR_PATH must name the program"
#endif

namespace {

struct ProgramRun {
    int exitCode;
    std::string output;
};

ProgramRun RunProgram(const std::string &command) {
    ProgramRun run{-1, {}};
    std::FILE *pipe = popen((command + " 2>&1").c_str(), "r");
    if (!pipe) return run;
    std::array<char, 512> buffer;
    while (size_t n = std::fread(buffer.data(), 1, buffer.size(), pipe)) run.output.append(buffer.data(), n);
    int status = pclose(pipe);
    run.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return run;
}

} // namespace

TEST(Startup, WithoutAStartupWindowTheProgramReportsAndEndsWithMinusOne) {
    ProgramRun run = RunProgram("env QT_QPA_PLATFORM=offscreen " COLLECTOR_PATH);
    EXPECT_EQ(run.exitCode, 255);
    EXPECT_NE(run.output.find("错误: 运行时出错!"), std::string::npos) << run.output;
    EXPECT_NE(run.output.find("错误信息：载入启动窗口失败"), std::string::npos) << run.output;
}
