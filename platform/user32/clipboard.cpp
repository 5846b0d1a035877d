// The clipboard as far as the controls ask about it: whether it holds text.
#include <QApplication>
#include <QClipboard>

#include "qt_host.h"
#include "windows.h"

extern "C" BOOL WINAPI IsClipboardFormatAvailable(UINT format) {
    if (format != CF_TEXT && format != CF_UNICODETEXT) return FALSE;
    return platform::GuiApplication() && !QApplication::clipboard()->text().isEmpty();
}
