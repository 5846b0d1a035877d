#include "core_library.h"

#include <atomic>

namespace cmd {
namespace {
std::atomic<rt::ServiceEntry> serviceEntry{nullptr};
}

intptr_t CoreLibraryNotify(int32_t code, intptr_t p1, intptr_t) {
    if (code != rt::kNotifyStart) return -1;
    serviceEntry = reinterpret_cast<rt::ServiceEntry>(p1);
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
