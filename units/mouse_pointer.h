// Mouse pointer data: the public form (a pointer number first) and the stored form (a
// system cursor code first), and the cursor made from the stored form.
#pragma once

#include <cstdint>
#include <string>

#include "windows.h"

namespace units {

int32_t PointerNumberToCursorCode(int32_t number);
int32_t CursorCodeToPointerNumber(int32_t code);
std::string PointerDataToStored(const std::string &data);
std::string PointerDataToPublic(const std::string &data);
// Null for the default pointer or data that make no cursor.
HCURSOR MakeCursor(const std::string &stored);

} // namespace units
