#include "cookie_store.h"

#include <mutex>

namespace wininet {
namespace {

std::mutex locks[CURL_LOCK_DATA_LAST];

void lockData(CURL *, curl_lock_data data, curl_lock_access, void *) {
    locks[data].lock();
}

void unlockData(CURL *, curl_lock_data data, void *) {
    locks[data].unlock();
}

CURLSH *sharedStore() {
    static CURLSH *share = [] {
        CURLSH *created = curl_share_init();
        curl_share_setopt(created, CURLSHOPT_LOCKFUNC, lockData);
        curl_share_setopt(created, CURLSHOPT_UNLOCKFUNC, unlockData);
        curl_share_setopt(created, CURLSHOPT_SHARE, CURL_LOCK_DATA_COOKIE);
        return created;
    }();
    return share;
}

}  // namespace

void attachCookieStore(CURL *easy) {
    curl_easy_setopt(easy, CURLOPT_SHARE, sharedStore());
    curl_easy_setopt(easy, CURLOPT_COOKIEFILE, "");  // starts the cookie engine, reads no file
}

}  // namespace wininet
