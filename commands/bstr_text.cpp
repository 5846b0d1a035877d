#include "bstr_text.h"

#include <windows.h>

#include <cstring>
#include <string>

#include "value.h"

namespace cmd {

OleText WideOf(const char *text) {
    int length = text ? int(std::strlen(text)) : 0;
    if (!length) return {};
    int units = MultiByteToWideChar(CP_ACP, 0, text, length, nullptr, 0);
    if (units <= 0) return {};
    OleText wide(size_t(units), OLECHAR(0));
    MultiByteToWideChar(CP_ACP, 0, text, length, wide.data(), units);
    return wide;
}

BSTR BstrFromText(const char *text) {
    OleText wide = WideOf(text);
    return wide.empty() ? nullptr : SysAllocStringLen(wide.data(), UINT(wide.size()));
}

char *TextFromBstr(BSTR string) {
    int units = string ? int(SysStringLen(string)) : 0;
    if (!units) return nullptr;
    int bytes = WideCharToMultiByte(CP_ACP, 0, string, units, nullptr, 0, nullptr, nullptr);
    if (bytes <= 0) return nullptr;
    std::string text(size_t(bytes), '\0');
    WideCharToMultiByte(CP_ACP, 0, string, units, text.data(), bytes, nullptr, nullptr);
    // A NUL inside the string ends the text, as every runtime text ends at its first NUL.
    return rt::MakeText(text.data(), std::strlen(text.c_str()));
}

} // namespace cmd
