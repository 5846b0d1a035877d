#include "qt_host.h"

#include <QAbstractEventDispatcher>
#include <QApplication>
#include <QGuiApplication>
#include <QMetaObject>
#include <QSessionManager>

#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cstdlib>
#include <string>

#include "message_queue.h"
#include "window_host.h"
#include "windows.h"

namespace platform {
namespace {
std::atomic<QApplication *> application{nullptr};

// The session is ending: every top-level window is asked with WM_QUERYENDSESSION and
// one that answers FALSE cancels the shutdown; all are then told with WM_ENDSESSION.
void QueryEndSession(QSessionManager &manager) {
    std::vector<HWND> tops;
    for (HWND h : AllWindows())
        if (auto r = FindWindowRecord(h); r && !(r->style & WS_CHILD) && r->threadId == GetCurrentThreadId()) tops.push_back(h);
    bool agreed = true;
    for (HWND h : tops)
        if (IsWindow(h) && !SendMessageA(h, WM_QUERYENDSESSION, 0, 0)) {
            agreed = false;
            break;
        }
    if (!agreed && manager.allowsInteraction()) manager.cancel();
    for (HWND h : tops)
        if (IsWindow(h)) SendMessageA(h, WM_ENDSESSION, agreed, 0);
}

// Without a session (a service, a shell as root) no runtime directory is set: give Qt
// a private one of our own, as it would take itself, so it has nothing to warn about.
void ProvideRuntimeDirectory() {
    const char *set = std::getenv("XDG_RUNTIME_DIR");
    if (set && *set) return;
    std::string dir = "/tmp/runtime-" + std::to_string(getuid());
    ::mkdir(dir.c_str(), 0700);
    struct stat info {};
    if (::lstat(dir.c_str(), &info) == 0 && S_ISDIR(info.st_mode) && info.st_uid == getuid() &&
        (info.st_mode & 0777) == 0700)
        setenv("XDG_RUNTIME_DIR", dir.c_str(), 1);
}

void ChooseQtPlatform() {
    if (std::getenv("QT_QPA_PLATFORM")) return;
    if (!std::getenv("DISPLAY") && !std::getenv("WAYLAND_DISPLAY")) setenv("QT_QPA_PLATFORM", "offscreen", 1);
}
} // namespace

bool IsGuiThread() { return GetCurrentThreadId() == DWORD(getpid()); }

QApplication *GuiApplication() {
    if (!IsGuiThread()) return nullptr;
    if (QApplication *app = application) return app;
    ChooseQtPlatform();
    ProvideRuntimeDirectory();
    static int argc = 1;
    static char name[] = "sorvel";
    static char *argv[] = {name, nullptr};
    auto *app = new QApplication(argc, argv);
    QApplication::setQuitOnLastWindowClosed(false);
    QObject::connect(app, &QGuiApplication::commitDataRequest, app, QueryEndSession, Qt::DirectConnection);
    application = app;
    return app;
}

bool GuiExists() { return application.load() != nullptr; }

bool IsHeadless() {
    ChooseQtPlatform();
    const char *name = std::getenv("QT_QPA_PLATFORM");
    if (!name) return false;
    QByteArray platform(name);
    return platform.startsWith("offscreen") || platform.startsWith("minimal");
}

void WakeGuiThread() {
    QApplication *app = application;
    if (!app) return;
    if (QAbstractEventDispatcher *dispatcher = QAbstractEventDispatcher::instance(app->thread())) dispatcher->wakeUp();
    // A nested Qt loop (a modal dialog) does not run our pump: let it carry out sent messages.
    QMetaObject::invokeMethod(app, [] { ServeSentBurst(); }, Qt::QueuedConnection);
}

void ProcessGuiEvents(bool wait) {
    if (!GuiApplication()) return;
    QCoreApplication::processEvents(wait ? QEventLoop::WaitForMoreEvents : QEventLoop::AllEvents);
    // Widgets of destroyed windows go here, where no handler of theirs is running.
    if (!IsReplaying()) QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

} // namespace platform
