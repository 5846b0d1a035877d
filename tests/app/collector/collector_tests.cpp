// The collector's routines that need no window: blank-line removal and the host.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "app_runtime_fixture.h"
#include "collector.h"

namespace {

class Collector : public testing::Test {
protected:
    void SetUp() override { testsupport::StartApplicationRuntime(); }
};

} // namespace

TEST_F(Collector, BlankLinesGoAndTheLineBreakBeforeThemStays) {
    EXPECT_EQ(app::RemoveBlankLines("a\r\n\r\nb\r\n", false), "a\r\nb");
    EXPECT_EQ(app::RemoveBlankLines("a\r\n \t \r\nb", false), "a\r\nb");
    EXPECT_EQ(app::RemoveBlankLines("\r\na\r\nb", true), "a\r\nb");
    EXPECT_EQ(app::RemoveBlankLines("a", false), "a");
    EXPECT_EQ(app::RemoveBlankLines("", false), "");
    // Three line breaks in front leave one: the driver drops the empty keyword it gives.
    EXPECT_EQ(app::RemoveBlankLines("\r\n\r\n\r\nx", false), "\r\nx");
}

TEST_F(Collector, TheHostComesFromTheEnvironmentWhenSet) {
    unsetenv("SORVEL_HOST");
    EXPECT_EQ(app::ServiceHost(), "m.sorvel.example");
    setenv("SORVEL_HOST", "127.0.0.1:18080", 1);
    EXPECT_EQ(app::ServiceHost(), "127.0.0.1:18080");
    unsetenv("SORVEL_HOST");
}
