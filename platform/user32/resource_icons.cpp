// Icons from the program's resources, loaded once per resource and size and shared,
// as LoadIcon's icons are.
#include <map>
#include <mutex>
#include <utility>

#include "icon_object.h"
#include "windows.h"

namespace platform {

HICON ResourceIcon(HINSTANCE instance, LPCSTR name, int wantedSize) {
    auto module = reinterpret_cast<HMODULE>(instance);
    HRSRC info = name ? FindResourceA(module, name, RT_GROUP_ICON) : nullptr;
    if (!info) {
        SetLastError(ERROR_RESOURCE_NAME_NOT_FOUND);
        return nullptr;
    }
    static std::mutex lock;
    static std::map<std::pair<HRSRC, int>, HICON> loaded;
    std::lock_guard guard(lock);
    auto key = std::make_pair(info, wantedSize);
    if (auto found = loaded.find(key); found != loaded.end()) return found->second;
    auto *data = static_cast<const BYTE *>(LockResource(LoadResource(module, info)));
    HICON icon = IconFromData(data, SizeofResource(module, info), false, wantedSize);
    if (!icon) return nullptr; // not decodable, or not on the GUI thread: not kept
    IconObjectOf(icon)->shared = true;
    return loaded[key] = icon;
}

} // namespace platform
