// libcurl, loaded by the first request rather than when the program starts: loading
// it with the libraries it pulls in (TLS, Kerberos, LDAP ...) costs a started tool
// about 6 MiB of memory that it carries for nothing until it goes online.
#pragma once

#include <curl/curl.h>

namespace platform::wininet {

struct CurlCalls {
    decltype(&::curl_easy_init) easy_init;
    decltype(&::curl_easy_cleanup) easy_cleanup;
    decltype(&::curl_easy_setopt) easy_setopt;
    decltype(&::curl_easy_getinfo) easy_getinfo;
    decltype(&::curl_multi_init) multi_init;
    decltype(&::curl_multi_cleanup) multi_cleanup;
    decltype(&::curl_multi_add_handle) multi_add_handle;
    decltype(&::curl_multi_remove_handle) multi_remove_handle;
    decltype(&::curl_multi_perform) multi_perform;
    decltype(&::curl_multi_poll) multi_poll;
    decltype(&::curl_multi_info_read) multi_info_read;
    decltype(&::curl_share_init) share_init;
    decltype(&::curl_share_setopt) share_setopt;
    decltype(&::curl_slist_append) slist_append;
    decltype(&::curl_slist_free_all) slist_free_all;
    decltype(&::curl_url) url;
    decltype(&::curl_url_cleanup) url_cleanup;
    decltype(&::curl_url_get) url_get;
    decltype(&::curl_url_set) url_set;
    decltype(&::curl_free) free;
};

// The library's calls, loaded and initialised on the first use. Without the library
// (a broken installation, which a program linked to it would not even start on) the
// process ends with a message.
const CurlCalls &Curl();

} // namespace platform::wininet
