#include <gtest/gtest.h>

#include "exit_codes.h"

#include <cmath>
#include <limits>

#include "number_commands.h"
#include "runtime_fixture.h"

namespace {

using rt::MakeDouble;
using rt::MakeInteger;
using testsupport::CallCommand;

class NumberCommands : public ::testing::Test {
protected:
    void SetUp() override {
        // A runtime error ends the process after its clean-up: run it in a fresh one.
        GTEST_FLAG_SET(death_test_style, "threadsafe");
        testsupport::StartTestRuntime();
    }
};

double Divide(std::initializer_list<rt::TypedValue> args) {
    rt::TypedValue r = CallCommand(cmd::IntegerDivide, args);
    EXPECT_EQ(r.type, rt::kTypeDouble);
    return r.AsDouble();
}
double Remainder(std::initializer_list<rt::TypedValue> args) {
    rt::TypedValue r = CallCommand(cmd::Remainder, args);
    EXPECT_EQ(r.type, rt::kTypeDouble);
    return r.AsDouble();
}

TEST_F(NumberCommands, IntegerDivideTruncatesTowardZeroStepByStep) {
    EXPECT_EQ(Divide({MakeDouble(7), MakeDouble(2)}), 3.0);
    EXPECT_EQ(Divide({MakeDouble(-7), MakeDouble(2)}), -3.0);
    EXPECT_EQ(Divide({MakeDouble(100), MakeDouble(3), MakeDouble(2)}), 16.0);
    EXPECT_EQ(Divide({MakeDouble(7.9)}), 7.9);
    EXPECT_EQ(Divide({rt::MakeInteger(9), rt::MakeFloat(2)}), 4.0);
    EXPECT_TRUE(std::isnan(Divide({MakeDouble(1), MakeDouble(std::nan(""))})));
}

TEST_F(NumberCommands, RemainderKeepsTheSignOfTheDividend) {
    EXPECT_EQ(Remainder({MakeDouble(-7), MakeDouble(2)}), -1.0);
    EXPECT_EQ(Remainder({MakeDouble(7.5), MakeDouble(2)}), 1.5);
    EXPECT_EQ(Remainder({MakeDouble(7), MakeDouble(-2)}), 1.0);
    EXPECT_EQ(Remainder({MakeDouble(100), MakeDouble(7), MakeDouble(3)}), 2.0);
}

TEST_F(NumberCommands, ZeroDivisorsAreRuntimeErrors) {
    EXPECT_EXIT(CallCommand(cmd::IntegerDivide, {MakeDouble(1), MakeDouble(0)}),
                ::testing::ExitedWithCode(testsupport::kRuntimeErrorExit), "不能整除于零");
    EXPECT_EXIT(CallCommand(cmd::IntegerDivide, {MakeDouble(8), MakeDouble(2), MakeDouble(-0.0)}),
                ::testing::ExitedWithCode(testsupport::kRuntimeErrorExit), "不能整除于零");
    EXPECT_EXIT(CallCommand(cmd::Remainder, {MakeDouble(1), MakeDouble(0)}),
                ::testing::ExitedWithCode(testsupport::kRuntimeErrorExit), "不能求余数于零");
}

TEST_F(NumberCommands, BitOrCombinesEveryArgument) {
    EXPECT_EQ(CallCommand(cmd::BitOr, {MakeInteger(1), MakeInteger(2), MakeInteger(8)}).AsInteger(), 11);
    EXPECT_EQ(CallCommand(cmd::BitOr, {MakeInteger(INT32_MIN), MakeInteger(1)}).AsInteger(), INT32_MIN + 1);
    rt::TypedValue single = CallCommand(cmd::BitOr, {MakeInteger(-5)});
    EXPECT_EQ(single.type, rt::kTypeInteger);
    EXPECT_EQ(single.AsInteger(), -5);
}

TEST(BitOperations, AndAndExclusiveOrShareTheRoutine) {
    rt::TypedValue args[] = {MakeInteger(0b1100), MakeInteger(0b1010)};
    EXPECT_EQ(cmd::CombineBits(cmd::kBitAnd, 2, args), 0b1000);
    EXPECT_EQ(cmd::CombineBits(cmd::kBitOr, 2, args), 0b1110);
    EXPECT_EQ(cmd::CombineBits(cmd::kBitXor, 2, args), 0b0110);
}

} // namespace
