// Case tables for rtcall: one call per line,
//   COMMAND ARG ... => LINE ; LINE ; exit N ; stderr TEXT
// where the expected lines use rtcall's output notation, `u:TEXT` standing for the
// t: line of TEXT's GBK bytes, `clib:inf` (or -inf, nan, -nan) for the t: line of what
// the tool's C library writes for that value, and a trailing `*` matching any rest of
// the line.
#pragma once

#include <ostream>
#include <string>
#include <vector>

namespace rtcalltest {

struct Case {
    std::string name; // file and line, usable as a test name
    std::vector<std::string> arguments;
    std::vector<std::string> expectedLines;
    int expectedExit = 0;
    std::string expectedStderr; // a fragment, UTF-8
};

// Shown by the test framework instead of the record's bytes.
inline void PrintTo(const Case &c, std::ostream *os) {
    for (const std::string &a : c.arguments) *os << a << ' ';
}

std::vector<Case> ReadCases(const std::string &directory);

struct Outcome {
    std::string out, err;
    int exitCode = -1;
};
Outcome RunRtcall(const std::vector<std::string> &arguments);

bool LineMatches(const std::string &expected, const std::string &actual);

} // namespace rtcalltest
