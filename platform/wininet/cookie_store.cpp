#include "cookie_store.h"

#include <mutex>

#include "curl_library.h"

namespace platform::wininet {
namespace {

std::mutex locks[CURL_LOCK_DATA_LAST];

void LockData(CURL *, curl_lock_data data, curl_lock_access, void *) {
    locks[data].lock();
}

void UnlockData(CURL *, curl_lock_data data, void *) {
    locks[data].unlock();
}

CURLSH *SharedStore() {
    static CURLSH *share = [] {
        CURLSH *created = Curl().share_init();
        Curl().share_setopt(created, CURLSHOPT_LOCKFUNC, LockData);
        Curl().share_setopt(created, CURLSHOPT_UNLOCKFUNC, UnlockData);
        Curl().share_setopt(created, CURLSHOPT_SHARE, CURL_LOCK_DATA_COOKIE);
        return created;
    }();
    return share;
}

}  // namespace

void AttachCookieStore(CURL *easy) {
    Curl().easy_setopt(easy, CURLOPT_SHARE, SharedStore());
    Curl().easy_setopt(easy, CURLOPT_COOKIEFILE, "");  // starts the cookie engine, reads no file
}

}  // namespace platform::wininet
