// GBK <-> UTF-8 for the mock's pages (the keyword arrives as GBK bytes).
#pragma once

#include <string>

namespace sorvel_mock {

// Empty optional-like result: false when the text is not valid in the source set.
bool ConvertText(const std::string &text, const char *from, const char *to, std::string &out);
std::string GbkToUtf8OrEscaped(const std::string &gbk);
std::string Utf8ToGbk(const std::string &utf8);

}  // namespace sorvel_mock
