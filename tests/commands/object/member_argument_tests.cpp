// How InvokeMember passes arguments: optional, omitted, variadic, too many, by reference
// with write-back to variables passed by address, objects by the formal's type.
#include <gtest/gtest.h>

#include "object_commands.h"
#include "object_error.h"
#include "object_test_support.h"
#include "probe_class.h"

namespace objtest {
namespace {

using testsupport::CallCommand;
using testsupport::Omitted;
using testsupport::TakeText;

class MemberArguments : public ::testing::Test {
protected:
    ObjectVar probe;
    void SetUp() override {
        Start();
        RegisterProbeClass();
        ASSERT_EQ(CallCommand(cmd::CreateObject, {probe.Arg(), Name(kProbeClassText)}).low, 1u);
    }
    double Number(std::initializer_list<rt::TypedValue> memberArgs, const char *name) {
        std::vector<rt::TypedValue> args = {probe.Arg(), Name(name)};
        args.insert(args.end(), memberArgs);
        rt::TypedValue r{0, 0, 0};
        r = rt::RuntimeHelpers.callCoreCommand(cmd::ReadNumberProperty, int32_t(args.size()), args.data());
        return r.AsDouble();
    }
};

TEST_F(MemberArguments, TrailingOmittedArgumentsAreDroppedInnerOnesPassedAsMissing) {
    EXPECT_EQ(Number({Int(1)}, "Sum"), 11); // b missing, c defaulted to 10
    EXPECT_TRUE(Probes().sawMissing);
    EXPECT_EQ(Number({Int(1), Omitted(), Omitted()}, "Sum"), 11);
    EXPECT_EQ(cmd::LastObjectError(), cmd::kObjectOk);
    EXPECT_EQ(Number({Int(1), Omitted(), Int(5)}, "Sum"), 6);
    EXPECT_TRUE(Probes().sawMissing);
    EXPECT_EQ(Number({Int(1), Int(2), Int(3)}, "Sum"), 6);
    EXPECT_FALSE(Probes().sawMissing);
}

TEST_F(MemberArguments, AnEmptyVariantIsPassedAsMissing) {
    VariantVar empty;
    EXPECT_EQ(Number({Int(1), empty.Arg(), Int(5)}, "Sum"), 6);
    EXPECT_TRUE(Probes().sawMissing);
}

TEST_F(MemberArguments, TooManyArgumentsFailWithMinus5WithoutCalling) {
    int calls = Probes().sumCalls;
    EXPECT_EQ(Number({Int(1), Int(2), Int(3), Int(4)}, "Sum"), 0);
    EXPECT_EQ(cmd::LastObjectError(), cmd::kObjectTooManyArguments);
    EXPECT_EQ(Probes().sumCalls, calls);
    // Trailing omitted arguments do not count.
    EXPECT_EQ(Number({Int(1), Int(2), Int(3), Omitted()}, "Sum"), 6);
    EXPECT_EQ(cmd::LastObjectError(), cmd::kObjectOk);
    CallCommand(cmd::CallMethod, {probe.Arg(), Name("Fail"), Int(1)});
    EXPECT_EQ(cmd::LastObjectError(), cmd::kObjectTooManyArguments);
}

TEST_F(MemberArguments, VariableArgumentListsTakeAnyNumber) {
    rt::TypedValue joined = CallCommand(cmd::CallTextMethod, {probe.Arg(), Name("Join"), Name("-"), Name("a"), Int(2),
                                                              Dbl(3.5), Bool(true)});
    EXPECT_EQ(TakeText(joined), "a-2-3.5--1"); // true crosses as -1
    rt::TypedValue one = CallCommand(cmd::CallTextMethod, {probe.Arg(), Name("Join"), Name(","), Name("x")});
    EXPECT_EQ(TakeText(one), "x");
}

TEST_F(MemberArguments, OutParametersWriteBackToVariablesPassedByAddress) {
    int32_t variable = 20;
    CallCommand(cmd::CallMethod, {probe.Arg(), Name("Store"), Address(rt::kTypeInteger, &variable)});
    EXPECT_EQ(cmd::LastObjectError(), cmd::kObjectOk);
    EXPECT_EQ(variable, 41);
    // A value (not a variable) goes in, nothing comes back anywhere.
    CallCommand(cmd::CallMethod, {probe.Arg(), Name("Store"), Int(20)});
    EXPECT_EQ(cmd::LastObjectError(), cmd::kObjectOk);
    // A double variable: converted to the formal's type for the call, back to a double after.
    double real = 2.0;
    CallCommand(cmd::CallMethod, {probe.Arg(), Name("Store"), Address(rt::kTypeDouble, &real)});
    EXPECT_EQ(real, 5.0);
    // A long integer passes its low 32 bits and comes back sign-extended.
    int64_t wide = (int64_t(7) << 32) | 0xFFFFFFFD;
    CallCommand(cmd::CallMethod, {probe.Arg(), Name("Store"), Address(rt::kTypeLongInteger, &wide)});
    EXPECT_EQ(wide, -5);
    int16_t small = -3;
    uint8_t after[2] = {0xAA, 0xAA}; // what follows a short variable stays as it was
    struct {
        int16_t value;
        uint8_t next[2];
    } shortVariable = {small, {after[0], after[1]}};
    CallCommand(cmd::CallMethod, {probe.Arg(), Name("Store"), Address(rt::kTypeShortInteger, &shortVariable.value)});
    EXPECT_EQ(shortVariable.value, -5);
    EXPECT_EQ(shortVariable.next[0], 0xAA);
    EXPECT_EQ(shortVariable.next[1], 0xAA);
    // A formal that is a pointer but not marked out writes nothing back.
    int32_t untouched = 7;
    CallCommand(cmd::CallMethod, {probe.Arg(), Name("Peek"), Address(rt::kTypeInteger, &untouched)});
    EXPECT_EQ(cmd::LastObjectError(), cmd::kObjectOk);
    EXPECT_EQ(untouched, 7);
}

TEST_F(MemberArguments, TextAndVariantVariablesReceiveNewValues) {
    char *text = rt::MakeText("ab", 2);
    CallCommand(cmd::CallMethod, {probe.Arg(), Name("Rename"), Address(rt::kTypeText, &text)});
    ASSERT_NE(text, nullptr);
    EXPECT_STREQ(text, "ab!");
    rt::FreeMemory(text);
    char *none = nullptr;
    CallCommand(cmd::CallMethod, {probe.Arg(), Name("Rename"), Address(rt::kTypeText, &none)});
    ASSERT_NE(none, nullptr);
    EXPECT_STREQ(none, "!");
    rt::FreeMemory(none);

    VariantVar variant;
    variant->vt = VT_BSTR;
    variant->bstrVal = SysAllocString(u"old");
    CallCommand(cmd::CallMethod, {probe.Arg(), Name("Swap"), variant.Ref()});
    EXPECT_EQ(cmd::LastObjectError(), cmd::kObjectOk);
    EXPECT_EQ(variant->vt, VT_I4);
    EXPECT_EQ(variant->lVal, 42);
}

TEST_F(MemberArguments, ArgumentsConvertByTheTable) {
    auto kind = [&](rt::TypedValue value) {
        CallCommand(cmd::CallMethod, {probe.Arg(), Name("Kind"), value});
        return cmd::LastObjectError() == cmd::kObjectOk ? Probes().lastArgumentType.load() : -1;
    };
    EXPECT_EQ(kind(Bool(true)), VT_BOOL);
    EXPECT_EQ(kind(rt::MakeDateTime(2.0)), VT_DATE);
    EXPECT_EQ(kind(Name("t")), VT_BSTR);
    EXPECT_EQ(kind(rt::TypedValue{7, 0, rt::kTypeByte}), VT_UI1);
    EXPECT_EQ(kind(rt::TypedValue{7, 0, rt::kTypeShortInteger}), VT_I2);
    EXPECT_EQ(kind(Int(7)), VT_I4);
    EXPECT_EQ(kind(rt::MakeLong(0x100000007)), VT_I4);
    EXPECT_EQ(kind(rt::MakeFloat(1.5f)), VT_R4);
    EXPECT_EQ(kind(Dbl(1.5)), VT_R8);
    EXPECT_EQ(Number({rt::MakeLong(0x100000007)}, "Twice"), 14); // only the low 32 bits
}

TEST_F(MemberArguments, WithoutANameNothingIsFound) {
    CallCommand(cmd::CallMethod, {probe.Arg()});
    EXPECT_EQ(cmd::LastObjectError(), cmd::kObjectNoMember);
    CallCommand(cmd::CallMethod, {probe.Arg(), Int(3)});
    EXPECT_EQ(cmd::LastObjectError(), cmd::kObjectNoMember);
}

TEST_F(MemberArguments, TypesOutsideTheTableFailWithMinus7) {
    CallCommand(cmd::CallMethod, {probe.Arg(), Name("Kind"), testsupport::ByteSetArg("ab")});
    EXPECT_EQ(cmd::LastObjectError(), cmd::kObjectBadArgument);
    CallCommand(cmd::CallMethod, {probe.Arg(), Name("Kind"), rt::TypedValue{1, 0, rt::kTypeSubroutinePointer}});
    EXPECT_EQ(cmd::LastObjectError(), cmd::kObjectBadArgument);
}

TEST_F(MemberArguments, ObjectsArePassedAsTheFormalAsks) {
    EXPECT_EQ(Number({probe.Arg()}, "Same"), -1); // VT_DISPATCH formal: the object itself (true is -1)
    EXPECT_EQ(Number({probe.Arg()}, "KindOfUnknown"), VT_UNKNOWN);
    ObjectVar plain(cmd::NewObjectBlock(NewPlainObject()));
    EXPECT_EQ(Number({plain.Arg()}, "Same"), 0); // no IDispatch: a null VT_UNKNOWN
    EXPECT_EQ(cmd::LastObjectError(), cmd::kObjectOk);
    // Any other formal receives a null VT_UNKNOWN.
    EXPECT_EQ(Number({probe.Arg()}, "Kind"), VT_UNKNOWN);
}

TEST_F(MemberArguments, VariablesAndEnumerations) {
    EXPECT_EQ(CallCommand(cmd::WriteProperty, {probe.Arg(), Name("level"), Int(9)}).low, 1u);
    EXPECT_EQ(Number({}, "Level"), 9);
    // The method kind binds the variable for reading too.
    rt::TypedValue level = CallCommand(cmd::CallTextMethod, {probe.Arg(), Name("Level")});
    EXPECT_EQ(TakeText(level), "9");
    EXPECT_EQ(Number({Int(1)}, "Pick"), VT_I4); // an enumeration formal takes VT_I4
    EXPECT_EQ(Number({Dbl(1)}, "Pick"), VT_I4);
}

TEST_F(MemberArguments, ObjectArgumentsByAddressAreReadThroughTheVariable) {
    ObjectVar same;
    CallCommand(cmd::CopyObject, {same.Arg(), probe.Arg()});
    EXPECT_EQ(Number({same.Ref()}, "Same"), -1);
    rt::TypedValue name = CallCommand(cmd::ReadTextProperty, {same.Ref(), Name("Name")});
    EXPECT_EQ(TakeText(name), "probe");
}

} // namespace
} // namespace objtest
