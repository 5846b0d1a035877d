#include "icon_records.h"

#include "memory.h"

namespace rt {

void FreeIconRecord(void *record) {
    if (!record) return;
    if (HICON icon = *static_cast<HICON *>(record)) DestroyIcon(icon);
    FreeMemory(record);
}

void DestroyDefaultIcons(RuntimeApp &app) {
    for (HICON &icon : app.defaultIcons) {
        if (icon) DestroyIcon(icon);
        icon = nullptr;
    }
}

} // namespace rt
