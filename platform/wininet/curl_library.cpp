#include "curl_library.h"

#include <dlfcn.h>

#include <cstdio>
#include <cstdlib>

namespace platform::wininet {
namespace {

[[noreturn]] void Missing(const char *what) {
    std::fprintf(stderr, "wininet: %s: %s\n", what, dlerror());
    std::_Exit(127);
}

template <typename F> void Bind(void *library, F &call, const char *name) {
    call = reinterpret_cast<F>(dlsym(library, name));
    if (!call) Missing(name);
}

CurlCalls Load() {
    void *library = dlopen(SORVEL_CURL_LIBRARY, RTLD_NOW | RTLD_LOCAL);
    if (!library) Missing(SORVEL_CURL_LIBRARY);
    CurlCalls c{};
    decltype(&::curl_global_init) globalInit;
    Bind(library, globalInit, "curl_global_init");
    Bind(library, c.easy_init, "curl_easy_init");
    Bind(library, c.easy_cleanup, "curl_easy_cleanup");
    Bind(library, c.easy_setopt, "curl_easy_setopt");
    Bind(library, c.easy_getinfo, "curl_easy_getinfo");
    Bind(library, c.multi_init, "curl_multi_init");
    Bind(library, c.multi_cleanup, "curl_multi_cleanup");
    Bind(library, c.multi_add_handle, "curl_multi_add_handle");
    Bind(library, c.multi_remove_handle, "curl_multi_remove_handle");
    Bind(library, c.multi_perform, "curl_multi_perform");
    Bind(library, c.multi_poll, "curl_multi_poll");
    Bind(library, c.multi_info_read, "curl_multi_info_read");
    Bind(library, c.share_init, "curl_share_init");
    Bind(library, c.share_setopt, "curl_share_setopt");
    Bind(library, c.slist_append, "curl_slist_append");
    Bind(library, c.slist_free_all, "curl_slist_free_all");
    Bind(library, c.url, "curl_url");
    Bind(library, c.url_cleanup, "curl_url_cleanup");
    Bind(library, c.url_get, "curl_url_get");
    Bind(library, c.url_set, "curl_url_set");
    Bind(library, c.free, "curl_free");
    globalInit(CURL_GLOBAL_DEFAULT);
    return c;
}

} // namespace

const CurlCalls &Curl() {
    static const CurlCalls calls = Load(); // once, also when threads race to it
    return calls;
}

} // namespace platform::wininet
