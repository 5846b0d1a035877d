#include <gtest/gtest.h>

#include <cmath>

#include "ole_test_support.h"

namespace {

HRESULT Change(VARIANT source, VARTYPE vt, Var &out, USHORT flags = 0) {
    HRESULT hr = VariantChangeType(&out, &source, flags, vt);
    VariantClear(&source);
    return hr;
}

TEST(Bstr, KeepsLengthEmbeddedNulsAndTerminator) {
    const OLECHAR text[] = {u'a', 0, u'b'};
    BSTR s = SysAllocStringLen(text, 3);
    ASSERT_NE(s, nullptr);
    EXPECT_EQ(SysStringLen(s), 3u);
    EXPECT_EQ(SysStringByteLen(s), 6u);
    EXPECT_EQ(s[1], 0);
    EXPECT_EQ(s[3], 0);
    EXPECT_TRUE(SysReAllocString(&s, u"longer text"));
    EXPECT_EQ(std::u16string(s), u"longer text");
    SysFreeString(s);
    EXPECT_EQ(SysStringLen(nullptr), 0u);
    EXPECT_EQ(SysAllocString(nullptr), nullptr);
    SysFreeString(nullptr);
}

TEST(Variant, CopyIsDeepAndCopyIndFollowsReferences) {
    Var a, b, c;
    a.v = Text(u"hello");
    ASSERT_EQ(VariantCopy(&b, &a), S_OK);
    EXPECT_NE(b->bstrVal, a->bstrVal);
    EXPECT_EQ(TextOf(b.v), u"hello");

    LONG target = 42;
    VARIANT ref;
    ref.vt = VT_BYREF | VT_I4;
    ref.plVal = &target;
    ASSERT_EQ(VariantCopyInd(&c, &ref), S_OK);
    EXPECT_EQ(c->vt, VT_I4);
    EXPECT_EQ(c->lVal, 42);

    VARIANT refToVariant;
    refToVariant.vt = VT_BYREF | VT_VARIANT;
    refToVariant.pvarVal = &a.v;
    ASSERT_EQ(VariantCopyInd(&c, &refToVariant), S_OK);
    EXPECT_EQ(TextOf(c.v), u"hello");
    EXPECT_NE(c->bstrVal, a->bstrVal);
}

TEST(Variant, ClearRejectsBadTypes) {
    VARIANT v;
    v.vt = 0x7F;
    EXPECT_EQ(VariantClear(&v), DISP_E_BADVARTYPE);
    v.vt = VT_BYREF | VT_EMPTY;
    EXPECT_EQ(VariantClear(&v), DISP_E_BADVARTYPE);
}

TEST(ChangeType, RealToIntegerRoundsHalfToEven) {
    Var out;
    struct {
        double in;
        LONG want;
    } cases[] = {{2.5, 2}, {3.5, 4}, {-2.5, -2}, {-3.5, -4}, {2.4999, 2}, {0.5, 0}, {1.5, 2}, {2147483647.4, 2147483647}};
    for (auto c : cases) {
        ASSERT_EQ(Change(Real(c.in), VT_I4, out), S_OK) << c.in;
        EXPECT_EQ(out->lVal, c.want) << c.in;
    }
}

TEST(ChangeType, OutOfRangeIsOverflowAndLeavesTargetAlone) {
    Var out;
    out.v = Long(7);
    EXPECT_EQ(Change(Real(2147483647.5), VT_I4, out), DISP_E_OVERFLOW);
    EXPECT_EQ(Change(Real(-2147483649.0), VT_I4, out), DISP_E_OVERFLOW);
    EXPECT_EQ(Change(Long(256), VT_UI1, out), DISP_E_OVERFLOW);
    EXPECT_EQ(Change(Long(-1), VT_UI4, out), DISP_E_OVERFLOW);
    EXPECT_EQ(Change(Long(40000), VT_I2, out), DISP_E_OVERFLOW);
    EXPECT_EQ(Change(Real(1e300), VT_R4, out), DISP_E_OVERFLOW);
    EXPECT_EQ(Change(Text(u"99999999999"), VT_I4, out), DISP_E_OVERFLOW);
    EXPECT_EQ(out->vt, VT_I4);
    EXPECT_EQ(out->lVal, 7);
    ASSERT_EQ(Change(Long(-32768), VT_I2, out), S_OK);
    EXPECT_EQ(out->iVal, -32768);
}

TEST(ChangeType, TextToNumbers) {
    Var out;
    ASSERT_EQ(Change(Text(u" 12 "), VT_I4, out), S_OK);
    EXPECT_EQ(out->lVal, 12);
    ASSERT_EQ(Change(Text(u"-1,234.5"), VT_R8, out), S_OK);
    EXPECT_DOUBLE_EQ(out->dblVal, -1234.5);
    ASSERT_EQ(Change(Text(u"2.5"), VT_I4, out), S_OK);
    EXPECT_EQ(out->lVal, 2);
    ASSERT_EQ(Change(Text(u"&H1F"), VT_I4, out), S_OK);
    EXPECT_EQ(out->lVal, 31);
    ASSERT_EQ(Change(Text(u"1e3"), VT_I2, out), S_OK);
    EXPECT_EQ(out->iVal, 1000);
    EXPECT_EQ(Change(Text(u"abc"), VT_I4, out), DISP_E_TYPEMISMATCH);
    EXPECT_EQ(Change(Text(u""), VT_R8, out), DISP_E_TYPEMISMATCH);
    EXPECT_EQ(Change(Text(u"1 2"), VT_I4, out), DISP_E_TYPEMISMATCH);
    VARIANT nullText;
    nullText.vt = VT_BSTR;
    nullText.bstrVal = nullptr;
    EXPECT_EQ(Change(nullText, VT_I4, out), DISP_E_TYPEMISMATCH);
}

TEST(ChangeType, NumbersToText) {
    Var out;
    ASSERT_EQ(Change(Long(12), VT_BSTR, out), S_OK);
    EXPECT_EQ(TextOf(out.v), u"12");
    ASSERT_EQ(Change(Real(0.1), VT_BSTR, out), S_OK);
    EXPECT_EQ(TextOf(out.v), u"0.1");
    ASSERT_EQ(Change(Real(-1234.5), VT_BSTR, out), S_OK);
    EXPECT_EQ(TextOf(out.v), u"-1234.5");
    ASSERT_EQ(Change(Real(1e20), VT_BSTR, out), S_OK);
    EXPECT_EQ(TextOf(out.v), u"1E+20");
    VARIANT empty;
    VariantInit(&empty);
    ASSERT_EQ(Change(empty, VT_BSTR, out), S_OK);
    EXPECT_EQ(TextOf(out.v), u"");
}

TEST(ChangeType, Booleans) {
    Var out;
    ASSERT_EQ(Change(Bool(true), VT_BSTR, out), S_OK);
    EXPECT_EQ(TextOf(out.v), u"-1");
    ASSERT_EQ(Change(Bool(false), VT_BSTR, out, VARIANT_ALPHABOOL), S_OK);
    EXPECT_EQ(TextOf(out.v), u"False");
    ASSERT_EQ(Change(Text(u"true"), VT_BOOL, out), S_OK);
    EXPECT_EQ(out->boolVal, VARIANT_TRUE);
    ASSERT_EQ(Change(Text(u"0"), VT_BOOL, out), S_OK);
    EXPECT_EQ(out->boolVal, VARIANT_FALSE);
    ASSERT_EQ(Change(Real(0.25), VT_BOOL, out), S_OK);
    EXPECT_EQ(out->boolVal, VARIANT_TRUE);
    ASSERT_EQ(Change(Bool(true), VT_I4, out), S_OK);
    EXPECT_EQ(out->lVal, -1);
    EXPECT_EQ(Change(Text(u"maybe"), VT_BOOL, out), DISP_E_TYPEMISMATCH);
}

TEST(ChangeType, DatesBothWays) {
    Var out;
    ASSERT_EQ(Change(Text(u"2026/12/7 23:05:09"), VT_DATE, out), S_OK);
    double date = out->date;
    EXPECT_NEAR(date, 46363 + (23 * 3600 + 5 * 60 + 9) / 86400.0, 1e-9);
    VARIANT d;
    VariantInit(&d);
    d.vt = VT_DATE;
    d.date = date;
    ASSERT_EQ(Change(d, VT_BSTR, out), S_OK);
    EXPECT_EQ(TextOf(out.v), u"2026/12/7 23:05:09");
    d.date = 2.0;
    ASSERT_EQ(Change(d, VT_BSTR, out), S_OK);
    EXPECT_EQ(TextOf(out.v), u"1900/1/1");
    d.date = 0.5;
    ASSERT_EQ(Change(d, VT_BSTR, out), S_OK);
    EXPECT_EQ(TextOf(out.v), u"12:00:00");
    ASSERT_EQ(Change(Text(u"2026-02-30"), VT_DATE, out), DISP_E_TYPEMISMATCH);
    d.date = 3.0e6;
    ASSERT_EQ(Change(d, VT_R8, out), S_OK);
    ASSERT_EQ(Change(Real(3.0e6), VT_DATE, out), DISP_E_OVERFLOW);
    // Found by fuzzing: a date beyond the years 100 to 9999 has no text.
    for (double beyond : {3.0e6, -657436.0, 8.37e298, std::nan("")}) {
        d.date = beyond;
        EXPECT_EQ(Change(d, VT_BSTR, out), E_INVALIDARG) << beyond;
    }
}

TEST(ChangeType, TextAndByteArrays) {
    Var bytes, back;
    ASSERT_EQ(Change(Text(u"AB"), VT_ARRAY | VT_UI1, bytes), S_OK);
    ASSERT_EQ(bytes->vt, VT_ARRAY | VT_UI1);
    LONG lower, upper;
    SafeArrayGetLBound(bytes->parray, 1, &lower);
    SafeArrayGetUBound(bytes->parray, 1, &upper);
    EXPECT_EQ(upper - lower + 1, 4);
    EXPECT_EQ(static_cast<BYTE *>(bytes->parray->pvData)[0], 'A');
    ASSERT_EQ(VariantChangeType(&back, &bytes, 0, VT_BSTR), S_OK);
    EXPECT_EQ(TextOf(back.v), u"AB");
    EXPECT_EQ(VariantChangeType(&back, &bytes, 0, VT_I4), DISP_E_TYPEMISMATCH);
}

TEST(ChangeType, EmptyNullAndObjects) {
    Var out;
    VARIANT empty;
    VariantInit(&empty);
    ASSERT_EQ(Change(empty, VT_DISPATCH, out), S_OK);
    EXPECT_EQ(out->vt, VT_DISPATCH);
    EXPECT_EQ(out->pdispVal, nullptr);
    ASSERT_EQ(Change(empty, VT_I4, out), S_OK);
    EXPECT_EQ(out->lVal, 0);
    VARIANT null;
    VariantInit(&null);
    null.vt = VT_NULL;
    EXPECT_EQ(Change(null, VT_BSTR, out), DISP_E_TYPEMISMATCH);
    EXPECT_EQ(Change(empty, VT_ARRAY | VT_I4, out), DISP_E_TYPEMISMATCH);
    EXPECT_EQ(VariantChangeType(&out, &empty, 0, VT_BYREF | VT_I4), DISP_E_BADVARTYPE);
    EXPECT_EQ(VariantChangeType(&out, &empty, 0, 0x7F), DISP_E_BADVARTYPE);
}

TEST(ChangeType, InPlaceAndByReference) {
    Var v;
    v.v = Text(u"41");
    ASSERT_EQ(VariantChangeType(&v, &v, 0, VT_I4), S_OK);
    EXPECT_EQ(v->vt, VT_I4);
    EXPECT_EQ(v->lVal, 41);
    double value = 3.5;
    VARIANT ref;
    ref.vt = VT_BYREF | VT_R8;
    ref.pdblVal = &value;
    ASSERT_EQ(VariantChangeType(&v, &ref, 0, VT_BSTR), S_OK);
    EXPECT_EQ(TextOf(v.v), u"3.5");
}

TEST(ChangeType, ObjectGivesItsDefaultValue) {
    CoInitialize(nullptr);
    IDispatch *re = Create(u"VBScript.RegExp");
    ASSERT_NE(re, nullptr);
    ASSERT_EQ(Put(re, u"Pattern", Text(u"b+")), S_OK);
    Var matches, first, text;
    ASSERT_EQ(CallMember(re, u"Execute", DISPATCH_METHOD, {Text(u"abbbc")}, &matches), S_OK);
    ASSERT_EQ(CallMember(matches->pdispVal, u"Item", DISPATCH_PROPERTYGET, {Long(0)}, &first), S_OK);
    // A match's default member is its Value.
    ASSERT_EQ(VariantChangeType(&text, &first, 0, VT_BSTR), S_OK);
    EXPECT_EQ(TextOf(text.v), u"bbb");
    EXPECT_EQ(VariantChangeType(&text, &first, VARIANT_NOVALUEPROP, VT_BSTR), DISP_E_TYPEMISMATCH);
    re->Release();
    CoUninitialize();
}

} // namespace
