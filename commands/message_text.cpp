#include "message_text.h"

#include "command_table.h"

namespace cmd {
namespace {

bool FormattedLikeToText(uint32_t type) {
    return rt::IsNumericType(type) || type == rt::kTypeBoolean || type == rt::kTypeDateTime;
}

// ToText belongs to the conversion family; it is reached through the command table so
// that the two families stay independent.
rt::CommandRoutine ToTextCommand() {
    static const CommandEntry *entry = FindCommand("ToText");
    return entry ? entry->routine : nullptr;
}

} // namespace

char *MessageText(const rt::TypedValue &value) {
    if (value.type == rt::kTypeText) return rt::CopyText(value.Pointer<const char>());
    rt::CommandRoutine toText = ToTextCommand();
    if (!FormattedLikeToText(value.type) || !toText) return nullptr;
    rt::TypedValue argument = value;
    rt::TypedValue text{0, 0, 0};
    toText(&text, 1, &argument);
    return text.type == rt::kTypeText ? text.Pointer<char>() : nullptr;
}

} // namespace cmd
