// LoadImageA for picture files (bitmaps in any format Qt reads, icons and cursors) and
// for the program's icon resources.
#include <QFile>

#include "dos_path.h"
#include "gdi_object.h"
#include "icon_object.h"
#include "windows.h"

using namespace platform;

extern "C" HANDLE WINAPI LoadImageA(HINSTANCE instance, LPCSTR name, UINT type, int width, int, UINT flags) {
    if (!(flags & LR_LOADFROMFILE)) {
        if (type == IMAGE_CURSOR) return LoadCursorA(instance, name);
        if (type == IMAGE_ICON && instance) return ResourceIcon(instance, name, width ? width : GetSystemMetrics(SM_CXICON));
        if (type == IMAGE_ICON) return LoadIconA(instance, name);
        SetLastError(ERROR_FILE_NOT_FOUND);
        return nullptr;
    }
    auto path = name && !IS_INTRESOURCE(name) ? DosToHostPath(name) : std::nullopt;
    QFile file(path ? QString::fromStdString(*path) : QString());
    if (!path || !file.open(QIODevice::ReadOnly)) {
        SetLastError(ERROR_FILE_NOT_FOUND);
        return nullptr;
    }
    QByteArray bytes = file.readAll();
    auto *data = reinterpret_cast<const BYTE *>(bytes.constData());
    switch (type) {
    case IMAGE_BITMAP: return BitmapFromData(data, size_t(bytes.size()));
    case IMAGE_ICON: return IconFromData(data, size_t(bytes.size()), false);
    case IMAGE_CURSOR: return IconFromData(data, size_t(bytes.size()), true);
    default: SetLastError(ERROR_INVALID_PARAMETER); return nullptr;
    }
}
