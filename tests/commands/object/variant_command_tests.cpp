// Filling, converting and reading variants.
#include <gtest/gtest.h>

#include "object_commands.h"
#include "object_test_support.h"
#include "probe_class.h"
#include "variant_commands.h"

namespace objtest {
namespace {

using testsupport::ByteSetArg;
using testsupport::CallCommand;
using testsupport::TakeByteSet;
using testsupport::TakeText;

class VariantCommands : public ::testing::Test {
protected:
    VariantVar v;
    void SetUp() override { Start(); }
    std::string Text(std::initializer_list<rt::TypedValue> more = {}) {
        std::vector<rt::TypedValue> args = {v.Arg()};
        args.insert(args.end(), more);
        rt::TypedValue r = rt::RuntimeHelpers.callCoreCommand(cmd::VariantToText, int32_t(args.size()), args.data());
        EXPECT_EQ(r.type, rt::kTypeText);
        return TakeText(r);
    }
    std::string Bytes(std::initializer_list<rt::TypedValue> more = {}) {
        std::vector<rt::TypedValue> args = {v.Arg()};
        args.insert(args.end(), more);
        rt::TypedValue r = rt::RuntimeHelpers.callCoreCommand(cmd::VariantToByteSet, int32_t(args.size()), args.data());
        EXPECT_EQ(r.type, rt::kTypeByteSet);
        return TakeByteSet(r);
    }
    bool Assign(rt::TypedValue value) { return CallCommand(cmd::AssignVariant, {v.Arg(), value}).low != 0; }
    bool AssignAt(rt::TypedValue value, int32_t index) {
        return CallCommand(cmd::AssignVariant, {v.Arg(), value, Int(index)}).low != 0;
    }
    bool CreateArray(int32_t type, int32_t count) {
        return CallCommand(cmd::CreateVariantArray, {v.Arg(), Int(type), Int(count)}).low != 0;
    }
};

TEST_F(VariantCommands, ToTextOfNumbersAndEmpty) {
    EXPECT_EQ(Text(), "");
    v->vt = VT_I4;
    v->lVal = 12;
    EXPECT_EQ(Text(), "12");
    ASSERT_TRUE(Assign(U8("变体")));
    EXPECT_EQ(v->vt, VT_BSTR);
    EXPECT_EQ(Text(), rt::ToGbk("变体"));
    ASSERT_TRUE(Assign(Dbl(2.5)));
    EXPECT_EQ(Text(), "2.5");
    v->vt = VT_NULL;
    EXPECT_EQ(Text(), ""); // cannot become text
}

TEST_F(VariantCommands, ByteSetsRoundTripAsByteArraysWithLowerBoundOne) {
    std::string bytes("\x01\x00\xFFz", 4);
    ASSERT_TRUE(Assign(ByteSetArg(bytes)));
    ASSERT_EQ(v->vt, VT_ARRAY | VT_UI1);
    LONG lower = 0;
    SafeArrayGetLBound(v->parray, 1, &lower);
    EXPECT_EQ(lower, 1);
    EXPECT_EQ(Bytes(), bytes);
    EXPECT_EQ(Text(), ""); // a whole array is no text
    EXPECT_EQ(Bytes({Int(3)}), ""); // one byte does not become a byte set
    ASSERT_TRUE(Assign(Name("ab")));
    EXPECT_EQ(Bytes(), std::string("a\0b\0", 4)); // a text's UTF-16 units
}

TEST_F(VariantCommands, EmptyByteSetGivesAnEmptyArray) {
    ASSERT_TRUE(Assign(ByteSetArg("")));
    ASSERT_EQ(v->vt, VT_ARRAY | VT_UI1);
    EXPECT_EQ(v->parray->rgsabound[0].cElements, 0u);
    EXPECT_EQ(Bytes(), "");
}

TEST_F(VariantCommands, ByteSetsOfOtherArraysAreEmpty) {
    ASSERT_TRUE(CreateArray(3, 2));
    EXPECT_EQ(Bytes(), "");
    ASSERT_TRUE(AssignAt(Int(65), 1));
    EXPECT_EQ(Text({Int(1)}), "65");
}

TEST_F(VariantCommands, SetVariantType) {
    v->vt = VT_BSTR;
    v->bstrVal = SysAllocString(u"dropped");
    EXPECT_EQ(CallCommand(cmd::SetVariantType, {v.Arg(), Int(0)}).low, 1u);
    EXPECT_EQ(v->vt, VT_EMPTY);
    EXPECT_EQ(CallCommand(cmd::SetVariantType, {v.Arg(), Int(14)}).low, 0u);
    EXPECT_EQ(CallCommand(cmd::SetVariantType, {v.Arg(), Int(-1)}).low, 0u);
    EXPECT_EQ(CallCommand(cmd::SetVariantType, {v.Arg(), Int(1)}).low, 1u);
    EXPECT_EQ(v->vt, VT_I4);
    EXPECT_EQ(v->lVal, 0);
    EXPECT_EQ(CallCommand(cmd::SetVariantType, {v.Arg(), Int(2)}).low, 1u);
    EXPECT_EQ(v->vt, VT_BSTR);
    EXPECT_EQ(CallCommand(cmd::SetVariantType, {v.Arg(), Int(3)}).low, 1u);
    EXPECT_EQ(v->vt, VT_BOOL);
    EXPECT_EQ(CallCommand(cmd::SetVariantType, {v.Arg(), Int(4)}).low, 1u);
    EXPECT_EQ(v->vt, VT_DATE);
    // Nor an object or an error, as in Win32: the variant is left empty.
    EXPECT_EQ(CallCommand(cmd::SetVariantType, {v.Arg(), Int(5)}).low, 0u);
    EXPECT_EQ(v->vt, VT_EMPTY);
    EXPECT_EQ(CallCommand(cmd::SetVariantType, {v.Arg(), Int(6)}).low, 0u);
    // An empty variant does not become an array.
    EXPECT_EQ(CallCommand(cmd::SetVariantType, {v.Arg(), Int(7)}).low, 0u);
    EXPECT_EQ(CallCommand(cmd::SetVariantType, {v.Arg(), Int(13)}).low, 0u);
    EXPECT_EQ(v->vt, VT_EMPTY);
}

TEST_F(VariantCommands, CreateVariantArray) {
    EXPECT_FALSE(CreateArray(0, 3));
    EXPECT_FALSE(CreateArray(11, 3));
    EXPECT_FALSE(CreateArray(1, -1));
    const VARTYPE expected[] = {VT_UI1, VT_I2, VT_I4, VT_R4, VT_R8, VT_BSTR, VT_BOOL, VT_DATE, VT_UNKNOWN, VT_VARIANT};
    for (int32_t type = 1; type <= 10; ++type) {
        ASSERT_TRUE(CreateArray(type, 3)) << type;
        EXPECT_EQ(v->vt, VT_ARRAY | expected[type - 1]);
        LONG lower = 0, upper = 0;
        SafeArrayGetLBound(v->parray, 1, &lower);
        SafeArrayGetUBound(v->parray, 1, &upper);
        EXPECT_EQ(lower, 1);
        EXPECT_EQ(upper, 3);
    }
}

TEST_F(VariantCommands, ElementsByIndexFromOne) {
    ASSERT_TRUE(CreateArray(10, 3));
    EXPECT_TRUE(AssignAt(Int(7), 1));
    EXPECT_TRUE(AssignAt(Name("two"), 2));
    EXPECT_TRUE(AssignAt(ByteSetArg("ab"), 3)); // an array as an element of a variant array
    EXPECT_FALSE(AssignAt(Int(1), 0));
    EXPECT_FALSE(AssignAt(Int(1), 4));
    EXPECT_EQ(Text({Int(1)}), "7");
    EXPECT_EQ(Text({Int(2)}), "two");
    EXPECT_EQ(Bytes({Int(3)}), "ab");
    EXPECT_EQ(Text({Int(0)}), "");
    EXPECT_EQ(Text({Int(4)}), "");
}

TEST_F(VariantCommands, ElementsAreChangedToTheArrayType) {
    ASSERT_TRUE(CreateArray(5, 2));
    EXPECT_TRUE(AssignAt(Name("1.5"), 1));
    EXPECT_FALSE(AssignAt(Name("not a number"), 2));
    EXPECT_FALSE(AssignAt(ByteSetArg("ab"), 2)); // arrays go only into variant arrays
    EXPECT_EQ(Text({Int(1)}), "1.5");
    EXPECT_EQ(Text({Int(2)}), "0");
}

TEST_F(VariantCommands, MultiDimensionalIndexesRunFirstDimensionFastest) {
    SAFEARRAYBOUND bounds[2] = {{2, 0}, {3, 5}};
    SAFEARRAY *array = SafeArrayCreate(VT_I4, 2, bounds);
    v->vt = VT_ARRAY | VT_I4;
    v->parray = array;
    for (int32_t i = 1; i <= 6; ++i) ASSERT_TRUE(AssignAt(Int(i * 10), i));
    EXPECT_FALSE(AssignAt(Int(1), 7));
    LONG second[2] = {1, 6}; // element 4: first subscript 1 of 0..1, second 6 of 5..7
    LONG value = 0;
    ASSERT_EQ(SafeArrayGetElement(array, second, &value), S_OK);
    EXPECT_EQ(value, 40);
    EXPECT_EQ(Text({Int(6)}), "60");
}

TEST_F(VariantCommands, RuntimeArraysBecomeOneDimensionalSafeArrays) {
    void *numbers = rt::MakeArray(rt::kTypeInteger, 3);
    int32_t values[3] = {5, -6, 7};
    std::memcpy(rt::ArrayElementsOf(numbers).first, values, sizeof values);
    ASSERT_TRUE(Assign(Address(rt::kTypeInteger, numbers)));
    ASSERT_EQ(v->vt, VT_ARRAY | VT_I4);
    EXPECT_EQ(Text({Int(2)}), "-6");
    rt::FreeArray(rt::kTypeInteger, numbers);

    void *texts = rt::MakeArray(rt::kTypeText, 2);
    rt::SetPointerElement(rt::ArrayElementsOf(texts).first, 0, rt::MakeText("x", 1));
    ASSERT_TRUE(Assign(Address(rt::kTypeText, texts)));
    ASSERT_EQ(v->vt, VT_ARRAY | VT_BSTR);
    EXPECT_EQ(Text({Int(1)}), "x");
    EXPECT_EQ(Text({Int(2)}), "");
    rt::FreeArray(rt::kTypeText, texts);

    void *flags = rt::MakeArray(rt::kTypeBoolean, 1);
    int32_t yes = 1;
    std::memcpy(rt::ArrayElementsOf(flags).first, &yes, 4);
    ASSERT_TRUE(Assign(Address(rt::kTypeBoolean, flags)));
    VARIANT_BOOL stored = 0;
    LONG one = 1;
    SafeArrayGetElement(v->parray, &one, &stored);
    EXPECT_EQ(stored, VARIANT_TRUE);
    rt::FreeArray(rt::kTypeBoolean, flags);
}

TEST_F(VariantCommands, ObjectsAreStoredAsUnknown) {
    RegisterProbeClass();
    int before = Probes().objects;
    {
        ObjectVar probe;
        ASSERT_EQ(CallCommand(cmd::CreateObject, {probe.Arg(), Name(kProbeClassText)}).low, 1u);
        ASSERT_TRUE(Assign(probe.Arg()));
        EXPECT_EQ(v->vt, VT_UNKNOWN);
        ObjectVar empty;
        EXPECT_TRUE(Assign(empty.Arg())); // stored as nothing, still true
        EXPECT_EQ(v->vt, VT_EMPTY);
        ASSERT_TRUE(Assign(probe.Arg()));
    }
    EXPECT_EQ(Probes().objects, before + 1); // the variant holds it
    CallCommand(cmd::ClearVariant, {v.Arg()});
    EXPECT_EQ(v->vt, VT_EMPTY);
    EXPECT_EQ(Probes().objects, before);
}

TEST_F(VariantCommands, VariantsPassedByAddressAreTheVariablesBlock) {
    EXPECT_TRUE(CallCommand(cmd::AssignVariant, {v.Ref(), Int(5)}).low);
    EXPECT_EQ(v->vt, VT_I4);
    rt::TypedValue text = CallCommand(cmd::VariantToText, {v.Ref()});
    EXPECT_EQ(TakeText(text), "5");
    CallCommand(cmd::ClearVariant, {v.Ref()});
    EXPECT_EQ(v->vt, VT_EMPTY);
}

TEST_F(VariantCommands, AVariantAssignedToItselfKeepsItsValue) {
    ASSERT_TRUE(Assign(Name("kept")));
    EXPECT_TRUE(Assign(v.Arg()));
    EXPECT_EQ(Text(), "kept");
    ASSERT_TRUE(CreateArray(10, 2));
    ASSERT_TRUE(AssignAt(Int(4), 1));
    EXPECT_TRUE(Assign(v.Arg()));
    EXPECT_EQ(Text({Int(1)}), "4");
}

TEST_F(VariantCommands, AValueThatCannotBeStoredLeavesTheVariantEmpty) {
    ASSERT_TRUE(Assign(Int(3)));
    EXPECT_FALSE(Assign(rt::TypedValue{1, 0, rt::kTypeSubroutinePointer}));
    EXPECT_EQ(v->vt, VT_EMPTY);
}

TEST_F(VariantCommands, MissingVariantsAreHarmless) {
    rt::TypedValue none{0, 0, rt::kTypeVariant};
    EXPECT_EQ(CallCommand(cmd::AssignVariant, {none, Int(1)}).low, 0u);
    EXPECT_EQ(CallCommand(cmd::SetVariantType, {none, Int(1)}).low, 0u);
    EXPECT_EQ(CallCommand(cmd::CreateVariantArray, {none, Int(1), Int(2)}).low, 0u);
    rt::TypedValue text = CallCommand(cmd::VariantToText, {none});
    EXPECT_EQ(TakeText(text), "");
    CallCommand(cmd::ClearVariant, {none});
    EXPECT_EQ(CallCommand(cmd::AssignVariant, {Int(1), Int(1)}).low, 0u); // not a variant at all
}

} // namespace
} // namespace objtest
