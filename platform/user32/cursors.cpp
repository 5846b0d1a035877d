// System cursors, cursors and icons from file data, and the cursor shown over windows.
#include <QBuffer>
#include <QCursor>
#include <QFile>
#include <QImageReader>
#include <QPixmap>
#include <QPointer>
#include <QWidget>

#include <cstdlib>
#include <map>
#include <mutex>
#include <set>

#include "dos_path.h"
#include "icon_object.h"
#include "qt_host.h"
#include "window_host.h"
#include "windows.h"

namespace platform {
namespace {

std::mutex iconLock;
std::set<IconObject *> &Icons() {
    static auto *icons = new std::set<IconObject *>;
    return *icons;
}

HICON AddIcon(IconObject *icon) {
    std::lock_guard lock(iconLock);
    Icons().insert(icon);
    return reinterpret_cast<HICON>(icon);
}

struct SystemCursor {
    WORD id;
    Qt::CursorShape shape;
};
const SystemCursor kSystemCursors[] = {
    {32512, Qt::ArrowCursor},   {32513, Qt::IBeamCursor},     {32514, Qt::WaitCursor},
    {32515, Qt::CrossCursor},   {32516, Qt::UpArrowCursor},   {32642, Qt::SizeFDiagCursor},
    {32643, Qt::SizeBDiagCursor}, {32644, Qt::SizeHorCursor}, {32645, Qt::SizeVerCursor},
    {32646, Qt::SizeAllCursor}, {32648, Qt::ForbiddenCursor}, {32649, Qt::PointingHandCursor},
    {32650, Qt::BusyCursor},    {32651, Qt::WhatsThisCursor},
};

QPointer<QWidget> cursorWidget; // a widget may go while it is remembered here
HCURSOR currentCursor = nullptr;
int cursorCount = 0;

QCursor QtCursorOf(IconObject *icon) {
    if (icon->systemShape >= 0) return QCursor(Qt::CursorShape(icon->systemShape));
    return QCursor(QPixmap::fromImage(icon->image), icon->hotSpot.x(), icon->hotSpot.y());
}

// The hot spot of a .cur file: the first directory entry's planes and bit count fields.
QPoint CursorHotSpot(const BYTE *data, size_t size) {
    if (size < 22 || data[2] != 2) return QPoint(0, 0);
    return QPoint(data[10] | (data[11] << 8), data[12] | (data[13] << 8));
}

} // namespace

IconObject *IconObjectOf(HICON handle) {
    std::lock_guard lock(iconLock);
    auto *icon = reinterpret_cast<IconObject *>(handle);
    return Icons().count(icon) ? icon : nullptr;
}

// Of a file with several images, the one whose width is nearest `wantedSize`.
void JumpToNearest(QImageReader &reader, int wantedSize) {
    int best = 0, bestDistance = -1;
    for (int i = 0; i < reader.imageCount() && reader.jumpToImage(i); ++i) {
        int distance = std::abs(reader.size().width() - wantedSize);
        if (bestDistance < 0 || distance < bestDistance) best = i, bestDistance = distance;
    }
    reader.jumpToImage(best);
}

HICON IconFromData(const BYTE *data, size_t size, bool cursor, int wantedSize) {
    if (!data || !size || !GuiApplication()) return nullptr;
    QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    QBuffer buffer(&bytes);
    QImageReader reader(&buffer);
    bool isCursorFile = size >= 4 && data[0] == 0 && data[1] == 0 && data[2] == 2 && data[3] == 0;
    if (isCursorFile) {
        // Qt's icon reader takes cursor files once they look like icon files.
        bytes[2] = 1;
        reader.setFormat("ico");
    }
    if (wantedSize > 0 && reader.imageCount() > 1) JumpToNearest(reader, wantedSize);
    QImage image = reader.read();
    if (image.isNull()) return nullptr;
    auto *icon = new IconObject;
    icon->image = image.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    if (cursor) icon->hotSpot = isCursorFile ? CursorHotSpot(data, size) : QPoint(0, 0);
    return AddIcon(icon);
}

HICON IconFromImage(const QImage &image, QPoint hotSpot) {
    auto *icon = new IconObject;
    icon->image = image.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    icon->hotSpot = hotSpot;
    return AddIcon(icon);
}

void SetCursorWidget(QWidget *widget) { cursorWidget = widget; }

} // namespace platform

using namespace platform;

namespace platform {
namespace {

uint32_t Word32(const BYTE *p) { return p[0] | (p[1] << 8) | (p[2] << 16) | (uint32_t(p[3]) << 24); }

// A resource's image (a DIB with its mask below, as an icon file holds it, or a PNG)
// inside the icon file Qt reads.
QByteArray IconFileOf(const BYTE *image, size_t size) {
    QByteArray bits(reinterpret_cast<const char *>(image), qsizetype(size));
    if (size < 40 || Word32(image) != 40) return bits; // a PNG, or not an image
    uint32_t width = Word32(image + 4), height = Word32(image + 8) / 2, depth = image[14] | (image[15] << 8);
    const char header[22] = {0, 0, 1, 0, 1, 0, char(width & 0xFF), char(height & 0xFF), 0, 0, 1, 0,
                             char(depth), 0, char(size & 0xFF), char((size >> 8) & 0xFF), char((size >> 16) & 0xFF),
                             char(size >> 24), 22, 0, 0, 0};
    return QByteArray(header, 22) + bits;
}

} // namespace

// A cursor or icon resource as CreateIconFromResourceEx gets it: for a cursor, the hot
// spot's two words come first.
HICON IconFromResource(const BYTE *data, size_t size, bool cursor) {
    size_t skip = cursor ? 4 : 0;
    if (!data || size <= skip || !GuiApplication()) return nullptr;
    QImage image = QImage::fromData(IconFileOf(data + skip, size - skip));
    if (image.isNull()) return nullptr;
    auto *icon = new IconObject;
    icon->image = image.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    if (cursor) icon->hotSpot = QPoint(data[0] | (data[1] << 8), data[2] | (data[3] << 8));
    return AddIcon(icon);
}

} // namespace platform

extern "C" HCURSOR WINAPI LoadCursorA(HINSTANCE instance, LPCSTR name) {
    if (instance || !IS_INTRESOURCE(name)) {
        SetLastError(ERROR_FILE_NOT_FOUND);
        return nullptr;
    }
    static std::map<WORD, HCURSOR> loaded;
    static std::mutex lock;
    std::lock_guard guard(lock);
    WORD id = LOWORD(name);
    if (auto it = loaded.find(id); it != loaded.end()) return it->second;
    for (const SystemCursor &c : kSystemCursors) {
        if (c.id != id) continue;
        auto *icon = new IconObject;
        icon->systemShape = c.shape;
        icon->shared = true;
        return loaded[id] = AddIcon(icon);
    }
    SetLastError(ERROR_FILE_NOT_FOUND);
    return nullptr;
}

extern "C" HICON WINAPI LoadIconA(HINSTANCE instance, LPCSTR name) {
    if (instance) return ResourceIcon(instance, name, GetSystemMetrics(SM_CXICON));
    if (!IS_INTRESOURCE(name)) {
        SetLastError(ERROR_FILE_NOT_FOUND);
        return nullptr;
    }
    static HICON application = nullptr;
    if (!application) {
        auto *icon = new IconObject;
        icon->image = QImage(32, 32, QImage::Format_ARGB32_Premultiplied);
        icon->image.fill(QColor(58, 110, 165));
        icon->shared = true;
        application = AddIcon(icon);
    }
    return application;
}

extern "C" HCURSOR WINAPI LoadCursorFromFileA(LPCSTR fileName) {
    auto path = fileName ? DosToHostPath(fileName) : std::nullopt;
    if (!path) {
        SetLastError(ERROR_PATH_NOT_FOUND);
        return nullptr;
    }
    QFile file(QString::fromStdString(*path));
    if (!file.open(QIODevice::ReadOnly)) {
        SetLastError(ERROR_FILE_NOT_FOUND);
        return nullptr;
    }
    QByteArray data = file.readAll();
    return IconFromData(reinterpret_cast<const BYTE *>(data.constData()), size_t(data.size()), true);
}

extern "C" HICON WINAPI CreateIconFromResourceEx(PBYTE bits, DWORD size, BOOL isIcon, DWORD, int, int, UINT) {
    return IconFromResource(bits, size, !isIcon);
}

extern "C" BOOL WINAPI DestroyCursor(HCURSOR cursor) {
    IconObject *icon = IconObjectOf(cursor);
    if (!icon) {
        SetLastError(ERROR_INVALID_CURSOR_HANDLE);
        return FALSE;
    }
    if (icon->shared) return TRUE;
    {
        std::lock_guard lock(iconLock);
        Icons().erase(icon);
    }
    if (currentCursor == cursor) currentCursor = nullptr;
    delete icon;
    return TRUE;
}

extern "C" BOOL WINAPI DestroyIcon(HICON icon) { return DestroyCursor(icon); }

extern "C" HCURSOR WINAPI SetCursor(HCURSOR cursor) {
    HCURSOR old = currentCursor;
    currentCursor = cursor;
    if (!cursorWidget || !GuiApplication()) return old;
    IconObject *icon = IconObjectOf(cursor);
    if (icon && cursorCount >= 0) cursorWidget->setCursor(QtCursorOf(icon));
    else cursorWidget->setCursor(Qt::BlankCursor);
    return old;
}

extern "C" HCURSOR WINAPI GetCursor(void) { return currentCursor; }

extern "C" int WINAPI ShowCursor(BOOL show) {
    cursorCount += show ? 1 : -1;
    return cursorCount;
}

extern "C" BOOL WINAPI GetCursorPos(LPPOINT point) {
    if (!point) return FALSE;
    QPoint p = GuiApplication() ? QCursor::pos() : QPoint(0, 0);
    *point = POINT{p.x(), p.y()};
    return TRUE;
}

extern "C" BOOL WINAPI SetCursorPos(int x, int y) {
    if (GuiApplication()) QCursor::setPos(x, y);
    return TRUE;
}
