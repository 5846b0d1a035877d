// Per-thread message queues. The GUI thread's queue waits inside Qt's event loop, so
// Qt input, timers and posted messages all wake the same pump.
#pragma once

#include <functional>

#include "winuser.h"

namespace platform {

// Gives the calling thread its queue; a thread that owns a window always has one.
void EnsureThreadQueue();
bool PostToThread(DWORD threadId, const MSG &msg);
// The calling thread's next message: a character that TranslateMessage makes.
bool PostToThreadFront(const MSG &msg);
// Posts unless the same window, message and wParam already wait (timers).
bool PostCoalesced(DWORD threadId, const MSG &msg);
void RemovePostedFor(HWND hwnd, UINT message, WPARAM wParam);
// Carries out the messages other threads sent to this thread.
void ProcessSentMessages();
// The same, then for a short while also what the senders send next (see kBurstTime).
void ServeSentBurst();
// Carries out a platform call on the thread that owns `hwnd` while the caller waits, as
// Win32 does for window functions called from another thread. False on the owner thread.
bool CallOnOwnerThread(HWND hwnd, const std::function<LRESULT()> &call, LRESULT &result);
// Carries out `call` on the GUI thread (the one Qt runs on) while the caller waits.
// False on the GUI thread itself, or when that thread has no queue.
bool CallOnGuiThread(const std::function<LRESULT()> &call, LRESULT &result);
// Ends the thread's queue: senders waiting on it are released with result 0.
void CloseThreadQueue();

} // namespace platform
