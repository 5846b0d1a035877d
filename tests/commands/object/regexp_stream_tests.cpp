// The regular-expression and stream objects driven only through the object and
// variant commands, the way the collector's matcher and charset conversion drive them.
#include <gtest/gtest.h>

#include "object_commands.h"
#include "object_error.h"
#include "object_test_support.h"
#include "variant_commands.h"

namespace objtest {
namespace {

using testsupport::ByteSetArg;
using testsupport::CallCommand;
using testsupport::Omitted;
using testsupport::TakeByteSet;
using testsupport::TakeText;

// An expression and the matches of its last execution.
struct Matcher {
    ObjectVar expression, matches;
    std::string subject;

    bool Execute(const char *pattern, const std::string &text, bool caseSensitive = false) {
        CallCommand(cmd::ClearObject, {expression.Arg()});
        CallCommand(cmd::ClearObject, {matches.Arg()});
        CallCommand(cmd::CreateObject, {expression.Arg(), Name("VBScript.RegExp")});
        CallCommand(cmd::WriteProperty, {expression.Arg(), Name("IgnoreCase"), Bool(!caseSensitive)});
        CallCommand(cmd::WriteProperty, {expression.Arg(), Name("Multiline"), Bool(true)});
        CallCommand(cmd::WriteProperty, {expression.Arg(), Name("Singleline"), Bool(true)});
        CallCommand(cmd::WriteProperty, {expression.Arg(), Name("Global"), Bool(true)});
        CallCommand(cmd::WriteProperty, {expression.Arg(), Name("Pattern"), U8(pattern)});
        rt::TypedValue found = CallCommand(cmd::CallObjectMethod, {expression.Arg(), Name("Execute"), U8(text.c_str())});
        cmd::EmptyObjectBlock(matches.block); // the variable takes the new block
        rt::FreeMemory(matches.block);
        matches.block = ObjectOf(found);
        subject = text;
        return CallCommand(cmd::ObjectIsEmpty, {matches.Arg()}).low == 0;
    }
    int Count() { return int(CallCommand(cmd::ReadNumberProperty, {matches.Arg(), Name("Count")}).AsDouble()); }
    std::string SubMatch(int i, int j) {
        ObjectVar match(ObjectOf(CallCommand(cmd::ReadObjectProperty, {matches.Arg(), Name("Item"), Dbl(i - 1)})));
        ObjectVar subs(ObjectOf(CallCommand(cmd::ReadObjectProperty, {match.Arg(), Name("SubMatches")})));
        VariantVar v(VariantOf(CallCommand(cmd::ReadProperty, {subs.Arg(), Name("Item"), Dbl(j - 1)})));
        rt::TypedValue text = CallCommand(cmd::VariantToText, {v.Arg()});
        return TakeText(text);
    }
    std::string Replace(const char *replacement) {
        rt::TypedValue r = CallCommand(cmd::CallTextMethod,
                                       {expression.Arg(), Name("Replace"), U8(subject.c_str()), U8(replacement)});
        return TakeText(r);
    }
};

class RegExpThroughCommands : public ::testing::Test {
protected:
    void SetUp() override { Start(); }
};

TEST_F(RegExpThroughCommands, SitePatternInMixedCase) {
    Matcher m;
    std::string page = "<li><SPAN class=\"site\">www.one.cn</SPAN></li>\n<span CLASS=\"site\">two.com.cn</span>";
    ASSERT_TRUE(m.Execute("<span class=\"site\">(.*?)</span>", page));
    ASSERT_EQ(m.Count(), 2);
    EXPECT_EQ(m.SubMatch(1, 1), "www.one.cn");
    EXPECT_EQ(m.SubMatch(2, 1), "two.com.cn");
}

TEST_F(RegExpThroughCommands, CaseSensitiveMatchingSkipsOtherCase) {
    Matcher m;
    ASSERT_TRUE(m.Execute("<span>(.*?)</span>", "<SPAN>a</SPAN><span>b</span>", true));
    ASSERT_EQ(m.Count(), 1);
    EXPECT_EQ(m.SubMatch(1, 1), "b");
}

TEST_F(RegExpThroughCommands, TheObjectHasNoSingleline) {
    ObjectVar expression;
    CallCommand(cmd::CreateObject, {expression.Arg(), Name("VBScript.RegExp")});
    EXPECT_EQ(CallCommand(cmd::WriteProperty, {expression.Arg(), Name("Singleline"), Bool(true)}).low, 0u);
    EXPECT_EQ(cmd::LastObjectError(), cmd::kObjectNoMember);
    EXPECT_EQ(CallCommand(cmd::WriteProperty, {expression.Arg(), Name("Global"), Bool(true)}).low, 1u);
}

TEST_F(RegExpThroughCommands, ReplacingBlankLines) {
    Matcher m;
    std::string text = "a.cn\r\n\r\n   \r\nb.cn\r\n";
    ASSERT_TRUE(m.Execute("\\n\\s*\\r", text));
    EXPECT_EQ(m.Replace(""), "a.cn\r\nb.cn\r\n");
}

TEST_F(RegExpThroughCommands, DotStopsAtLineBreaks) {
    Matcher m;
    ASSERT_TRUE(m.Execute("<b>(.*?)</b>", "<b>one\ntwo</b><b>three</b>"));
    ASSERT_EQ(m.Count(), 1);
    EXPECT_EQ(m.SubMatch(1, 1), "three");
}

TEST_F(RegExpThroughCommands, GbkTextMatchesAndComesBack) {
    Matcher m;
    ASSERT_TRUE(m.Execute("站点：(\\S+)", "站点：中文.cn 其他"));
    ASSERT_EQ(m.Count(), 1);
    EXPECT_EQ(m.SubMatch(1, 1), rt::ToGbk("中文.cn"));
}

TEST_F(RegExpThroughCommands, SubMatchThatTookNoPartIsEmpty) {
    Matcher m;
    ASSERT_TRUE(m.Execute("(a)|(b)", "b"));
    ASSERT_EQ(m.Count(), 1);
    EXPECT_EQ(m.SubMatch(1, 1), "");
    EXPECT_EQ(m.SubMatch(1, 2), "b");
    EXPECT_EQ(m.SubMatch(1, 3), ""); // beyond the groups: a failed call, empty
}

TEST_F(RegExpThroughCommands, BadPatternFailsWithoutMatches) {
    Matcher m;
    EXPECT_FALSE(m.Execute("(unclosed", "text"));
    EXPECT_EQ(cmd::LastObjectError(), cmd::kObjectException);
    EXPECT_EQ(m.Count(), 0);
    EXPECT_EQ(cmd::LastObjectError(), cmd::kObjectEmpty);
}

// Re-encodes bytes through the stream object, as the page text conversion does.
std::string ConvertCharset(const std::string &bytes, const char *from, const char *to, int start = -1) {
    ObjectVar stream;
    VariantVar input;
    CallCommand(cmd::CreateObject, {stream.Arg(), Name("Adodb.Stream")});
    CallCommand(cmd::WriteProperty, {stream.Arg(), Name("Type"), Int(1)});
    CallCommand(cmd::CallMethod, {stream.Arg(), Name("Open")});
    CallCommand(cmd::SetVariantType, {input.Arg(), Int(7)});
    CallCommand(cmd::CreateVariantArray, {input.Arg(), Int(1), Int(int32_t(bytes.size()))});
    CallCommand(cmd::AssignVariant, {input.Arg(), ByteSetArg(bytes)});
    CallCommand(cmd::CallMethod, {stream.Arg(), Name("Write"), input.Arg()});
    CallCommand(cmd::WriteProperty, {stream.Arg(), Name("Position"), Int(0)});
    CallCommand(cmd::WriteProperty, {stream.Arg(), Name("Type"), Int(2)});
    CallCommand(cmd::WriteProperty, {stream.Arg(), Name("Charset"), Name(from)});
    rt::TypedValue text = CallCommand(cmd::CallTextMethod, {stream.Arg(), Name("ReadText")});
    CallCommand(cmd::CallMethod, {stream.Arg(), Name("Close")});
    CallCommand(cmd::CallMethod, {stream.Arg(), Name("Open")});
    CallCommand(cmd::WriteProperty, {stream.Arg(), Name("Charset"), Name(to)});
    rt::TypedValue textArg = text.Pointer<char>() ? text : testsupport::TextArg("");
    CallCommand(cmd::CallMethod, {stream.Arg(), Name("WriteText"), textArg});
    rt::FreeValue(text);
    CallCommand(cmd::WriteProperty, {stream.Arg(), Name("Position"), Int(0)});
    CallCommand(cmd::WriteProperty, {stream.Arg(), Name("Type"), Int(1)});
    if (start >= 0) CallCommand(cmd::WriteProperty, {stream.Arg(), Name("Position"), Int(start)});
    VariantVar read(VariantOf(CallCommand(cmd::CallVariantMethod, {stream.Arg(), Name("Read")})));
    rt::TypedValue result = CallCommand(cmd::VariantToByteSet, {read.Arg()});
    return TakeByteSet(result);
}

TEST(StreamThroughCommands, Utf8ToGbkAndBack) {
    Start();
    EXPECT_EQ(ConvertCharset("\xE4\xB8\xAD", "UTF-8", "GBK"), "\xD6\xD0");
    std::string utf8 = "\xE4\xB8\xAD\xE6\x96\x87 site.cn";
    std::string gbk = ConvertCharset(utf8, "UTF-8", "GBK");
    EXPECT_EQ(gbk, rt::ToGbk("中文 site.cn"));
    // Back to UTF-8: the stream puts a byte-order mark in front, which a start position skips.
    EXPECT_EQ(ConvertCharset(gbk, "GBK", "UTF-8"), "\xEF\xBB\xBF" + utf8);
    EXPECT_EQ(ConvertCharset(gbk, "GB2312", "UTF-8", 3), utf8);
}

TEST(StreamThroughCommands, EmptyInputGivesEmptyOutput) {
    Start();
    EXPECT_EQ(ConvertCharset("", "UTF-8", "GBK"), "");
}

} // namespace
} // namespace objtest
