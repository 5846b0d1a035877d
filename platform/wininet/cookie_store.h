// The process's cookie store: one libcurl share that every request without
// INTERNET_FLAG_NO_COOKIES reads and fills.
#pragma once

#include <curl/curl.h>

namespace platform::wininet {

void AttachCookieStore(CURL *easy);

}  // namespace platform::wininet
