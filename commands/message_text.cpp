#include "message_text.h"

#include "conversion_commands.h"

namespace cmd {
namespace {

bool FormattedLikeToText(uint32_t type) {
    return rt::IsNumericType(type) || type == rt::kTypeBoolean || type == rt::kTypeDateTime;
}

} // namespace

char *MessageText(const rt::TypedValue &value) {
    if (value.type == rt::kTypeText) return rt::CopyText(value.Pointer<const char>());
    if (!FormattedLikeToText(value.type)) return nullptr;
    rt::TypedValue argument = value;
    rt::TypedValue text{0, 0, 0};
    ToText(&text, 1, &argument);
    return text.Pointer<char>();
}

} // namespace cmd
