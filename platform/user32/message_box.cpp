// Message boxes: a Qt dialog with a display; without one, "caption: text" on stderr
// and the default button, so an unattended run never waits.
#include <QMessageBox>
#include <QString>

#include <cstdio>
#include <string>

#include "host_text.h"
#include "message_queue.h"
#include "qt_host.h"
#include "winuser.h"

namespace {

struct ButtonSet {
    int ids[3];
    int count;
};

ButtonSet ButtonsOf(UINT type) {
    switch (type & MB_TYPEMASK) {
    case MB_OKCANCEL: return {{IDOK, IDCANCEL}, 2};
    case MB_ABORTRETRYIGNORE: return {{IDABORT, IDRETRY, IDIGNORE}, 3};
    case MB_YESNOCANCEL: return {{IDYES, IDNO, IDCANCEL}, 3};
    case MB_YESNO: return {{IDYES, IDNO}, 2};
    case MB_RETRYCANCEL: return {{IDRETRY, IDCANCEL}, 2};
    default: return {{IDOK}, 1};
    }
}

int DefaultButton(UINT type) {
    ButtonSet set = ButtonsOf(type);
    int index = int((type & MB_DEFMASK) >> 8);
    return set.ids[index < set.count ? index : 0];
}

QMessageBox::StandardButton QtButton(int id) {
    switch (id) {
    case IDCANCEL: return QMessageBox::Cancel;
    case IDABORT: return QMessageBox::Abort;
    case IDRETRY: return QMessageBox::Retry;
    case IDIGNORE: return QMessageBox::Ignore;
    case IDYES: return QMessageBox::Yes;
    case IDNO: return QMessageBox::No;
    default: return QMessageBox::Ok;
    }
}

QMessageBox::Icon QtIcon(UINT type) {
    switch (type & 0xF0) {
    case MB_ICONHAND: return QMessageBox::Critical;
    case MB_ICONQUESTION: return QMessageBox::Question;
    case MB_ICONEXCLAMATION: return QMessageBox::Warning;
    case MB_ICONASTERISK: return QMessageBox::Information;
    default: return QMessageBox::NoIcon;
    }
}

QString FromGbk(const char *text) {
    std::u16string wide = platform::GbkToUtf16(text ? text : "");
    return QString::fromUtf16(wide.data(), qsizetype(wide.size()));
}

int ShowQtBox(const char *text, const char *caption, UINT type) {
    QMessageBox box(QtIcon(type), FromGbk(caption), FromGbk(text));
    ButtonSet set = ButtonsOf(type);
    for (int i = 0; i < set.count; ++i) box.addButton(QtButton(set.ids[i]));
    box.setDefaultButton(QtButton(DefaultButton(type)));
    int chosen = box.exec();
    for (int i = 0; i < set.count; ++i)
        if (chosen == QtButton(set.ids[i])) return set.ids[i];
    return set.count > 1 && (type & MB_TYPEMASK) != MB_YESNO ? IDCANCEL : DefaultButton(type);
}

} // namespace

extern "C" int WINAPI MessageBoxA(HWND owner, LPCSTR text, LPCSTR caption, UINT type) {
    if (!caption) caption = "\xB4\xED\xCE\xF3"; // "错误", as Win32 titles an untitled box
    // Another thread's box is shown by the GUI thread while that thread waits.
    LRESULT shown;
    if (!platform::IsHeadless() && platform::GuiExists() &&
        platform::CallOnGuiThread([&] { return LRESULT(MessageBoxA(owner, text, caption, type)); }, shown))
        return int(shown);
    if (platform::IsHeadless() || !platform::GuiApplication()) {
        std::string line = platform::GbkToUtf8(caption) + ": " + platform::GbkToUtf8(text ? text : "") + "\n";
        std::fputs(line.c_str(), stderr);
        std::fflush(stderr);
        return DefaultButton(type);
    }
    return ShowQtBox(text, caption, type);
}
