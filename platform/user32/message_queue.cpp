// Per-thread message queues with posted and sent messages, as user32 keeps them.
// A message sent to a window of another thread is carried out on that thread while
// the sender waits, and a waiting sender still carries out what is sent to it.
#include "message_queue.h"

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <thread>

#include "qt_host.h"
#include "window_registry.h"
#include "winbase.h"

namespace platform {
namespace {

struct SentMessage {
    MSG msg{};
    std::function<LRESULT()> call; // a platform call carried out on the owner's thread
    LRESULT result = 0;
    std::atomic<bool> done{false};
    struct ThreadQueue *sender = nullptr;
};

struct ThreadQueue {
    DWORD threadId = 0;
    bool gui = false;
    std::mutex lock;
    std::condition_variable wake;
    std::deque<MSG> posted;
    std::deque<std::shared_ptr<SentMessage>> sent;
    std::atomic<int> sentWaiting{0}; // sent.size(), readable without the lock
    std::atomic<bool> lingering{false}; // the thread watches sentWaiting and needs no wake
    bool quitPosted = false;
    int quitCode = 0;
    bool closed = false;
    int inSend = 0;
};

std::mutex queuesLock;
std::map<DWORD, std::shared_ptr<ThreadQueue>> &Queues() {
    static auto *queues = new std::map<DWORD, std::shared_ptr<ThreadQueue>>;
    return *queues;
}

// Closes the queue when its thread ends.
struct QueueOwner {
    std::shared_ptr<ThreadQueue> queue;
    ~QueueOwner() {
        if (queue) CloseThreadQueue();
    }
};
thread_local QueueOwner owner;

ThreadQueue &MyQueue() {
    if (!owner.queue) {
        auto q = std::make_shared<ThreadQueue>();
        q->threadId = GetCurrentThreadId();
        q->gui = IsGuiThread();
        std::lock_guard lock(queuesLock);
        Queues()[q->threadId] = q;
        owner.queue = q;
    }
    return *owner.queue;
}

std::shared_ptr<ThreadQueue> QueueOf(DWORD threadId) {
    std::lock_guard lock(queuesLock);
    auto it = Queues().find(threadId);
    return it == Queues().end() ? nullptr : it->second;
}

void Wake(ThreadQueue &q) {
    q.wake.notify_all();
    if (q.gui) WakeGuiThread();
}

DWORD Now() { return GetTickCount(); }

// Waking a sleeping thread costs far more than carrying out a message (tens of
// microseconds on a virtual machine), and a thread that sends usually sends again at
// once or is answered at once (a job appending line after line). So both sides watch
// for a moment before they sleep.
using Clock = std::chrono::steady_clock;
constexpr auto kWatchTime = std::chrono::microseconds(100);
// How long the window thread carries out one burst of sent messages before it lets Qt
// paint and take input: sent messages come first, as in Win32, but not for ever.
constexpr auto kBurstTime = std::chrono::milliseconds(50);

// Spins first, then lets other threads of this CPU run between looks.
template <typename Ready> bool WatchFor(Ready ready) {
    auto until = Clock::now() + kWatchTime, yieldFrom = Clock::now() + kWatchTime / 5;
    for (unsigned looks = 1; !ready(); ++looks) {
        if (looks % 64) continue;
        auto now = Clock::now();
        if (now >= until) return false;
        if (now >= yieldFrom) std::this_thread::yield();
    }
    return true;
}

bool AwaitNextSent(ThreadQueue &q) {
    q.lingering.store(true);
    WatchFor([&] { return q.sentWaiting.load() > 0; });
    q.lingering.store(false);
    return q.sentWaiting.load() > 0;
}

bool Matches(const MSG &m, HWND hwnd, UINT low, UINT high) {
    if (hwnd && hwnd != HWND(-1) && m.hwnd != hwnd) return false;
    if (hwnd == HWND(-1) && m.hwnd) return false;
    if (low == 0 && high == 0) return true;
    return m.message >= low && m.message <= high;
}

// Takes the first matching posted message, or the quit message once nothing else waits.
bool TakeMessage(ThreadQueue &q, MSG &out, HWND hwnd, UINT low, UINT high, bool remove) {
    std::lock_guard lock(q.lock);
    for (auto it = q.posted.begin(); it != q.posted.end(); ++it) {
        if (!Matches(*it, hwnd, low, high)) continue;
        out = *it;
        if (remove) q.posted.erase(it);
        return true;
    }
    if (q.quitPosted && q.posted.empty()) {
        out = MSG{nullptr, WM_QUIT, WPARAM(q.quitCode), 0, Now(), {}};
        if (remove) q.quitPosted = false;
        return true;
    }
    return false;
}

LRESULT CallProcOf(const MSG &m) {
    auto record = FindWindowRecord(m.hwnd);
    return record && record->proc ? record->proc(m.hwnd, m.message, m.wParam, m.lParam) : 0;
}

} // namespace

void EnsureThreadQueue() { MyQueue(); }

bool PostToThread(DWORD threadId, const MSG &msg) {
    auto q = threadId == GetCurrentThreadId() ? owner.queue : QueueOf(threadId);
    if (!q && threadId == GetCurrentThreadId()) q = QueueOf(MyQueue().threadId);
    if (!q) return false;
    {
        std::lock_guard lock(q->lock);
        if (q->closed) return false;
        q->posted.push_back(msg);
    }
    Wake(*q);
    return true;
}

bool PostToThreadFront(const MSG &msg) {
    ThreadQueue &q = MyQueue();
    {
        std::lock_guard lock(q.lock);
        q.posted.push_front(msg);
    }
    Wake(q);
    return true;
}

bool PostCoalesced(DWORD threadId, const MSG &msg) {
    auto q = QueueOf(threadId);
    if (!q) return false;
    {
        std::lock_guard lock(q->lock);
        if (q->closed) return false;
        for (const MSG &m : q->posted)
            if (m.hwnd == msg.hwnd && m.message == msg.message && m.wParam == msg.wParam) return true;
        q->posted.push_back(msg);
    }
    Wake(*q);
    return true;
}

void RemovePostedFor(HWND hwnd, UINT message, WPARAM wParam) {
    ThreadQueue &q = MyQueue();
    std::lock_guard lock(q.lock);
    for (auto it = q.posted.begin(); it != q.posted.end();)
        it = (it->hwnd == hwnd && it->message == message && it->wParam == wParam) ? q.posted.erase(it) : it + 1;
}

int ServeSent(ThreadQueue &q) {
    for (int served = 0;; ++served) {
        std::shared_ptr<SentMessage> item;
        {
            std::lock_guard lock(q.lock);
            if (q.sent.empty()) return served;
            item = q.sent.front();
            q.sent.pop_front();
            --q.sentWaiting;
        }
        ++q.inSend;
        LRESULT result = item->call ? item->call() : CallProcOf(item->msg);
        --q.inSend;
        std::lock_guard lock(item->sender->lock);
        item->result = result;
        item->done.store(true);
        item->sender->wake.notify_all();
    }
}

void ProcessSentMessages() { ServeSent(MyQueue()); }

void ServeSentBurst() {
    ThreadQueue &q = MyQueue();
    for (auto end = Clock::now() + kBurstTime; ServeSent(q) > 0 && Clock::now() < end;)
        if (!AwaitNextSent(q)) return;
}

void CloseThreadQueue() {
    std::shared_ptr<ThreadQueue> q = owner.queue;
    if (!q) return;
    {
        std::lock_guard lock(queuesLock);
        Queues().erase(q->threadId);
    }
    std::deque<std::shared_ptr<SentMessage>> pending;
    {
        std::lock_guard lock(q->lock);
        q->closed = true;
        pending.swap(q->sent);
        q->sentWaiting = 0;
    }
    for (auto &item : pending) {
        std::lock_guard lock(item->sender->lock);
        item->done.store(true);
        item->sender->wake.notify_all();
    }
    owner.queue.reset();
}

LRESULT SendAndWait(DWORD threadId, const std::shared_ptr<SentMessage> &item);

} // namespace platform

using namespace platform;

extern "C" BOOL WINAPI PostMessageA(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    DWORD thread = GetCurrentThreadId();
    if (hwnd) {
        auto record = FindWindowRecord(hwnd);
        if (!record) {
            SetLastError(ERROR_INVALID_WINDOW_HANDLE);
            return FALSE;
        }
        thread = record->threadId;
    }
    MyQueue();
    return PostToThread(thread, MSG{hwnd, msg, wp, lp, Now(), {}}) ? TRUE : FALSE;
}

extern "C" BOOL WINAPI PostThreadMessageA(DWORD threadId, UINT msg, WPARAM wp, LPARAM lp) {
    if (!PostToThread(threadId, MSG{nullptr, msg, wp, lp, Now(), {}})) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    return TRUE;
}

extern "C" LRESULT WINAPI SendMessageA(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    auto record = FindWindowRecord(hwnd);
    if (!record) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return 0;
    }
    if (record->threadId == GetCurrentThreadId()) return record->proc ? record->proc(hwnd, msg, wp, lp) : 0;
    auto item = std::make_shared<SentMessage>();
    item->msg = MSG{hwnd, msg, wp, lp, Now(), {}};
    return platform::SendAndWait(record->threadId, item);
}

namespace platform {

LRESULT SendAndWait(DWORD threadId, const std::shared_ptr<SentMessage> &item) {
    auto target = QueueOf(threadId);
    if (!target) return 0;
    ThreadQueue &me = MyQueue();
    item->sender = &me;
    {
        std::lock_guard lock(target->lock);
        if (target->closed) return 0;
        target->sent.push_back(item);
        ++target->sentWaiting;
    }
    if (!target->lingering.load()) Wake(*target);
    WatchFor([&] { return item->done.load() || me.sentWaiting.load() > 0; });
    for (;;) {
        ProcessSentMessages();
        std::unique_lock lock(me.lock);
        if (item->done) return item->result;
        me.wake.wait(lock, [&] { return item->done || !me.sent.empty(); });
        if (item->done) return item->result;
    }
}

bool CallOnOwnerThread(HWND hwnd, const std::function<LRESULT()> &call, LRESULT &result) {
    auto record = FindWindowRecord(hwnd);
    if (!record || record->threadId == GetCurrentThreadId()) return false;
    auto item = std::make_shared<SentMessage>();
    item->msg = MSG{hwnd, WM_NULL, 0, 0, Now(), {}};
    item->call = call;
    result = SendAndWait(record->threadId, item);
    return true;
}

bool CallOnGuiThread(const std::function<LRESULT()> &call, LRESULT &result) {
    auto gui = DWORD(GetCurrentProcessId()); // the process's first thread runs Qt
    if (GetCurrentThreadId() == gui || !QueueOf(gui)) return false;
    auto item = std::make_shared<SentMessage>();
    item->msg = MSG{nullptr, WM_NULL, 0, 0, Now(), {}};
    item->call = call;
    result = SendAndWait(gui, item);
    return true;
}

} // namespace platform

using namespace platform;

extern "C" BOOL WINAPI InSendMessage(void) { return MyQueue().inSend > 0; }

extern "C" BOOL WINAPI PeekMessageA(LPMSG out, HWND hwnd, UINT low, UINT high, UINT flags) {
    ThreadQueue &q = MyQueue();
    ProcessSentMessages();
    MSG m;
    if (!TakeMessage(q, m, hwnd, low, high, flags & PM_REMOVE)) {
        if (!q.gui) return FALSE;
        ProcessGuiEvents(false);
        ProcessSentMessages();
        if (!TakeMessage(q, m, hwnd, low, high, flags & PM_REMOVE)) return FALSE;
    }
    if (out) *out = m;
    return TRUE;
}

extern "C" BOOL WINAPI GetMessageA(LPMSG out, HWND hwnd, UINT low, UINT high) {
    ThreadQueue &q = MyQueue();
    for (;;) {
        ServeSentBurst();
        MSG m;
        if (TakeMessage(q, m, hwnd, low, high, true)) {
            if (out) *out = m;
            return m.message != WM_QUIT;
        }
        if (q.gui) {
            ProcessGuiEvents(true);
            continue;
        }
        std::unique_lock lock(q.lock);
        q.wake.wait(lock, [&] { return !q.posted.empty() || !q.sent.empty() || q.quitPosted; });
    }
}

extern "C" BOOL WINAPI WaitMessage(void) {
    ThreadQueue &q = MyQueue();
    ProcessSentMessages();
    if (q.gui) {
        std::unique_lock lock(q.lock);
        bool ready = !q.posted.empty() || q.quitPosted;
        lock.unlock();
        if (!ready) ProcessGuiEvents(true);
        return TRUE;
    }
    std::unique_lock lock(q.lock);
    q.wake.wait(lock, [&] { return !q.posted.empty() || !q.sent.empty() || q.quitPosted; });
    return TRUE;
}

extern "C" DWORD WINAPI GetQueueStatus(UINT) {
    ThreadQueue &q = MyQueue();
    std::lock_guard lock(q.lock);
    DWORD status = 0;
    if (!q.posted.empty() || q.quitPosted) status |= QS_POSTMESSAGE;
    if (!q.sent.empty()) status |= QS_SENDMESSAGE;
    return status | (status << 16);
}

extern "C" void WINAPI PostQuitMessage(int code) {
    ThreadQueue &q = MyQueue();
    {
        std::lock_guard lock(q.lock);
        q.quitPosted = true;
        q.quitCode = code;
    }
    Wake(q);
}

extern "C" LRESULT WINAPI DispatchMessageA(const MSG *msg) {
    if (!msg) return 0;
    if (msg->message == WM_TIMER && msg->lParam) {
        auto timerProc = reinterpret_cast<void(CALLBACK *)(HWND, UINT, UINT_PTR, DWORD)>(msg->lParam);
        timerProc(msg->hwnd, WM_TIMER, msg->wParam, Now());
        return 0;
    }
    if (!msg->hwnd) return 0;
    return CallProcOf(*msg);
}

extern "C" DWORD WINAPI GetMessageTime(void) { return Now(); }
