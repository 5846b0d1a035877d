#include "core_library.h"

#include <atomic>

#include "window_thread_call.h"

namespace cmd {
namespace {
std::atomic<rt::ServiceEntry> serviceEntry{nullptr};
}

// Start-up runs on the thread that owns the units, where the carrier of window-thread
// calls must live. The end is seen but, as before, answered as not handled. Codes 2,
// 10, 11 and 12 are this library's own and ask nothing of this image: handled, 0.
intptr_t CoreLibraryNotify(int32_t code, intptr_t p1, intptr_t p2) {
    if (code == rt::kNotifyEnd) StopWindowThreadCalls();
    if (code == rt::kNotifyPlaySound) return CoreService(rt::kServicePlaySound, p1, p2);
    if (code == 2 || (code >= 10 && code <= 12)) return 0;
    if (code != rt::kNotifyStart) return -1;
    serviceEntry = reinterpret_cast<rt::ServiceEntry>(p1);
    StartWindowThreadCalls();
    return 0;
}

intptr_t CoreService(int32_t code, intptr_t p1, intptr_t p2) {
    rt::ServiceEntry entry = serviceEntry;
    return entry ? entry(code, p1, p2) : 0;
}

void ReportProblem(const char *gbkMessage) {
    CoreService(rt::kServiceReportError, reinterpret_cast<intptr_t>(gbkMessage));
}

} // namespace cmd
