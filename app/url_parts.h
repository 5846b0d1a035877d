// The pieces of a web address: host, port and path with query. An address without
// a scheme is taken as http://.
#pragma once

#include <cstdint>
#include <string>

namespace app {

// Lower-case host; `registrableOnly` keeps its last two labels, `keepPort` its ":port".
std::string UrlHost(const std::string &address, bool registrableOnly = false, bool keepPort = false);
// The port given, else 443 for https and 80 otherwise.
int32_t UrlPort(const std::string &address);
// Path and query from the first "/" after the host; "/" when there is none.
std::string UrlPath(const std::string &address);
// Whether the address starts with "https" (any case).
bool IsHttpsAddress(const std::string &address);

} // namespace app
