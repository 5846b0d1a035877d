// WinHelpA over the desktop. There is no help engine here: a help file is handed to
// the desktop's viewer for its type and opens at its start whatever the topic, and
// HELP_QUIT has no viewer of ours to close. Headless runs open nothing.
#include <QCoreApplication>
#include <QDesktopServices>
#include <QMetaObject>
#include <QUrl>

#include <optional>

#include "dos_path.h"
#include "help_hook.h"
#include "qt_host.h"
#include "windows.h"

namespace platform {
namespace {

HelpHook &Hook() {
    static HelpHook hook;
    return hook;
}

bool NeedsFile(UINT command) { return command != HELP_QUIT && command != HELP_HELPONHELP; }

bool IsFile(const char *path) {
    DWORD attributes = GetFileAttributesA(path);
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

void OpenWithDesktop(const std::string &hostPath) {
    QCoreApplication *app = QCoreApplication::instance();
    if (!app || IsHeadless()) return;
    QUrl url = QUrl::fromLocalFile(QString::fromStdString(hostPath));
    QMetaObject::invokeMethod(app, [url] { QDesktopServices::openUrl(url); }, Qt::QueuedConnection);
}

} // namespace

void SetHelpHook(HelpHook hook) { Hook() = std::move(hook); }

} // namespace platform

extern "C" BOOL WINAPI WinHelpA(HWND window, LPCSTR file, UINT command, ULONG_PTR data) {
    using namespace platform;
    if (window && !IsWindow(window)) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return FALSE;
    }
    if (NeedsFile(command) && (!file || !*file || !IsFile(file))) {
        SetLastError(ERROR_FILE_NOT_FOUND);
        return FALSE;
    }
    if (Hook()) return Hook()(HelpRequest{window, file ? file : "", command, data});
    if (!NeedsFile(command)) return TRUE; // nothing of ours to show or close
    std::optional<std::string> host = DosToHostPath(file);
    if (host) OpenWithDesktop(*host);
    return host ? TRUE : FALSE;
}
