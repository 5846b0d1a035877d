#include "app_runtime_fixture.h"

#include <mutex>

#include "image.h"
#include "image_data.h"
#include "libraries.h"
#include "runtime_app.h"
#include "runtime_interface.h"

namespace testsupport {
namespace {

const rt::ImageHeader applicationData = {3,
                                         0,
                                         0,
                                         0,
                                         image::ConstantArea,
                                         image::kConstantAreaSize,
                                         nullptr,
                                         0,
                                         image::kLibraryCount,
                                         image::LibraryPointers(),
                                         image::kDeclaredFunctionCount,
                                         image::DeclaredDllNames,
                                         image::DeclaredFunctionNames};

int NoEntry() { return 0; }

} // namespace

void StartApplicationRuntime() {
    static std::once_flag once;
    std::call_once(once, [] {
        static rt::RuntimeApp app(&applicationData, &NoEntry, nullptr);
        rt::RuntimeHelpers.handler(rt::kHandlerInitialize, nullptr);
    });
}

} // namespace testsupport
