// The style sheet a skin gives the program's windows (Qt style sheet syntax).
#pragma once

#include <string>

#include "skin_format.h"

namespace skin {

std::string StyleSheetOf(const Skin &skin);

} // namespace skin
