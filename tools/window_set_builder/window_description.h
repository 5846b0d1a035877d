// The readable description of a window set, from which the builder writes the
// serialized form. One entry a line; indented lines continue the entry above; '#'
// starts a comment line. Texts are UTF-8 in quotes and become GBK.
//
//   window ID [words A B] [texts "A" "B"]
//   unit ID type CODE [name "N"] [second "N"] [source ID] [at LEFT TOP WIDTH HEIGHT]
//        [container ID] [contains ID...] (0 separates pages) [pointer HEX] [tag "T"]
//        [visible] [disabled] [tabstop] [state N] [tab N] [on EVENT HANDLER]...
//        [reserved1 HEX] [reserved2 N] [reserved3 HEX] [data ITEM...]
//   menu ID [name "N"] [words A B] [state N] [caption "C"] [handler H]
//
// A handler is an index into the application's event routine table, or "none".
// `data` takes the rest of the entry: `u32 N` a 32-bit word, `text "T"` and
// `bytes HEX` counted, `raw HEX` as they are.
#pragma once

#include <string>
#include <vector>

#include "window_set_format.h"

namespace units {

// Throws std::runtime_error naming the line on bad input.
std::vector<WindowTemplate> ParseWindowDescription(const std::string &text);

} // namespace units
