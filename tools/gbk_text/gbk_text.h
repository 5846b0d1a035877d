// GBK for the build tools: the texts they write into the image are GBK bytes.
#pragma once

#include <string>

namespace tools {

// Throws std::runtime_error when the text has a character GBK lacks.
std::string ToGbk(const std::string &utf8);

} // namespace tools
