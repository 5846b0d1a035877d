// The text and conversion commands the application's routines call, as readable
// calls over std::string: every call goes through helper slot 3.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace app {

int32_t TextLength(const std::string &text);
std::string TextLeft(const std::string &text, int32_t count);
std::string TextRight(const std::string &text, int32_t count);
std::string TextMiddle(const std::string &text, int32_t start, int32_t count);
// Position from 1, or -1; `start` from 1.
int32_t TextPosition(const std::string &text, const std::string &sought, int32_t start = 1, bool ignoreCase = false);
std::string ToLowerCase(const std::string &text);
std::string TrimSpaces(const std::string &text);
std::string RemoveAllSpaces(const std::string &text);
// Every occurrence, case-sensitive.
std::string ReplaceAll(const std::string &text, const std::string &sought, const std::string &replacement);
std::vector<std::string> SplitText(const std::string &text, const std::string &delimiter);
std::string SpaceText(int32_t count);
std::string HexText(int32_t number);
int32_t ToInteger(const std::string &text);

} // namespace app
