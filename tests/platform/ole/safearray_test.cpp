#include <gtest/gtest.h>

#include "ole_test_support.h"

namespace {

TEST(SafeArray, BoundsAndElementsOfOneDimension) {
    SAFEARRAYBOUND bound = {3, 1};
    SAFEARRAY *a = SafeArrayCreate(VT_I4, 1, &bound);
    ASSERT_NE(a, nullptr);
    LONG lower = 0, upper = 0;
    EXPECT_EQ(SafeArrayGetLBound(a, 1, &lower), S_OK);
    EXPECT_EQ(SafeArrayGetUBound(a, 1, &upper), S_OK);
    EXPECT_EQ(lower, 1);
    EXPECT_EQ(upper, 3);
    EXPECT_EQ(SafeArrayGetLBound(a, 2, &lower), DISP_E_BADINDEX);
    LONG index = 3, value = 99, read = 0;
    EXPECT_EQ(SafeArrayPutElement(a, &index, &value), S_OK);
    EXPECT_EQ(SafeArrayGetElement(a, &index, &read), S_OK);
    EXPECT_EQ(read, 99);
    index = 0;
    EXPECT_EQ(SafeArrayPutElement(a, &index, &value), DISP_E_BADINDEX);
    index = 4;
    EXPECT_EQ(SafeArrayGetElement(a, &index, &read), DISP_E_BADINDEX);
    VARTYPE vt;
    EXPECT_EQ(SafeArrayGetVartype(a, &vt), S_OK);
    EXPECT_EQ(vt, VT_I4);
    EXPECT_EQ(SafeArrayDestroy(a), S_OK);
    // Pointer-sized integers may be elements, though no VARIANT holds one by value.
    SAFEARRAY *pointers = SafeArrayCreate(VT_INT_PTR, 1, &bound);
    ASSERT_NE(pointers, nullptr);
    EXPECT_EQ(SafeArrayGetElemsize(pointers), UINT(sizeof(INT_PTR)));
    EXPECT_EQ(SafeArrayDestroy(pointers), S_OK);
    EXPECT_EQ(SafeArrayCreate(VT_VOID, 1, &bound), nullptr);
}

TEST(SafeArray, FirstDimensionVariesFastest) {
    SAFEARRAYBOUND bounds[2] = {{2, 0}, {3, 10}}; // 2 x 3
    SAFEARRAY *a = SafeArrayCreate(VT_I2, 2, bounds);
    ASSERT_NE(a, nullptr);
    LONG lower;
    SafeArrayGetLBound(a, 2, &lower);
    EXPECT_EQ(lower, 10);
    LONG at[2] = {1, 11};
    SHORT value = 7;
    ASSERT_EQ(SafeArrayPutElement(a, at, &value), S_OK);
    SHORT *data;
    ASSERT_EQ(SafeArrayAccessData(a, (void **)&data), S_OK);
    EXPECT_EQ(data[1 + 1 * 2], 7);
    EXPECT_EQ(SafeArrayDestroy(a), DISP_E_ARRAYISLOCKED);
    SafeArrayUnaccessData(a);
    EXPECT_EQ(SafeArrayUnaccessData(a), E_UNEXPECTED);
    EXPECT_EQ(SafeArrayDestroy(a), S_OK);
}

TEST(SafeArray, TextAndVariantElementsAreCopied) {
    SAFEARRAY *a = SafeArrayCreateVector(VT_BSTR, 0, 2);
    BSTR s = SysAllocString(OLESTR("one"));
    LONG i = 1;
    ASSERT_EQ(SafeArrayPutElement(a, &i, s), S_OK);
    SysFreeString(s);
    BSTR got = nullptr;
    ASSERT_EQ(SafeArrayGetElement(a, &i, &got), S_OK);
    EXPECT_EQ(Utf16(got), u"one");
    SysFreeString(got);

    SAFEARRAY *copy = nullptr;
    ASSERT_EQ(SafeArrayCopy(a, &copy), S_OK);
    SafeArrayDestroy(a);
    ASSERT_EQ(SafeArrayGetElement(copy, &i, &got), S_OK);
    EXPECT_EQ(Utf16(got), u"one");
    SysFreeString(got);
    SafeArrayDestroy(copy);

    SAFEARRAY *v = SafeArrayCreateVector(VT_VARIANT, 1, 1);
    VARIANT t = Text(u"inner");
    i = 1;
    ASSERT_EQ(SafeArrayPutElement(v, &i, &t), S_OK);
    VariantClear(&t);
    Var back;
    ASSERT_EQ(SafeArrayGetElement(v, &i, &back), S_OK);
    EXPECT_EQ(TextOf(back.v), u"inner");
    SafeArrayDestroy(v);
}

TEST(SafeArray, RejectsBadElementTypesAndSizes) {
    SAFEARRAYBOUND bound = {1, 0};
    EXPECT_EQ(SafeArrayCreate(VT_EMPTY, 1, &bound), nullptr);
    EXPECT_EQ(SafeArrayCreate(VT_I4, 0, &bound), nullptr);
    SAFEARRAY *empty = SafeArrayCreateVector(VT_UI1, 1, 0);
    ASSERT_NE(empty, nullptr);
    LONG upper;
    SafeArrayGetUBound(empty, 1, &upper);
    EXPECT_EQ(upper, 0);
    SafeArrayDestroy(empty);
}

// Bounds whose byte size does not fit the address space give no array, not a short one.
TEST(SafeArray, BoundsWhoseSizeOverflowsAreRefused) {
    SAFEARRAYBOUND huge[2] = {{0xFFFFFFFF, 0}, {0xFFFFFFFF, 0}};
    EXPECT_EQ(SafeArrayCreate(VT_R8, 2, huge), nullptr);
}

TEST(SafeArray, VariantOwnsItsArray) {
    Var v;
    v->vt = VT_ARRAY | VT_UI1;
    v->parray = SafeArrayCreateVector(VT_UI1, 1, 4);
    Var copy;
    ASSERT_EQ(VariantCopy(&copy, &v), S_OK);
    EXPECT_NE(copy->parray, v->parray);
    EXPECT_EQ(copy->parray->rgsabound[0].lLbound, 1);
}

} // namespace
