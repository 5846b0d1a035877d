#include "gbk.h"

#include <mutex>
#include <unordered_map>
#include <vector>

#include "windows.h"

namespace rt {

std::string ToGbk(std::string_view utf8) {
    if (utf8.empty()) return {};
    int n = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), int(utf8.size()), nullptr, 0);
    std::vector<WCHAR> wide(size_t(n) + 1);
    MultiByteToWideChar(CP_UTF8, 0, utf8.data(), int(utf8.size()), wide.data(), n);
    int m = WideCharToMultiByte(936, 0, wide.data(), n, nullptr, 0, nullptr, nullptr);
    std::string gbk(size_t(m), '\0');
    WideCharToMultiByte(936, 0, wide.data(), n, gbk.data(), m, nullptr, nullptr);
    return gbk;
}

const char *GbkLiteral(const char *utf8) {
    static std::mutex lock;
    static auto *interned = new std::unordered_map<const char *, std::string>;
    std::lock_guard guard(lock);
    auto it = interned->find(utf8);
    if (it == interned->end()) it = interned->emplace(utf8, ToGbk(utf8)).first;
    return it->second.c_str();
}

} // namespace rt
