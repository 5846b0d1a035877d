#include "regex_matcher.h"

#include "image_data.h"
#include "literals.h"
#include "object_commands.h"
#include "text_calls.h"
#include "variant_commands.h"

namespace app {
namespace {

rt::TypedValue Name(image::Constant member) { return TextArg(Literal(member)); }
rt::TypedValue Text(const std::string &text) { return TextArg(text.c_str()); }

void InitializeCom() { CallDeclared(image::kDeclaredCoInitialize, {Word(0)}); }
void UninitializeCom() { CallDeclared(image::kDeclaredCoUninitialize, {}); }

RegexMatcher *Allocate() {
    InitializeCom();
    return new RegexMatcher{&kRegexMatcherMethods, NewObjectVariable(), NewObjectVariable(), {}};
}

void Destroy(RegexMatcher *self) {
    if (!self) return;
    Release(self->expression);
    Release(self->matches);
    self->subject.clear();
    UninitializeCom();
    delete self;
}

// The copy shares both objects (one more reference each) and holds COM like any matcher.
RegexMatcher *Copy(const RegexMatcher *self) {
    RegexMatcher *copy = Allocate();
    CallCommand(cmd::CopyObject, {Arg(copy->expression), Arg(self->expression)});
    CallCommand(cmd::CopyObject, {Arg(copy->matches), Arg(self->matches)});
    copy->subject = self->subject;
    return copy;
}

void WriteFlag(RegexMatcher *self, image::Constant property, bool value) {
    CallCommand(cmd::WriteProperty, {Arg(self->expression), Name(property), BooleanArg(value)});
}

bool Execute(RegexMatcher *self, const std::string &pattern, const std::string &subject, const MatchOptions &options) {
    CallCommand(cmd::ClearObject, {Arg(self->expression)});
    CallCommand(cmd::ClearObject, {Arg(self->matches)});
    CallCommand(cmd::CreateObject, {Arg(self->expression), Name(image::kRegExpClass)});
    WriteFlag(self, image::kRegExpIgnoreCase, !options.caseSensitive);
    WriteFlag(self, image::kRegExpMultiline, options.multiLine);
    WriteFlag(self, image::kRegExpSingleline, true); // the object has no such property: fails quietly
    WriteFlag(self, image::kRegExpGlobal, options.global);
    std::string text = options.quotePlaceholder
                           ? ReplaceAll(pattern, Literal(image::kQuotePlaceholder), Literal(image::kDoubleQuote))
                           : pattern;
    CallCommand(cmd::WriteProperty, {Arg(self->expression), Name(image::kRegExpPattern), Text(text)});
    Assign(self->matches,
           CallCommand(cmd::CallObjectMethod, {Arg(self->expression), Name(image::kRegExpExecute), Text(subject)}));
    self->subject = subject;
    return !IsTrue(CallCommand(cmd::ObjectIsEmpty, {Arg(self->matches)}));
}

void Nothing(RegexMatcher *) {}

std::string PatternText(const RegexMatcher *self) {
    return TakeText(CallCommand(cmd::ReadTextProperty, {Arg(self->expression), Name(image::kRegExpPattern)}));
}

std::string Replace(const RegexMatcher *self, const std::string &replacement) {
    return TakeText(CallCommand(cmd::CallTextMethod, {Arg(self->expression), Name(image::kRegExpReplace),
                                                      Text(self->subject), Text(replacement)}));
}

int32_t CountOf(const ObjectVariable &collection) {
    return int32_t(CallCommand(cmd::ReadNumberProperty, {Arg(collection), Name(image::kRegExpCount)}).AsDouble());
}

int32_t MatchCount(const RegexMatcher *self) { return CountOf(self->matches); }

// Match i (from 1) of the collection; the caller releases it.
ObjectVariable MatchAt(const RegexMatcher *self, int32_t i) {
    return TakeObject(
        CallCommand(cmd::ReadObjectProperty, {Arg(self->matches), Name(image::kRegExpItem), DoubleArg(i - 1)}));
}

// The byte offset of character `index` in a GBK text: a two-byte character is one.
int32_t ByteOffsetOfCharacter(const std::string &text, int32_t index) {
    size_t at = 0;
    for (int32_t n = 0; n < index && at < text.size(); ++n)
        at += (uint8_t(text[at]) >= 0x80 && at + 1 < text.size()) ? 2 : 1;
    return int32_t(at);
}

// Where `found` lies in the subject, searched from the match's first character. Case
// is folded when the expression's IgnoreCase reads as "0".
int32_t PositionInSubject(const RegexMatcher *self, const ObjectVariable &match, const std::string &found) {
    int32_t first = int32_t(
        CallCommand(cmd::ReadNumberProperty, {Arg(match), Name(image::kRegExpFirstIndex)}).AsDouble());
    std::string ignoreCase =
        TakeText(CallCommand(cmd::ReadTextProperty, {Arg(self->expression), Name(image::kRegExpIgnoreCase)}));
    int32_t start = ByteOffsetOfCharacter(self->subject, first < 0 ? 0 : first) + 1;
    int32_t at = TextPosition(self->subject, found, start, ignoreCase == Literal(image::kZeroDigit));
    return at > 0 ? at - 1 : -1;
}

std::string MatchText(const RegexMatcher *self, int32_t i, int32_t *position, bool wantPosition) {
    ObjectVariable match = MatchAt(self, i);
    std::string text = TakeText(CallCommand(cmd::ReadTextProperty, {Arg(match), Name(image::kRegExpValue)}));
    if (wantPosition && position) *position = PositionInSubject(self, match, text);
    Release(match);
    return text;
}

std::string SubMatchText(const RegexMatcher *self, int32_t i, int32_t j, int32_t *position, bool wantPosition) {
    ObjectVariable match = MatchAt(self, i);
    ObjectVariable subMatches =
        TakeObject(CallCommand(cmd::ReadObjectProperty, {Arg(match), Name(image::kRegExpSubMatches)}));
    VariantVariable value = TakeVariant(
        CallCommand(cmd::ReadProperty, {Arg(subMatches), Name(image::kRegExpItem), DoubleArg(j - 1)}));
    std::string text = TakeText(CallCommand(cmd::VariantToText, {Arg(value)}));
    if (wantPosition && position) *position = PositionInSubject(self, match, text);
    Release(value);
    Release(subMatches);
    Release(match);
    return text;
}

int32_t SubMatchCount(const RegexMatcher *self) {
    ObjectVariable match = MatchAt(self, 1);
    ObjectVariable subMatches =
        TakeObject(CallCommand(cmd::ReadObjectProperty, {Arg(match), Name(image::kRegExpSubMatches)}));
    int32_t count = CountOf(subMatches);
    Release(subMatches);
    Release(match);
    return count;
}

} // namespace

const RegexMatcherMethods kRegexMatcherMethods = {
    Destroy, Copy, Execute, Nothing, PatternText, Replace, MatchCount, MatchText, SubMatchText, SubMatchCount,
};

RegexMatcher *NewRegexMatcher() { return Allocate(); }

} // namespace app
