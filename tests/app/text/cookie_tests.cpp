// Merging the cookies a response sets into the caller's cookie text.
#include <gtest/gtest.h>

#include "app_runtime_fixture.h"
#include "gbk.h"
#include "cookies.h"

namespace {

class Cookies : public ::testing::Test {
protected:
    void SetUp() override { testsupport::StartApplicationRuntime(); }
};

TEST_F(Cookies, NewValuesReplaceDeletedGoOthersStay) {
    std::string cookies = "a=1; c=3; d=5", set = "a=9; c=deleted";
    EXPECT_EQ(app::MergeCookies(cookies, set), "a=9; d=5");
    EXPECT_EQ(cookies, "a=9; d=5");
    EXPECT_EQ(set, "a=9;c=deleted"); // the response cookies lose their spaces too
}

TEST_F(Cookies, NamesCompareTrimmedAndExactly) {
    std::string cookies = "A=1;flag; b=2", set = "a=3; flag";
    EXPECT_EQ(app::MergeCookies(cookies, set), "a=3; flag; A=1; b=2");
}

TEST_F(Cookies, EmptySidesAndRepeatedItems) {
    std::string cookies, set = "s=1; s=1";
    EXPECT_EQ(app::MergeCookies(cookies, set), "s=1");
    std::string kept = "k=1", none;
    EXPECT_EQ(app::MergeCookies(kept, none), "k=1");
    std::string empty1, empty2;
    EXPECT_EQ(app::MergeCookies(empty1, empty2), "");
}

} // namespace
