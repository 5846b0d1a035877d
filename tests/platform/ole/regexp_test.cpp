#include <gtest/gtest.h>

#include "ole_test_support.h"

namespace {

class RegExpTest : public ::testing::Test {
protected:
    IDispatch *re = nullptr;
    void SetUp() override {
        CoInitialize(nullptr);
        re = Create(u"VBScript.RegExp");
        ASSERT_NE(re, nullptr);
    }
    void TearDown() override {
        EXPECT_EQ(re->Release(), 0u);
        CoUninitialize();
    }
    void Configure(const std::u16string &pattern, bool ignoreCase, bool multiline, bool global) {
        ASSERT_EQ(Put(re, u"IgnoreCase", Bool(ignoreCase)), S_OK);
        ASSERT_EQ(Put(re, u"Multiline", Bool(multiline)), S_OK);
        ASSERT_EQ(Put(re, u"Global", Bool(global)), S_OK);
        ASSERT_EQ(Put(re, u"Pattern", Text(pattern)), S_OK);
    }
    std::vector<std::u16string> Matches(const std::u16string &subject) {
        std::vector<std::u16string> out;
        Var collection, count;
        if (FAILED(CallMember(re, u"Execute", DISPATCH_METHOD, {Text(subject)}, &collection))) return {u"<failed>"};
        CallMember(collection->pdispVal, u"Count", DISPATCH_PROPERTYGET, {}, &count);
        for (LONG i = 0; i < count->lVal; ++i) {
            Var match, value;
            CallMember(collection->pdispVal, u"Item", DISPATCH_PROPERTYGET, {Real(i)}, &match);
            CallMember(match->pdispVal, u"Value", DISPATCH_PROPERTYGET, {}, &value);
            out.push_back(TextOf(value.v));
        }
        return out;
    }
    std::u16string Replace(const std::u16string &subject, const std::u16string &with) {
        Var r;
        if (FAILED(CallMember(re, u"Replace", DISPATCH_METHOD, {Text(subject), Text(with)}, &r))) return u"<failed>";
        return TextOf(r.v);
    }
};

TEST_F(RegExpTest, SitePatternInMixedCaseGivesEverySubMatch) {
    Configure(u"<span class=\"site\">(.*?)</span>", true, true, true);
    std::u16string page = u"<div><span class=\"site\">www.a.cn</span> x <SPAN CLASS=\"Site\">b.example.com</Span></div>";
    Var collection, count;
    ASSERT_EQ(CallMember(re, u"Execute", DISPATCH_METHOD, {Text(page)}, &collection), S_OK);
    ASSERT_EQ(CallMember(collection->pdispVal, u"Count", DISPATCH_PROPERTYGET, {}, &count), S_OK);
    ASSERT_EQ(count->lVal, 2);
    const char16_t *sites[] = {u"www.a.cn", u"b.example.com"};
    for (int i = 0; i < 2; ++i) {
        Var match, subs, site, subCount;
        ASSERT_EQ(CallMember(collection->pdispVal, u"Item", DISPATCH_PROPERTYGET, {Real(i)}, &match), S_OK);
        ASSERT_EQ(CallMember(match->pdispVal, u"SubMatches", DISPATCH_PROPERTYGET, {}, &subs), S_OK);
        ASSERT_EQ(CallMember(subs->pdispVal, u"item", DISPATCH_PROPERTYGET, {Real(0)}, &site), S_OK);
        EXPECT_EQ(TextOf(site.v), sites[i]);
        ASSERT_EQ(CallMember(subs->pdispVal, u"Count", DISPATCH_PROPERTYGET, {}, &subCount), S_OK);
        EXPECT_EQ(subCount->lVal, 1);
    }
}

TEST_F(RegExpTest, CaseSensitiveWhenAsked) {
    Configure(u"<span>(.*?)</span>", false, true, true);
    EXPECT_EQ(Matches(u"<span>a</span><SPAN>b</SPAN>"), std::vector<std::u16string>{u"<span>a</span>"});
}

TEST_F(RegExpTest, ReplaceRemovesBlankLines) {
    Configure(u"\\n\\s*\\r", true, true, true);
    EXPECT_EQ(Replace(u"one\r\n\r\n  \r\ntwo\r\n\r\nthree", u""), u"one\r\ntwo\r\nthree");
}

TEST_F(RegExpTest, DotStopsAtLineBreaks) {
    Configure(u"a.*b", false, false, true);
    EXPECT_TRUE(Matches(u"a\r\nb").empty());
    EXPECT_TRUE(Matches(u"a\nb").empty());
    EXPECT_EQ(Matches(u"axxb\nab"), (std::vector<std::u16string>{u"axxb", u"ab"}));
}

TEST_F(RegExpTest, MultilineMovesAnchorsToLines) {
    Configure(u"^\\w+$", false, false, true);
    EXPECT_TRUE(Matches(u"one\ntwo").empty());
    EXPECT_TRUE(Matches(u"one\n").empty()); // '$' is only the very end
    Configure(u"^\\w+$", false, true, true);
    EXPECT_EQ(Matches(u"one\r\ntwo\nthree"), (std::vector<std::u16string>{u"one", u"two", u"three"}));
}

TEST_F(RegExpTest, LazyAndGreedyQuantifiers) {
    Configure(u"<(.+?)>", false, false, true);
    EXPECT_EQ(Matches(u"<a><b>"), (std::vector<std::u16string>{u"<a>", u"<b>"}));
    Configure(u"<(.+)>", false, false, true);
    EXPECT_EQ(Matches(u"<a><b>"), (std::vector<std::u16string>{u"<a><b>"}));
}

TEST_F(RegExpTest, NotGlobalFindsOnlyTheFirst) {
    Configure(u"\\d+", false, false, false);
    EXPECT_EQ(Matches(u"1 22 333"), std::vector<std::u16string>{u"1"});
    EXPECT_EQ(Replace(u"1 22 333", u"#"), u"# 22 333");
}

TEST_F(RegExpTest, ReplacementPatterns) {
    Configure(u"(\\w+)@(\\w+)", false, false, true);
    EXPECT_EQ(Replace(u"ann@host bob@site", u"$2:$1"), u"host:ann site:bob");
    EXPECT_EQ(Replace(u"ann@host", u"[$&] $$ $3 $0 $"), u"[ann@host] $ $3 $0 $");
    EXPECT_EQ(Replace(u"x ann@host y", u"<$`|$'>"), u"x <x | y> y");
    Configure(u"(a)|(b)", false, false, true);
    EXPECT_EQ(Replace(u"ab", u"[$1$2]"), u"[a][b]");
    EXPECT_EQ(Replace(u"a", u"$12"), u"a2"); // no group 12: group 1, then "2"
}

TEST_F(RegExpTest, EmptyMatchesAdvance) {
    Configure(u"x*", false, false, true);
    EXPECT_EQ(Replace(u"abc", u"-"), u"-a-b-c-");
}

TEST_F(RegExpTest, FirstIndexAndLengthCountCharacters) {
    Configure(u"站点", false, false, true);
    Var collection, match, index, length;
    ASSERT_EQ(CallMember(re, u"Execute", DISPATCH_METHOD, {Text(u"中文站点")}, &collection), S_OK);
    ASSERT_EQ(CallMember(collection->pdispVal, u"Item", DISPATCH_PROPERTYGET, {Long(0)}, &match), S_OK);
    ASSERT_EQ(CallMember(match->pdispVal, u"FirstIndex", DISPATCH_PROPERTYGET, {}, &index), S_OK);
    ASSERT_EQ(CallMember(match->pdispVal, u"Length", DISPATCH_PROPERTYGET, {}, &length), S_OK);
    EXPECT_EQ(index->lVal, 2);
    EXPECT_EQ(length->lVal, 2);
}

TEST_F(RegExpTest, UnusedGroupGivesEmptyVariant) {
    Configure(u"(a)|(b)", false, false, false);
    Var collection, match, subs, first, second;
    ASSERT_EQ(CallMember(re, u"Execute", DISPATCH_METHOD, {Text(u"b")}, &collection), S_OK);
    ASSERT_EQ(CallMember(collection->pdispVal, u"Item", DISPATCH_PROPERTYGET, {Long(0)}, &match), S_OK);
    ASSERT_EQ(CallMember(match->pdispVal, u"SubMatches", DISPATCH_PROPERTYGET, {}, &subs), S_OK);
    ASSERT_EQ(CallMember(subs->pdispVal, u"Item", DISPATCH_PROPERTYGET, {Long(0)}, &first), S_OK);
    ASSERT_EQ(CallMember(subs->pdispVal, u"Item", DISPATCH_PROPERTYGET, {Long(1)}, &second), S_OK);
    EXPECT_EQ(first->vt, VT_EMPTY);
    EXPECT_EQ(TextOf(second.v), u"b");
    Var out;
    EXPECT_EQ(CallMember(subs->pdispVal, u"Item", DISPATCH_PROPERTYGET, {Long(2)}, &out), DISP_E_EXCEPTION);
    EXPECT_EQ(CallMember(collection->pdispVal, u"Item", DISPATCH_PROPERTYGET, {Long(-1)}, &out), DISP_E_EXCEPTION);
}

TEST_F(RegExpTest, BadPatternFailsExecuteWithoutCrashing) {
    Configure(u"(unclosed", false, false, true);
    Var r;
    EXCEPINFO error = {};
    std::u16string subject = u"text";
    VARIANT arg = Text(subject);
    DISPPARAMS params = {&arg, nullptr, 1, 0};
    ASSERT_EQ(re->Invoke(10005, IID_NULL, 0, DISPATCH_METHOD, &params, &r, &error, nullptr), DISP_E_EXCEPTION);
    VariantClear(&arg);
    EXPECT_NE(error.bstrDescription, nullptr);
    SysFreeString(error.bstrSource);
    SysFreeString(error.bstrDescription);
    EXPECT_EQ(r->vt, VT_EMPTY);
    EXPECT_EQ(CallMember(re, u"Test", DISPATCH_METHOD, {Text(u"x")}, &r), DISP_E_EXCEPTION);
    EXPECT_EQ(CallMember(re, u"Replace", DISPATCH_METHOD, {Text(u"x"), Text(u"y")}, &r), DISP_E_EXCEPTION);
}

TEST_F(RegExpTest, PropertiesReadBackAndSinglelineIsNoMember) {
    Configure(u"abc", true, false, true);
    Var pattern, ignore, global;
    ASSERT_EQ(CallMember(re, u"Pattern", DISPATCH_PROPERTYGET, {}, &pattern), S_OK);
    ASSERT_EQ(CallMember(re, u"IgnoreCase", DISPATCH_PROPERTYGET, {}, &ignore), S_OK);
    ASSERT_EQ(CallMember(re, u"GLOBAL", DISPATCH_PROPERTYGET, {}, &global), S_OK);
    EXPECT_EQ(TextOf(pattern.v), u"abc");
    EXPECT_EQ(ignore->boolVal, VARIANT_TRUE);
    EXPECT_EQ(global->boolVal, VARIANT_TRUE);
    EXPECT_EQ(Put(re, u"Singleline", Bool(true)), DISP_E_MEMBERNOTFOUND);
    Var test;
    ASSERT_EQ(CallMember(re, u"Test", DISPATCH_METHOD, {Text(u"xxABCxx")}, &test), S_OK);
    EXPECT_EQ(test->boolVal, VARIANT_TRUE);
}

TEST_F(RegExpTest, ScriptSyntaxExtras) {
    Configure(u"\\u4E2D[^]", false, false, true);
    EXPECT_EQ(Matches(u"a中\nb"), std::vector<std::u16string>{u"中\n"});
    Configure(u"[]", false, false, true);
    EXPECT_TRUE(Matches(u"abc").empty());
}

} // namespace

namespace {

TEST_F(RegExpTest, DeepBacktrackingOnLargeTextStillMatches) {
    Configure(u"(a|b)*c", false, false, false);
    std::u16string subject(200000, u'a');
    subject += u'c';
    std::vector<std::u16string> found = Matches(subject);
    ASSERT_EQ(found.size(), 1u);
    EXPECT_EQ(found[0].size(), subject.size());
}

} // namespace
