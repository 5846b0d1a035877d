// Texts crossing to COM: the system code page on the runtime side, UTF-16 strings on
// the other.
#pragma once

#include <windows.h>
#include <oleauto.h>

#include <string>

namespace cmd {

// A new BSTR, or null for the empty text.
BSTR BstrFromText(const char *text);
// A new runtime text, or null for an empty or null string.
char *TextFromBstr(BSTR string);
// A COM string of the system's own character type.
using OleText = std::basic_string<OLECHAR>;

// UTF-16 of a text, for names and class texts.
OleText WideOf(const char *text);

} // namespace cmd
