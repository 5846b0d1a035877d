#include <gtest/gtest.h>

#include "exit_codes.h"

#include <cmath>
#include <limits>
#include <string>

#include "c_library_texts.h"
#include "command_values.h"
#include "conversion_commands.h"
#include "gbk.h"
#include "ole_date.h"
#include "runtime_fixture.h"

namespace {

using namespace testsupport;
using testvalues::ArrayArg;
using testvalues::Typed;

class Conversions : public ::testing::Test {
protected:
    void SetUp() override {
        // A runtime error ends the process after its clean-up: run it in a fresh one.
        GTEST_FLAG_SET(death_test_style, "threadsafe");
        StartTestRuntime();
    }
};

double Number(rt::TypedValue arg) {
    rt::TypedValue r = CallCommand(cmd::ToNumber, {arg});
    EXPECT_EQ(r.type, rt::kTypeDouble);
    return r.AsDouble();
}
int32_t Integer(rt::TypedValue arg) {
    rt::TypedValue r = CallCommand(cmd::ToInteger, {arg});
    EXPECT_EQ(r.type, rt::kTypeInteger);
    return r.AsInteger();
}
std::string Text(rt::TypedValue arg) {
    rt::TypedValue r = CallCommand(cmd::ToText, {arg});
    EXPECT_EQ(r.type, rt::kTypeText);
    return TakeText(r);
}
std::string Bytes(rt::TypedValue arg) {
    rt::TypedValue r = CallCommand(cmd::ToByteSet, {arg});
    EXPECT_EQ(r.type, rt::kTypeByteSet);
    return TakeByteSet(r);
}

TEST_F(Conversions, ToNumberReadsTextsAfterFoldingFullWidthForms) {
    EXPECT_EQ(Number(Utf8TextArg("１２３")), 123.0);
    EXPECT_EQ(Number(Utf8TextArg("－１．５")), -1.5);
    EXPECT_EQ(Number(TextArg("12abc")), 12.0);
    EXPECT_EQ(Number(TextArg(" \t+2.5e3x")), 2500.0);
    EXPECT_EQ(Number(TextArg(".5")), 0.5);
    EXPECT_EQ(Number(TextArg("7.e")), 7.0);
    EXPECT_EQ(Number(TextArg("abc")), 0.0);
    EXPECT_EQ(Number(TextArg("-")), 0.0);
    EXPECT_EQ(Number(TextArg("0x1F")), 0.0);
    EXPECT_EQ(Number(TextArg("inf")), 0.0);
    EXPECT_EQ(Number(TextArg("1e999")), HUGE_VAL);
    EXPECT_EQ(Number(TextArg("-1e999")), -HUGE_VAL);
    EXPECT_EQ(Number(TextArg("1e-999")), 0.0);
    // Exponents past the range of a long must not overflow the magnitude test.
    EXPECT_EQ(Number(TextArg("1e99999999999999999999")), HUGE_VAL);
    EXPECT_EQ(Number(TextArg("0.01e-99999999999999999999")), 0.0);
    EXPECT_EQ(Number(TextArg("0.0001e-320")), 0.0);
    EXPECT_EQ(Number(TextArg("")), 0.0);
}

TEST_F(Conversions, ToNumberOfOtherTypes) {
    EXPECT_EQ(Number(rt::MakeDateTime(41760.5)), 0.0);
    EXPECT_EQ(Number(rt::MakeBoolean(true)), 1.0);
    EXPECT_EQ(Number(Typed(rt::kTypeBoolean, 7)), 1.0);
    EXPECT_EQ(Number(Typed(rt::kTypeByte, 0xFF)), 255.0);
    EXPECT_EQ(Number(Typed(rt::kTypeShortInteger, 0xFFFF)), -1.0);
    EXPECT_EQ(Number(rt::MakeLong(-5000000000LL)), -5000000000.0);
    EXPECT_EQ(Number(rt::MakeFloat(0.5f)), 0.5);
    EXPECT_EQ(Number(Typed(rt::kTypeSubroutinePointer, 0xFFFFFFFFu)), 4294967295.0);
    EXPECT_EQ(Number(ByteSetArg("12")), 0.0);
    EXPECT_EQ(Number(Omitted()), 0.0);
}

TEST_F(Conversions, ToIntegerTruncatesAndNeverOverflows) {
    EXPECT_EQ(Integer(rt::MakeDouble(2.9)), 2);
    EXPECT_EQ(Integer(rt::MakeDouble(-2.9)), -2);
    EXPECT_EQ(Integer(rt::MakeFloat(-0.5f)), 0);
    EXPECT_EQ(Integer(rt::MakeDouble(1e10)), INT32_MIN);
    EXPECT_EQ(Integer(rt::MakeDouble(std::nan(""))), INT32_MIN);
    EXPECT_EQ(Integer(rt::MakeFloat(std::numeric_limits<float>::infinity())), INT32_MIN);
    EXPECT_EQ(Integer(rt::MakeLong(0x100000005LL)), 5);
    EXPECT_EQ(Integer(Typed(rt::kTypeShortInteger, 0x8000)), -32768);
    EXPECT_EQ(Integer(rt::MakeDateTime(41760)), 0);
}

TEST_F(Conversions, ToIntegerReadsDecimalTexts) {
    EXPECT_EQ(Integer(TextArg("  -42.9")), -42);
    EXPECT_EQ(Integer(Utf8TextArg("　＋７")), 7);
    EXPECT_EQ(Integer(TextArg("12abc")), 12);
    EXPECT_EQ(Integer(TextArg("x12")), 0);
    EXPECT_EQ(Integer(TextArg("99999999999")), INT32_MAX);
    EXPECT_EQ(Integer(TextArg("-2147483648")), INT32_MIN);
    EXPECT_EQ(Integer(TextArg("-99999999999")), INT32_MIN);
}

TEST_F(Conversions, ToTextOfNumbers) {
    EXPECT_EQ(Text(rt::MakeFloat(0.1f)), "0.1");
    EXPECT_EQ(Text(rt::MakeDouble(1.0 / 3)), "0.3333333333333");
    EXPECT_EQ(Text(rt::MakeDouble(1e15)), "1e+015");
    EXPECT_EQ(Text(rt::MakeDouble(-std::numeric_limits<double>::infinity())),
              testsupport::kCLibraryNonFinite.negativeInfinity);
    EXPECT_EQ(Text(rt::MakeFloat(std::numeric_limits<float>::quiet_NaN())), testsupport::kCLibraryNonFinite.nan);
    EXPECT_EQ(Text(Typed(rt::kTypeByte, 0x1FF)), "255");
    EXPECT_EQ(Text(Typed(rt::kTypeShortInteger, 0xFFFE)), "-2");
    EXPECT_EQ(Text(rt::MakeInteger(INT32_MIN)), "-2147483648");
    EXPECT_EQ(Text(rt::MakeLong(INT64_MAX)), "9223372036854775807");
}

TEST_F(Conversions, ToTextOfOtherValues) {
    EXPECT_EQ(Text(rt::MakeBoolean(true)), rt::ToGbk("真"));
    EXPECT_EQ(Text(Typed(rt::kTypeBoolean, 2)), rt::ToGbk("真"));
    EXPECT_EQ(Text(rt::MakeBoolean(false)), rt::ToGbk("假"));
    EXPECT_EQ(Text(rt::MakeDateTime(rt::OleDateOf(2014, 5, 1, 8, 30, 0))), rt::ToGbk("2014年5月1日8时30分"));
    EXPECT_EQ(Text(rt::MakeDateTime(std::nan(""))), rt::ToGbk("100年1月1日"));
    EXPECT_EQ(Text(TextArg("abc")), "abc");
    EXPECT_EQ(Text(ByteSetArg(std::string("ab\0cd", 5))), "ab");
    EXPECT_EQ(Text(Typed(rt::kTypeSubroutinePointer, 1234)), "");
    EXPECT_EQ(Text(Typed(rt::kTypeComObject, 0)), "");
}

TEST_F(Conversions, EmptyTextResultsAreNull) {
    for (rt::TypedValue arg : {TextArg(""), ByteSetArg(""), ByteSetArg(std::string("\0x", 2)), Omitted()}) {
        rt::TypedValue r = CallCommand(cmd::ToText, {arg});
        EXPECT_EQ(r.type, rt::kTypeText);
        EXPECT_EQ(r.Pointer<void>(), nullptr);
    }
    rt::TypedValue r = CallCommand(cmd::ToByteSet, {TextArg("")});
    EXPECT_EQ(r.type, rt::kTypeByteSet);
    EXPECT_EQ(r.Pointer<void>(), nullptr);
}

TEST_F(Conversions, ArraysOfNumbersAreRawBytes) {
    rt::TypedValue shorts = ArrayArg<int16_t>(rt::kTypeShortInteger, {0x6261, 0x0063, 0x6464});
    EXPECT_EQ(Text(shorts), "abc");
    EXPECT_EQ(Bytes(shorts), std::string("abc\0dd", 6));
    testvalues::FreeArrayArg(shorts);
    rt::TypedValue empty = ArrayArg<int32_t>(rt::kTypeInteger, {});
    EXPECT_EQ(Bytes(empty), "");
    testvalues::FreeArrayArg(empty);
    rt::TypedValue texts{0, 0, rt::kTypeText | rt::kIndirectFlag};
    texts.SetPointer(rt::MakeArray(rt::kTypeText, 2));
    EXPECT_EQ(Text(texts), "");
    EXPECT_EQ(Bytes(texts), "");
    testvalues::FreeArrayArg(texts);
    EXPECT_EQ(Bytes(Typed(rt::kTypeInteger | rt::kIndirectFlag, 0)), "");
}

TEST_F(Conversions, HexText) {
    rt::TypedValue r = CallCommand(cmd::HexText, {rt::MakeInteger(255)});
    EXPECT_EQ(TakeText(r), "FF");
    r = CallCommand(cmd::HexText, {rt::MakeInteger(-1)});
    EXPECT_EQ(TakeText(r), "FFFFFFFF");
    r = CallCommand(cmd::HexText, {rt::MakeInteger(0)});
    EXPECT_EQ(TakeText(r), "0");
}

TEST_F(Conversions, ToByteSetOfValues) {
    EXPECT_EQ(Bytes(rt::MakeInteger(1)), std::string("\1\0\0\0", 4));
    EXPECT_EQ(Bytes(TextArg("abc")), "abc");
    EXPECT_EQ(Bytes(ByteSetArg(std::string("a\0b", 3))), std::string("a\0b", 3));
    EXPECT_EQ(Bytes(Typed(rt::kTypeByte, 0x1FF)), "\xFF");
    EXPECT_EQ(Bytes(rt::MakeDouble(1.0)), std::string("\0\0\0\0\0\0\xF0\x3F", 8));
    EXPECT_EQ(Bytes(rt::MakeBoolean(true)), std::string("\1\0\0\0", 4));
    EXPECT_EQ(Bytes(Typed(rt::kTypeComObject, 5)), "");
    EXPECT_EQ(Bytes(Typed(0x40000001, 5)), "");
    EXPECT_EQ(Bytes(Omitted()), "");
}

rt::TypedValue Data(std::string bytes, int32_t kind, rt::TypedValue position = Omitted()) {
    return CallCommand(cmd::ByteSetData, {ByteSetArg(bytes), rt::MakeInteger(kind), position});
}

TEST_F(Conversions, ByteSetDataFillsMissingHighBytesWithZero) {
    rt::TypedValue r = Data("\1\2", 3);
    EXPECT_EQ(r.type, rt::kTypeInteger);
    EXPECT_EQ(r.AsInteger(), 513);
    EXPECT_EQ(Data("\1\2\3", 4).AsLong(), 0x030201);
    EXPECT_EQ(Data("", 3).AsInteger(), 0);
    EXPECT_EQ(Data("\xFF\xFF", 2).AsInteger() & 0xFFFF, 0xFFFF);
    EXPECT_EQ(Data("\xFF\xFF", 2).type, rt::kTypeShortInteger);
    EXPECT_EQ(Data("\xFF", 1, rt::MakeInteger(1)).low, 0xFFu);
    EXPECT_EQ(Data(std::string("\0\0\0\x01", 4), 7).low, 1u);
    EXPECT_EQ(Data(std::string("\0\0\0\0", 4), 7).type, rt::kTypeBoolean);
}

TEST_F(Conversions, ByteSetDataClampsDates) {
    double huge = 1e300, nan = std::nan("");
    rt::TypedValue r = Data(std::string(reinterpret_cast<char *>(&huge), 8), 8);
    EXPECT_EQ(r.type, rt::kTypeDateTime);
    EXPECT_EQ(r.AsDouble(), rt::kDateMax);
    EXPECT_EQ(Data(std::string(reinterpret_cast<char *>(&nan), 8), 8).AsDouble(), rt::kDateMin);
}

TEST_F(Conversions, ByteSetDataTextsStopAtZero) {
    rt::TypedValue r = Data(std::string("ab\0cd", 5), 10);
    EXPECT_EQ(r.type, rt::kTypeText);
    EXPECT_EQ(TakeText(r), "ab");
    r = Data(std::string("ab\0cd", 5), 10, rt::MakeInteger(4));
    EXPECT_EQ(TakeText(r), "cd");
    r = Data(std::string("ab", 2), 10, rt::MakeInteger(3));
    EXPECT_EQ(r.type, rt::kTypeText);
    EXPECT_EQ(r.Pointer<void>(), nullptr);
}

rt::TypedValue Variable(int32_t &v) {
    return Typed(rt::kTypeInteger | rt::kIndirectFlag, uint64_t(uintptr_t(&v)));
}

TEST_F(Conversions, ByteSetDataAdvancesThePositionVariable) {
    std::string eight("\1\0\0\0\2\0\0\0", 8);
    int32_t position = 1;
    EXPECT_EQ(Data(eight, 3, Variable(position)).AsInteger(), 1);
    EXPECT_EQ(position, 5);
    EXPECT_EQ(Data(eight, 3, Variable(position)).AsInteger(), 2);
    EXPECT_EQ(position, -1);

    std::string texts("ab\0cd\0", 6);
    position = 1;
    rt::TypedValue r = Data(texts, 10, Variable(position));
    EXPECT_EQ(TakeText(r), "ab");
    EXPECT_EQ(position, 4);
    r = Data(texts, 10, Variable(position));
    EXPECT_EQ(TakeText(r), "cd");
    EXPECT_EQ(position, -1);

    position = 5; // a short read at the end still ends the walk
    EXPECT_EQ(Data(eight, 4, Variable(position)).AsLong(), 2);
    EXPECT_EQ(position, -1);
}

TEST_F(Conversions, ByteSetDataBeforeTheStartReadsNothing) {
    std::string eight("\1\0\0\0\2\0\0\0", 8);
    for (int32_t start : {0, -1, -5}) {
        int32_t position = start;
        EXPECT_EQ(Data(eight, 3, Variable(position)).AsInteger(), 0);
        EXPECT_EQ(position, -1) << start;
        position = start;
        rt::TypedValue r = Data(eight, 10, Variable(position));
        EXPECT_EQ(r.Pointer<void>(), nullptr);
        EXPECT_EQ(position, -1) << start;
    }
    int32_t past = 9;
    EXPECT_EQ(Data(eight, 1, Variable(past)).low, 0u);
    EXPECT_EQ(past, -1);
}

TEST_F(Conversions, ByteSetDataRejectsUnknownTypeNumbers) {
    EXPECT_EXIT(Data("ab", 11), ::testing::ExitedWithCode(testsupport::kRuntimeErrorExit), "参数值无效");
    EXPECT_EXIT(Data("ab", 0), ::testing::ExitedWithCode(testsupport::kRuntimeErrorExit), "参数值无效");
}

} // namespace
