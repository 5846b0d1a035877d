// Conversions between texts and UTF-16 through the declared MultiByteToWideChar and
// WideCharToMultiByte.
#pragma once

#include <cstdint>
#include <string>

namespace app {

constexpr int32_t kCodePageGbk = 936;
constexpr int32_t kCodePageUtf8 = 65001;

// The text read in `codePage` (65001 when not given) as UTF-16 units with their
// terminating zero, as bytes.
std::string ToWideText(const std::string &text, int32_t codePage, bool codePageGiven);
// UTF-16 units written in `codePage` (the system's when not given), up to the first
// zero unit.
std::string FromWideText(const std::string &units, int32_t codePage, bool codePageGiven);
// A GBK text in UTF-8.
std::string Utf8Text(const std::string &text);

} // namespace app
