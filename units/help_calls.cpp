#include "help_calls.h"

#include <algorithm>
#include <map>
#include <mutex>

namespace units {
namespace {

std::mutex helpLock;

// The help file each window last opened, by window identifier.
std::map<uint32_t, std::string> &HelpFiles() {
    static std::map<uint32_t, std::string> files;
    return files;
}

void Mark(uint32_t windowId, const std::string &file, bool open) {
    std::lock_guard lock(helpLock);
    if (open) HelpFiles()[windowId] = file;
    else HelpFiles().erase(windowId);
}

} // namespace

std::string ProgramHelpFile() {
    char path[MAX_PATH] = {};
    DWORD n = GetModuleFileNameA(nullptr, path, sizeof path);
    std::string name(path, std::min<DWORD>(n, sizeof path));
    size_t dot = name.find_last_of('.'), slash = name.find_last_of("\\/");
    if (dot != std::string::npos && (slash == std::string::npos || dot > slash)) name.resize(dot);
    return name + ".hlp";
}

bool IsHelpFile(const std::string &path) {
    DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool CallHelp(uint32_t windowId, HWND window, const std::string &file, UINT command, ULONG_PTR data) {
    Mark(windowId, file, command != HELP_QUIT);
    return WinHelpA(window, file.empty() ? nullptr : file.c_str(), command, data) != FALSE;
}

bool HelpOpenedBy(uint32_t windowId) {
    std::lock_guard lock(helpLock);
    return HelpFiles().count(windowId) != 0;
}

void CloseHelpOf(uint32_t windowId, HWND window) {
    std::string file;
    {
        std::lock_guard lock(helpLock);
        auto found = HelpFiles().find(windowId);
        if (found == HelpFiles().end()) return;
        file = found->second;
        HelpFiles().erase(found);
    }
    WinHelpA(window, file.empty() ? nullptr : file.c_str(), HELP_QUIT, 0);
}

} // namespace units
