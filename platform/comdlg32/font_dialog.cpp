// ChooseFontA over QFontDialog, or answered by the hook.
#include <QFontDialog>
#include <QFontInfo>

#include <cstring>

#include "dialog_hook.h"
#include "gdi_object.h"
#include "host_text.h"
#include "qt_host.h"
#include "window_host.h"
#include "windows.h"

namespace platform {

DWORD &DialogError();

namespace {

FontDialogHook &FontHook() {
    static FontDialogHook hook;
    return hook;
}

LOGFONTA LogFontOf(const QFont &font) {
    LOGFONTA lf{};
    QFontInfo info(font);
    lf.lfHeight = -(info.pixelSize() > 0 ? info.pixelSize() : font.pointSize() * 96 / 72);
    lf.lfWeight = font.weight();
    lf.lfItalic = font.italic();
    lf.lfUnderline = font.underline();
    lf.lfStrikeOut = font.strikeOut();
    lf.lfCharSet = DEFAULT_CHARSET;
    std::string face = Utf16ToGbk(font.family().toStdU16String()).substr(0, LF_FACESIZE - 1);
    std::memcpy(lf.lfFaceName, face.c_str(), face.size() + 1);
    return lf;
}

bool AskQt(LOGFONTA &lf, HWND owner) {
    bool ok = false;
    QFont chosen = QFontDialog::getFont(&ok, FontFromLogFont(lf), HostOf(owner));
    if (ok) lf = LogFontOf(chosen);
    return ok;
}

} // namespace

void SetFontDialogHook(FontDialogHook hook) { FontHook() = std::move(hook); }

} // namespace platform

using namespace platform;

extern "C" BOOL WINAPI ChooseFontA(LPCHOOSEFONTA cf) {
    DialogError() = 0;
    if (!cf || cf->lStructSize != sizeof(CHOOSEFONTA)) {
        DialogError() = CDERR_STRUCTSIZE;
        return FALSE;
    }
    if (!cf->lpLogFont) {
        DialogError() = CDERR_INITIALIZATION;
        return FALSE;
    }
    LOGFONTA lf = (cf->Flags & CF_INITTOLOGFONTSTRUCT) ? *cf->lpLogFont : LOGFONTA{};
    COLORREF colour = cf->rgbColors;
    bool ok = false;
    if (FontHook()) ok = FontHook()(lf, colour);
    else if (!IsHeadless() && GuiApplication()) ok = AskQt(lf, cf->hwndOwner);
    if (!ok) return FALSE;
    if (cf->Flags & CF_EFFECTS) cf->rgbColors = colour;
    else lf.lfUnderline = lf.lfStrikeOut = 0;
    *cf->lpLogFont = lf;
    LONG pixels = lf.lfHeight < 0 ? -lf.lfHeight : lf.lfHeight;
    cf->iPointSize = INT(pixels * 720 / 96);
    cf->nFontType = 0x2000; // SCREEN_FONTTYPE
    return TRUE;
}
