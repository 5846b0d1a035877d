// Cookie texts: name=value pairs joined by "; ".
#pragma once

#include <string>

namespace app {

// Merges the cookies a response set into the caller's cookie text: a new value
// replaces the old one of the same name, a name set to "deleted" goes, other old
// cookies stay. Both texts lose their spaces; `cookies` receives the result, which is
// also returned.
std::string MergeCookies(std::string &cookies, std::string &newCookies);

} // namespace app
