#include <gtest/gtest.h>

#include <cmath>

#include "ole_test_support.h"

namespace {

HRESULT Change(VARIANT source, VARTYPE vt, Var &out, USHORT flags = 0) {
    HRESULT hr = VariantChangeType(&out, &source, flags, vt);
    VariantClear(&source);
    return hr;
}

// A variant of type vt whose value is the low bytes of bits.
VARIANT Of(VARTYPE vt, LONGLONG bits = 0) {
    VARIANT v;
    VariantInit(&v);
    v.vt = vt;
    v.llVal = bits;
    return v;
}

// The integer a variant holds, read through its own type.
LONGLONG IntegerOf(const VARIANT &v) {
    switch (v.vt) {
    case VT_I1: return v.cVal;
    case VT_UI1: return v.bVal;
    case VT_I2: return v.iVal;
    case VT_UI2: return v.uiVal;
    case VT_I4: return v.lVal;
    case VT_UI4: return v.ulVal;
    case VT_INT: return v.intVal;
    case VT_UINT: return v.uintVal;
    case VT_BOOL: return v.boolVal;
    case VT_CY: return v.cyVal.int64;
    case VT_DECIMAL: return v.decVal.sign ? -LONGLONG(v.decVal.Lo64) : LONGLONG(v.decVal.Lo64);
    default: return v.llVal;
    }
}

TEST(Bstr, KeepsLengthEmbeddedNulsAndTerminator) {
    const OLECHAR text[] = {u'a', 0, u'b'};
    BSTR s = SysAllocStringLen(text, 3);
    ASSERT_NE(s, nullptr);
    EXPECT_EQ(SysStringLen(s), 3u);
    EXPECT_EQ(SysStringByteLen(s), 6u);
    EXPECT_EQ(s[1], 0);
    EXPECT_EQ(s[3], 0);
    EXPECT_TRUE(SysReAllocString(&s, OLESTR("longer text")));
    EXPECT_EQ(Utf16(s), u"longer text");
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
    EXPECT_EQ(Change(Long(-1), VT_UI2, out), DISP_E_OVERFLOW);
    EXPECT_EQ(Change(Of(VT_I2, -1), VT_UI1, out), DISP_E_OVERFLOW);
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

// Integers of one width change signedness by their bits; a Boolean converts by its
// 16-bit value, whatever that is, except to a decimal, which gets 1 or 0.
TEST(ChangeType, SameWidthIntegersAndBooleansKeepTheirBits) {
    struct {
        VARTYPE from;
        LONGLONG in;
        VARTYPE to;
        LONGLONG want;
    } cases[] = {
        {VT_I1, -1, VT_UI1, 0xFF},           {VT_UI1, 0x80, VT_I1, -128},      {VT_I2, -2, VT_UI2, 0xFFFE},
        {VT_UI2, 0xFFFF, VT_I2, -1},         {VT_I4, -1, VT_UI4, 0xFFFFFFFF},  {VT_UI4, 0xFFFFFFFF, VT_I4, -1},
        {VT_UINT, 0xFFFFFFFF, VT_I4, -1},    {VT_INT, -1, VT_UI4, 0xFFFFFFFF}, {VT_BOOL, 1, VT_I4, 1},
        {VT_BOOL, 1, VT_UI1, 1},             {VT_BOOL, -1, VT_UI1, 0xFF},      {VT_BOOL, -1, VT_UI2, 0xFFFF},
        {VT_BOOL, 1, VT_CY, 10000},          {VT_BOOL, -1, VT_DECIMAL, 1},     {VT_BOOL, 1, VT_DECIMAL, 1},
        {VT_BOOL, 1, VT_BOOL, 1},
    };
    for (auto c : cases) {
        Var out;
        ASSERT_EQ(Change(Of(c.from, c.in), c.to, out), S_OK) << c.from << " -> " << c.to;
        EXPECT_EQ(out->vt, c.to);
        EXPECT_EQ(IntegerOf(out.v), c.want) << c.from << " -> " << c.to;
    }
    Var text;
    ASSERT_EQ(Change(Of(VT_BOOL, 1), VT_BSTR, text), S_OK);
    EXPECT_EQ(TextOf(text.v), u"1");
    ASSERT_EQ(Change(Of(VT_BOOL, 1), VT_R8, text), S_OK);
    EXPECT_EQ(text->dblVal, 1.0);
}

// Which type pairs convert at all, and the result type when they do.
TEST(ChangeType, EmptyNullErrorAndVariantTargets) {
    const HRESULT ok = S_OK, mismatch = DISP_E_TYPEMISMATCH, bad = DISP_E_BADVARTYPE;
    SAFEARRAYBOUND two = {2, 0};
    struct {
        VARTYPE from;
        VARTYPE to;
        HRESULT want;
    } cases[] = {
        {VT_I4, VT_NULL, ok},          {VT_BSTR, VT_NULL, ok},          {VT_UNKNOWN, VT_NULL, ok},
        {VT_DECIMAL, VT_NULL, ok},     {VT_UI8, VT_EMPTY, ok},          {VT_DISPATCH, VT_EMPTY, ok},
        {VT_EMPTY, VT_NULL, ok},       {VT_NULL, VT_EMPTY, mismatch},   {VT_ERROR, VT_NULL, mismatch},
        {VT_ERROR, VT_EMPTY, mismatch}, {VT_ERROR, VT_I4, mismatch},    {VT_ERROR, VT_BSTR, mismatch},
        {VT_I4, VT_ERROR, mismatch},   {VT_UI4, VT_ERROR, mismatch},    {VT_EMPTY, VT_ERROR, mismatch},
        {VT_ERROR, VT_ERROR, ok},      {VT_I4, VT_VARIANT, mismatch},   {VT_EMPTY, VT_VARIANT, mismatch},
        {VT_EMPTY, VT_DISPATCH, mismatch}, {VT_EMPTY, VT_UNKNOWN, mismatch}, {VT_UNKNOWN, VT_DISPATCH, ok},
        {VT_NULL, VT_BSTR, mismatch},  {VT_UNKNOWN, VT_I4, mismatch},   {VT_BSTR, VT_UNKNOWN, mismatch},
        {VT_I4, VT_RECORD, mismatch},  {VT_I4, VT_INT_PTR, bad},        {VT_I4, VT_BYREF | VT_I4, mismatch},
        {VT_ARRAY | VT_I4, VT_EMPTY, mismatch}, {VT_ARRAY | VT_I4, VT_NULL, mismatch},
        {VT_ARRAY | VT_I4, VT_ARRAY | VT_I4, ok}, {VT_ARRAY | VT_I4, VT_ARRAY | VT_I2, mismatch},
        {VT_EMPTY, VT_ARRAY | VT_I4, mismatch},
    };
    for (auto c : cases) {
        Var out;
        out.v = Long(7);
        VARIANT in = Of(c.from);
        if (c.from == VT_BSTR) in = Text(u"12");
        if (c.from & VT_ARRAY) in.parray = SafeArrayCreate(VT_I4, 1, &two);
        HRESULT hr = Change(in, c.to, out);
        EXPECT_EQ(hr, c.want) << c.from << " -> " << c.to;
        EXPECT_EQ(out->vt, hr == S_OK ? c.to : VARTYPE(VT_I4)) << c.from << " -> " << c.to;
    }
}

// The locale decides how dates and local Boolean words are written and read.
TEST(ChangeType, TheLocaleDecidesDateAndBooleanTexts) {
    const LCID unitedStates = 0x0409, france = 0x040C, china = 0x0804;
    const double noonOnJanuaryTheSecond = 25570.5, evening = 25570 + (13 * 3600 + 5 * 60 + 9) / 86400.0;
    struct {
        VARIANT in;
        LCID lcid;
        USHORT flags;
        const char16_t *want;
    } cases[] = {
        {Of(VT_BOOL, 0), france, VARIANT_LOCALBOOL, u"Faux"},
        {Of(VT_BOOL, -1), france, VARIANT_LOCALBOOL, u"Vrai"},
        {Of(VT_BOOL, 0), france, VARIANT_ALPHABOOL, u"False"},
        {Of(VT_BOOL, 0), france, VARIANT_ALPHABOOL | VARIANT_LOCALBOOL, u"Faux"},
        {Of(VT_BOOL, 1), unitedStates, VARIANT_ALPHABOOL, u"True"},
        {Of(VT_BOOL, 0), unitedStates, VARIANT_LOCALBOOL, u"False"},
    };
    for (auto &c : cases) {
        Var out;
        ASSERT_EQ(VariantChangeTypeEx(&out, &c.in, c.lcid, c.flags, VT_BSTR), S_OK) << c.lcid;
        EXPECT_EQ(TextOf(out.v), c.want) << c.lcid;
    }
    struct {
        double date;
        LCID lcid;
        const char16_t *text;
    } dates[] = {
        {25570, unitedStates, u"1/2/1970"},     {noonOnJanuaryTheSecond, unitedStates, u"1/2/1970 12:00:00 PM"},
        {evening, unitedStates, u"1/2/1970 1:05:09 PM"}, {evening, china, u"1970/1/2 13:05:09"},
        {25570, france, u"02/01/1970"},         {evening, france, u"02/01/1970 13:05:09"},
    };
    for (auto &d : dates) {
        Var text, back;
        VARIANT date = Of(VT_DATE);
        date.date = d.date;
        ASSERT_EQ(VariantChangeTypeEx(&text, &date, d.lcid, 0, VT_BSTR), S_OK);
        EXPECT_EQ(TextOf(text.v), d.text);
        ASSERT_EQ(VariantChangeTypeEx(&back, &text, d.lcid, 0, VT_DATE), S_OK) << d.lcid;
        EXPECT_NEAR(back->date, d.date, 1e-6) << d.lcid;
    }
    Var read;
    VARIANT yearFirst = Text(u"1970/1/2"), localWord = Text(u"faux");
    ASSERT_EQ(VariantChangeTypeEx(&read, &yearFirst, unitedStates, 0, VT_DATE), S_OK);
    EXPECT_EQ(read->date, 25570.0);
    ASSERT_EQ(VariantChangeTypeEx(&read, &localWord, france, VARIANT_LOCALBOOL, VT_BOOL), S_OK);
    EXPECT_EQ(read->boolVal, VARIANT_FALSE);
    EXPECT_EQ(VariantChangeTypeEx(&read, &localWord, unitedStates, VARIANT_LOCALBOOL, VT_BOOL), DISP_E_TYPEMISMATCH);
    VariantClear(&yearFirst);
    VariantClear(&localWord);
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
    for (double beyond : {3.0e6, -657436.0, 8.37e298}) {
        d.date = beyond;
        EXPECT_EQ(Change(d, VT_BSTR, out), E_INVALIDARG) << beyond;
    }
}

// Nor has a NaN, which is no day at all.
TEST(ChangeType, ANaNDateHasNoText) {
    Var out;
    VARIANT d;
    VariantInit(&d);
    d.vt = VT_DATE;
    d.date = std::nan("");
    EXPECT_EQ(Change(d, VT_BSTR, out), E_INVALIDARG);
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
    ASSERT_EQ(Change(Of(VT_UNKNOWN), VT_DISPATCH, out), S_OK);
    EXPECT_EQ(out->vt, VT_DISPATCH);
    EXPECT_EQ(out->pdispVal, nullptr);
    ASSERT_EQ(Change(empty, VT_I4, out), S_OK);
    EXPECT_EQ(out->lVal, 0);
    VARIANT null;
    VariantInit(&null);
    null.vt = VT_NULL;
    EXPECT_EQ(Change(null, VT_BSTR, out), DISP_E_TYPEMISMATCH);
    EXPECT_EQ(Change(empty, VT_ARRAY | VT_I4, out), DISP_E_TYPEMISMATCH);
    // A reference is a valid type that no value converts to.
    EXPECT_EQ(VariantChangeType(&out, &empty, 0, VT_BYREF | VT_I4), DISP_E_TYPEMISMATCH);
    EXPECT_EQ(VariantChangeType(&out, &empty, 0, VT_BYREF | 0x7F), DISP_E_BADVARTYPE);
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
    // A reference that points nowhere is a mismatch, and the destination stays as it was.
    VARIANT nowhere;
    nowhere.vt = VT_BYREF | VT_VARIANT;
    nowhere.pvarVal = nullptr;
    EXPECT_EQ(VariantChangeType(&v, &nowhere, 0, VT_I4), DISP_E_TYPEMISMATCH);
    EXPECT_EQ(VariantChangeType(&v, &nowhere, 0, VT_VARIANT), DISP_E_TYPEMISMATCH);
    EXPECT_EQ(VariantChangeType(&v, &nowhere, 0, VT_BYREF | VT_I4), DISP_E_TYPEMISMATCH);
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
    // Only a dispatch source is asked for its value, never the same object as VT_UNKNOWN.
    Var unknown;
    ASSERT_EQ(VariantChangeType(&unknown, &first, 0, VT_UNKNOWN), S_OK);
    EXPECT_EQ(VariantChangeType(&text, &unknown, 0, VT_BSTR), DISP_E_TYPEMISMATCH);
    EXPECT_EQ(VariantChangeType(&text, &unknown, 0, VT_I4), DISP_E_TYPEMISMATCH);
    re->Release();
    CoUninitialize();
}

} // namespace
