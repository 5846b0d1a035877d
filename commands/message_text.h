// The text a message box shows for a value: numbers, booleans and date-times written
// as ToText writes them, texts as they are, anything else empty.
#pragma once

#include "value.h"

namespace cmd {

// A new text block, or null for an empty message.
char *MessageText(const rt::TypedValue &value);

} // namespace cmd
