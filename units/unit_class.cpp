#include "unit_class.h"

#include <mutex>
#include <set>
#include <string>

#include "windows.h"

namespace units {

void RegisterUnitClass(const char *className) {
    static std::mutex lock;
    static std::set<std::string> registered;
    std::lock_guard<std::mutex> guard(lock);
    if (!registered.insert(className).second) return;
    WNDCLASSA wc{};
    wc.style = CS_DBLCLKS;
    wc.lpfnWndProc = DefWindowProcA;
    wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    wc.lpszClassName = className;
    RegisterClassA(&wc);
}

} // namespace units
