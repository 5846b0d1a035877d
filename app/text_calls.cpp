#include "text_calls.h"

#include "conversion_commands.h"
#include "runtime_calls.h"
#include "text_commands.h"

namespace app {
namespace {

rt::TypedValue Text(const std::string &text) { return TextArg(text.c_str()); }

} // namespace

int32_t TextLength(const std::string &text) { return IntegerOf(CallCommand(cmd::TextLength, {Text(text)})); }

std::string TextLeft(const std::string &text, int32_t count) {
    return TakeText(CallCommand(cmd::TextLeft, {Text(text), IntegerArg(count)}));
}

std::string TextRight(const std::string &text, int32_t count) {
    return TakeText(CallCommand(cmd::TextRight, {Text(text), IntegerArg(count)}));
}

std::string TextMiddle(const std::string &text, int32_t start, int32_t count) {
    return TakeText(CallCommand(cmd::TextMiddle, {Text(text), IntegerArg(start), IntegerArg(count)}));
}

int32_t TextPosition(const std::string &text, const std::string &sought, int32_t start, bool ignoreCase) {
    return IntegerOf(CallCommand(cmd::FindText, {Text(text), Text(sought), IntegerArg(start), BooleanArg(ignoreCase)}));
}

std::string ToLowerCase(const std::string &text) { return TakeText(CallCommand(cmd::ToLowerCase, {Text(text)})); }

std::string TrimSpaces(const std::string &text) { return TakeText(CallCommand(cmd::TrimSpaces, {Text(text)})); }

std::string RemoveAllSpaces(const std::string &text) {
    return TakeText(CallCommand(cmd::RemoveAllSpaces, {Text(text)}));
}

std::string ReplaceAll(const std::string &text, const std::string &sought, const std::string &replacement) {
    return TakeText(CallCommand(cmd::ReplaceSubtext, {Text(text), Text(sought), Text(replacement), IntegerArg(1),
                                                      IntegerArg(-1), BooleanArg(true)}));
}

std::vector<std::string> SplitText(const std::string &text, const std::string &delimiter) {
    return TakeTextArray(CallCommand(cmd::SplitText, {Text(text), Text(delimiter)}));
}

std::string SpaceText(int32_t count) { return TakeText(CallCommand(cmd::SpaceText, {IntegerArg(count)})); }

std::string HexText(int32_t number) { return TakeText(CallCommand(cmd::HexText, {IntegerArg(number)})); }

int32_t ToInteger(const std::string &text) { return IntegerOf(CallCommand(cmd::ToInteger, {Text(text)})); }

} // namespace app
