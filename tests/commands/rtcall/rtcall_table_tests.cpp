#include <gtest/gtest.h>

#include <sstream>

#include "rtcall_case_file.h"

namespace {

using rtcalltest::Case;

std::vector<std::string> Lines(const std::string &text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
}

class RtcallTable : public ::testing::TestWithParam<Case> {};

TEST_P(RtcallTable, GivesTheStatedResult) {
    const Case &c = GetParam();
    rtcalltest::Outcome outcome = rtcalltest::RunRtcall(c.arguments);
    EXPECT_EQ(outcome.exitCode, c.expectedExit) << outcome.err;
    std::vector<std::string> lines = Lines(outcome.out);
    ASSERT_EQ(lines.size(), c.expectedLines.size()) << outcome.out;
    for (size_t i = 0; i < lines.size(); ++i) {
        EXPECT_TRUE(rtcalltest::LineMatches(c.expectedLines[i], lines[i]))
            << "line " << i + 1 << ": expected " << c.expectedLines[i] << ", got " << lines[i];
    }
    // Nothing else reaches stderr: no warning about the program's own plumbing.
    if (!c.expectedStderr.empty()) EXPECT_NE(outcome.err.find(c.expectedStderr), std::string::npos) << outcome.err;
    else EXPECT_EQ(outcome.err, "");
}

INSTANTIATE_TEST_SUITE_P(Cases, RtcallTable, ::testing::ValuesIn(rtcalltest::ReadCases(RTCALL_CASES_DIR)),
                         [](const ::testing::TestParamInfo<Case> &info) { return info.param.name; });

} // namespace
