#include "dos_path.h"

#include <cctype>

#include "host_text.h"

namespace platform {

std::optional<std::string> DosToHostPath(const char *dosPath) {
    if (!dosPath) return std::nullopt;
    std::string path = GbkToUtf8(dosPath);
    for (char &c : path)
        if (c == '\\') c = '/';
    if (path.size() >= 2 && path[1] == ':' && std::isalpha(static_cast<unsigned char>(path[0]))) {
        if (std::toupper(static_cast<unsigned char>(path[0])) != 'Z') return std::nullopt;
        path.erase(0, 2);
        if (path.empty() || path[0] != '/') path.insert(0, "/");
    }
    return path;
}

std::string HostToDosPath(const std::string &hostPath) {
    std::string path = Utf8ToGbk(hostPath);
    for (char &c : path)
        if (c == '/') c = '\\';
    if (!path.empty() && path[0] == '\\') path.insert(0, "Z:");
    return path;
}

} // namespace platform
