#include <gtest/gtest.h>

#include <string>

#include "ole_test_support.h"

namespace {

VARIANT Bytes(const std::string &bytes) {
    VARIANT v;
    VariantInit(&v);
    v.vt = VT_ARRAY | VT_UI1;
    v.parray = SafeArrayCreateVector(VT_UI1, 1, ULONG(bytes.size()));
    memcpy(v.parray->pvData, bytes.data(), bytes.size());
    return v;
}

std::string BytesOf(const VARIANT &v) {
    if (v.vt != (VT_ARRAY | VT_UI1)) return "<not bytes>";
    return std::string(static_cast<const char *>(v.parray->pvData), v.parray->rgsabound[0].cElements);
}

class StreamTest : public ::testing::Test {
protected:
    IDispatch *stream = nullptr;
    void SetUp() override {
        CoInitialize(nullptr);
        stream = Create(u"Adodb.Stream");
        ASSERT_NE(stream, nullptr);
    }
    void TearDown() override {
        EXPECT_EQ(stream->Release(), 0u);
        CoUninitialize();
    }
    HRESULT Method(const char16_t *name, std::vector<VARIANT> args = {}, VARIANT *result = nullptr) {
        return CallMember(stream, name, DISPATCH_METHOD, std::move(args), result);
    }
    LONG Number(const char16_t *name) {
        Var r;
        CallMember(stream, name, DISPATCH_PROPERTYGET, {}, &r);
        return r->vt == VT_I4 ? r->lVal : -999;
    }

    // The application's charset conversion, step by step.
    std::string Convert(const std::string &bytes, const char16_t *from, const char16_t *to, LONG start = -1) {
        EXPECT_EQ(Put(stream, u"Type", Long(1)), S_OK);
        EXPECT_EQ(Method(u"Open"), S_OK);
        EXPECT_EQ(Method(u"Write", {Bytes(bytes)}), S_OK);
        EXPECT_EQ(Put(stream, u"Position", Long(0)), S_OK);
        EXPECT_EQ(Put(stream, u"Type", Long(2)), S_OK);
        EXPECT_EQ(Put(stream, u"Charset", Text(from)), S_OK);
        Var text;
        EXPECT_EQ(Method(u"ReadText", {}, &text), S_OK);
        EXPECT_EQ(Method(u"Close"), S_OK);
        EXPECT_EQ(Method(u"Open"), S_OK);
        EXPECT_EQ(Put(stream, u"Charset", Text(to)), S_OK);
        VARIANT t;
        VariantInit(&t);
        VariantCopy(&t, &text);
        EXPECT_EQ(Method(u"WriteText", {t}), S_OK);
        EXPECT_EQ(Put(stream, u"Position", Long(0)), S_OK);
        EXPECT_EQ(Put(stream, u"Type", Long(1)), S_OK);
        if (start >= 0) {
            EXPECT_EQ(Put(stream, u"Position", Long(start)), S_OK);
        }
        Var out;
        EXPECT_EQ(Method(u"Read", {}, &out), S_OK);
        Method(u"Close");
        return out->vt == VT_NULL ? std::string() : BytesOf(out.v);
    }
};

TEST_F(StreamTest, Utf8ToGbk) {
    EXPECT_EQ(Convert("\xE4\xB8\xAD", u"UTF-8", u"GBK"), "\xD6\xD0");
    EXPECT_EQ(Convert("a\xE4\xB8\xAD\xE6\x96\x87z", u"utf-8", u"gb2312"), "a\xD6\xD0\xCE\xC4z");
}

TEST_F(StreamTest, RoundTripUtf8GbkUtf8) {
    std::string utf8 = "\xE4\xB8\xAD\xE6\x96\x87 text\r\n";
    std::string gbk = Convert(utf8, u"UTF-8", u"GBK");
    EXPECT_EQ(gbk, "\xD6\xD0\xCE\xC4 text\r\n");
    // Text written as UTF-8 starts with the byte-order mark; a start position skips it.
    EXPECT_EQ(Convert(gbk, u"GBK", u"UTF-8"), "\xEF\xBB\xBF" + utf8);
    EXPECT_EQ(Convert(gbk, u"GBK", u"UTF-8", 3), utf8);
}

TEST_F(StreamTest, UnicodeWritesItsByteOrderMark) {
    EXPECT_EQ(Convert("A\xD6\xD0", u"GBK", u"unicode"), std::string("\xFF\xFE" "A\0\x2D\x4E", 6));
}

TEST_F(StreamTest, ReadingSkipsAByteOrderMarkAndReplacesBadBytes) {
    EXPECT_EQ(Convert("\xEF\xBB\xBF" "ab", u"UTF-8", u"GBK"), "ab");
    EXPECT_EQ(Convert("a\xFF" "b", u"UTF-8", u"GBK"), "a?b");
}

TEST_F(StreamTest, StateSizePositionAndReadingAtTheEnd) {
    EXPECT_EQ(Number(u"State"), 0);
    EXPECT_EQ(Number(u"Type"), 2);
    Var r;
    EXPECT_EQ(CallMember(stream, u"Size", DISPATCH_PROPERTYGET, {}, &r), DISP_E_EXCEPTION);
    ASSERT_EQ(Put(stream, u"Type", Long(1)), S_OK);
    ASSERT_EQ(Method(u"Open"), S_OK);
    EXPECT_EQ(Method(u"Open"), DISP_E_EXCEPTION);
    EXPECT_EQ(Number(u"State"), 1);
    ASSERT_EQ(Method(u"Write", {Bytes("hello")}), S_OK);
    EXPECT_EQ(Number(u"Size"), 5);
    EXPECT_EQ(Number(u"Position"), 5);
    ASSERT_EQ(Method(u"Read", {}, &r), S_OK);
    EXPECT_EQ(r->vt, VT_NULL);
    ASSERT_EQ(Put(stream, u"Position", Long(1)), S_OK);
    ASSERT_EQ(Method(u"Read", {Long(3)}, &r), S_OK);
    EXPECT_EQ(BytesOf(r.v), "ell");
    EXPECT_EQ(Put(stream, u"Position", Long(6)), DISP_E_EXCEPTION);
    // The type changes only at the start of the stream.
    EXPECT_EQ(Put(stream, u"Type", Long(2)), DISP_E_EXCEPTION);
    ASSERT_EQ(Put(stream, u"Position", Long(2)), S_OK);
    ASSERT_EQ(Method(u"SetEOS"), S_OK);
    EXPECT_EQ(Number(u"Size"), 2);
    ASSERT_EQ(Method(u"Close"), S_OK);
    EXPECT_EQ(Method(u"Close"), DISP_E_EXCEPTION);
}

TEST_F(StreamTest, WrongModeAndBadArgumentsFail) {
    ASSERT_EQ(Method(u"Open"), S_OK);
    EXPECT_EQ(Method(u"Write", {Bytes("x")}), DISP_E_EXCEPTION); // text stream
    EXPECT_EQ(Method(u"Read"), DISP_E_EXCEPTION);
    EXPECT_EQ(Put(stream, u"Charset", Text(u"no-such-charset")), DISP_E_EXCEPTION);
    EXPECT_EQ(Put(stream, u"Type", Long(3)), DISP_E_EXCEPTION);
    ASSERT_EQ(Put(stream, u"Type", Long(1)), S_OK);
    EXPECT_EQ(Method(u"WriteText", {Text(u"x")}), DISP_E_EXCEPTION);
    EXPECT_EQ(Method(u"Write", {Text(u"not bytes")}), DISP_E_EXCEPTION);
    EXPECT_EQ(Method(u"Write"), DISP_E_BADPARAMCOUNT);
    Method(u"Close");
    EXPECT_EQ(Method(u"Open", {Text(u"http://example.com/")}), DISP_E_EXCEPTION);
}

TEST_F(StreamTest, ReadTextByCountAndLine) {
    ASSERT_EQ(Put(stream, u"Charset", Text(u"GBK")), S_OK);
    ASSERT_EQ(Method(u"Open"), S_OK);
    ASSERT_EQ(Method(u"WriteText", {Text(u"中文"), Long(1)}), S_OK);
    ASSERT_EQ(Method(u"WriteText", {Text(u"end")}), S_OK);
    EXPECT_EQ(Number(u"Size"), 9);
    ASSERT_EQ(Put(stream, u"Position", Long(0)), S_OK);
    Var a, b, c;
    ASSERT_EQ(Method(u"ReadText", {Long(1)}, &a), S_OK);
    EXPECT_EQ(TextOf(a.v), u"中");
    EXPECT_EQ(Number(u"Position"), 2);
    ASSERT_EQ(Method(u"ReadText", {Long(-2)}, &b), S_OK);
    EXPECT_EQ(TextOf(b.v), u"文");
    ASSERT_EQ(Method(u"ReadText", {}, &c), S_OK);
    EXPECT_EQ(TextOf(c.v), u"end");
}

TEST_F(StreamTest, TypeIsAnEnumerationInTheTypeInformation) {
    ITypeInfo *info = nullptr;
    ASSERT_EQ(stream->GetTypeInfo(0, 0, &info), S_OK);
    ITypeComp *comp = nullptr;
    ASSERT_EQ(info->GetTypeComp(&comp), S_OK);
    std::basic_string<OLECHAR> name = OLESTR("type");
    ITypeInfo *bound = nullptr;
    DESCKIND kind;
    BINDPTR ptr;
    ASSERT_EQ(comp->Bind(name.data(), 0, DISPATCH_PROPERTYPUT, &bound, &kind, &ptr), S_OK);
    ASSERT_EQ(kind, DESCKIND_FUNCDESC);
    const TYPEDESC &t = ptr.lpfuncdesc->lprgelemdescParam[0].tdesc;
    ASSERT_EQ(t.vt, VT_USERDEFINED);
    ITypeInfo *ref = nullptr;
    ASSERT_EQ(bound->GetRefTypeInfo(t.hreftype, &ref), S_OK);
    TYPEATTR *attr;
    ASSERT_EQ(ref->GetTypeAttr(&attr), S_OK);
    EXPECT_EQ(attr->typekind, TKIND_ENUM);
    EXPECT_EQ(attr->cVars, 2);
    ref->ReleaseTypeAttr(attr);
    ref->Release();
    bound->Release();
    comp->Release();
    info->Release();
}

} // namespace
