// The application's entry routine, in the order the runtime expects: start the
// runtime, create the globals, register their release, load the start-up window and
// run the main loop.
#include "app_globals.h"
#include "runtime_calls.h"

namespace {
constexpr uint32_t kMainWindowId = 0x52019f78;
}

int ApplicationEntry() {
    app::CallHandler(rt::kHandlerInitialize, {});
    app::CreateGlobals();
    app::CallHandler(rt::kHandlerRegisterCleanUp, {reinterpret_cast<uintptr_t>(&app::ReleaseGlobals)});
    rt::RuntimeHelpers.loadStartupWindow(kMainWindowId);
    rt::RuntimeHelpers.runMainLoop();
    return 0;
}
