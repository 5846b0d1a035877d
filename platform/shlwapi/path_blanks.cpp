// PathRemoveBlanksA: leading and trailing spaces go, in place. Only the space
// character counts; GBK trail bytes are never 0x20, so double-byte texts are safe.
#include <cstring>

#include "shlwapi.h"

extern "C" void WINAPI PathRemoveBlanksA(LPSTR path) {
    if (!path) return;
    size_t start = std::strspn(path, " ");
    size_t end = std::strlen(path);
    while (end > start && path[end - 1] == ' ') --end;
    std::memmove(path, path + start, end - start);
    path[end - start] = '\0';
}
