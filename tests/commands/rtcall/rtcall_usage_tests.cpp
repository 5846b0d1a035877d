#include <gtest/gtest.h>

#include <cstdlib>
#include <set>
#include <sstream>

#include "rtcall_case_file.h"

namespace {

using rtcalltest::RunRtcall;

TEST(RtcallUsage, ListNamesEveryCommandOnce) {
    rtcalltest::Outcome outcome = RunRtcall({"--list"});
    EXPECT_EQ(outcome.exitCode, 0);
    std::istringstream in(outcome.out);
    std::set<std::string> names;
    for (std::string line; std::getline(in, line);) EXPECT_TRUE(names.insert(line).second) << line;
    for (const char *name : {"IntegerDivide", "ToText", "ByteSetData", "CurrentTime", "GetSecond"})
        EXPECT_EQ(names.count(name), 1u) << name;
}

TEST(RtcallUsage, MistakesAreUsageErrorsThatSayWhat) {
    struct Mistake {
        std::vector<std::string> arguments;
        std::string said;
    };
    const Mistake mistakes[] = {
        {{}, "no command"},
        {{"NoSuchCommand"}, "unknown command 'NoSuchCommand'"},
        {{"ToText", "i:12x"}, "argument 1 'i:12x'"},
        {{"ToText", "b:256"}, "argument 1"},
        {{"ToText", "s:-32769"}, "argument 1"},
        {{"ToText", "i:4294967296"}, "argument 1"},
        {{"ToText", "t:abc"}, "hex"},
        {{"ToText", "bs:zz"}, "hex"},
        {{"ToText", "d:"}, "argument 1"},
        {{"ToText", "q:1"}, "unknown argument kind"},
        {{"ToText", "plain"}, "KIND:VALUE"},
        {{"ByteSetData", "bs:01", "i:1", "var:l:1"}, "var:i:N"},
        {{"ToText", "ai:1,x"}, "array element 'x'"},
    };
    for (const Mistake &m : mistakes) {
        rtcalltest::Outcome outcome = RunRtcall(m.arguments);
        EXPECT_EQ(outcome.exitCode, 2) << m.said;
        EXPECT_EQ(outcome.out, "") << m.said;
        EXPECT_NE(outcome.err.find(m.said), std::string::npos) << outcome.err;
    }
}

TEST(RtcallUsage, HexAndNegativeNumbersAndEmptyValues) {
    EXPECT_EQ(RunRtcall({"ToText", "i:0x7fffffff"}).out, "t:32313437343833363437\n");
    EXPECT_EQ(RunRtcall({"ToText", "b:-1"}).out, "t:323535\n");
    EXPECT_EQ(RunRtcall({"ToText", "t:"}).out, "t:\n");
    EXPECT_EQ(RunRtcall({"ToByteSet", "bs:"}).out, "bs:\n");
    EXPECT_EQ(RunRtcall({"ToText", "-"}).out, "t:\n");
}

// A command that needs no window starts no window system: Qt, told to say what it
// loads, has nothing to say.
TEST(RtcallUsage, AWindowlessCommandStartsNoWindowSystem) {
    setenv("QT_DEBUG_PLUGINS", "1", 1);
    rtcalltest::Outcome outcome = RunRtcall({"TextLength", "u:abc"});
    unsetenv("QT_DEBUG_PLUGINS");
    EXPECT_EQ(outcome.out, "i:3\n");
    EXPECT_EQ(outcome.err, "");
}

} // namespace
