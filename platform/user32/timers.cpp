// SetTimer/KillTimer over Qt timers on the GUI thread. An elapsed timer posts WM_TIMER
// unless one for the same timer still waits in the queue, as Win32 coalesces them.
#include <QTimer>

#include <map>
#include <mutex>

#include "message_queue.h"
#include "qt_host.h"
#include "windows.h"

namespace platform {
namespace {

struct TimerKey {
    HWND hwnd;
    UINT_PTR id;
    bool operator<(const TimerKey &o) const { return hwnd != o.hwnd ? hwnd < o.hwnd : id < o.id; }
};

struct Timer {
    QTimer *qt = nullptr;
    TIMERPROC proc = nullptr;
    DWORD threadId = 0;
};

std::map<TimerKey, Timer> &Timers() {
    static auto *timers = new std::map<TimerKey, Timer>;
    return *timers;
}
UINT_PTR nextThreadTimer = 1;

void Stop(Timer &t) {
    if (t.qt) {
        t.qt->stop();
        t.qt->deleteLater();
    }
}

} // namespace

void KillTimersOf(HWND hwnd) {
    auto &timers = Timers();
    for (auto it = timers.begin(); it != timers.end();) {
        if (it->first.hwnd != hwnd) {
            ++it;
            continue;
        }
        Stop(it->second);
        it = timers.erase(it);
    }
}

} // namespace platform

using namespace platform;

extern "C" UINT_PTR WINAPI SetTimer(HWND hwnd, UINT_PTR id, UINT elapse, TIMERPROC proc) {
    if (LRESULT r; CallOnOwnerThread(hwnd, [&] { return LRESULT(SetTimer(hwnd, id, elapse, proc)); }, r)) return UINT_PTR(r);
    if (hwnd && !IsWindow(hwnd)) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return 0;
    }
    if (!GuiApplication()) {
        SetLastError(ERROR_NOT_SUPPORTED);
        return 0;
    }
    EnsureThreadQueue();
    if (!hwnd) id = nextThreadTimer++;
    if (elapse < 10) elapse = 10;
    TimerKey key{hwnd, id};
    auto &timers = Timers();
    auto it = timers.find(key);
    if (it == timers.end()) {
        Timer t;
        t.qt = new QTimer;
        it = timers.emplace(key, t).first;
        QObject::connect(it->second.qt, &QTimer::timeout, [key] {
            auto found = Timers().find(key);
            if (found == Timers().end()) return;
            MSG m{key.hwnd, WM_TIMER, key.id, reinterpret_cast<LPARAM>(found->second.proc), GetTickCount(), {}};
            PostCoalesced(found->second.threadId, m);
        });
    }
    it->second.proc = proc;
    it->second.threadId = GetCurrentThreadId();
    it->second.qt->start(int(elapse));
    return hwnd ? (id ? id : 1) : id;
}

extern "C" BOOL WINAPI KillTimer(HWND hwnd, UINT_PTR id) {
    if (LRESULT r; CallOnOwnerThread(hwnd, [&] { return LRESULT(KillTimer(hwnd, id)); }, r)) return BOOL(r);
    auto &timers = Timers();
    auto it = timers.find(TimerKey{hwnd, id});
    if (it == timers.end()) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    Stop(it->second);
    timers.erase(it);
    RemovePostedFor(hwnd, WM_TIMER, id);
    return TRUE;
}
