#include "runtime_fixture.h"

#include <mutex>

#include "core_library.h"
#include "gbk.h"
#include "image.h"
#include "memory.h"
#include "runtime_app.h"

namespace testsupport {
namespace {

// A NUL (the shared empty text) and the empty byte-set block, as in every image.
alignas(8) const uint8_t kConstantArea[16] = {0, 0, 0, 0, 0, 0, 0, 0, 1, 0, 0, 0, 0, 0, 0, 0};
const rt::ByteSetHeader *EmptyByteSetBlock() { return reinterpret_cast<const rt::ByteSetHeader *>(kConstantArea + 8); }

rt::LibraryInfo CoreLibrary() {
    rt::LibraryInfo info{};
    info.marker = rt::kLibraryRecordMarker;
    info.notify = cmd::CoreLibraryNotify;
    return info;
}

const rt::LibraryInfo coreLibrary = CoreLibrary();
const rt::LibraryInfo *const libraries[] = {&coreLibrary};

const rt::ImageHeader testImage = {3, 0, 0, 0, kConstantArea, sizeof kConstantArea, nullptr, 0, 1, libraries, 0,
                                   nullptr, nullptr};

int NoEntry() { return 0; }

} // namespace

void StartTestRuntime() {
    static std::once_flag once;
    std::call_once(once, [] {
        static rt::RuntimeApp app(&testImage, &NoEntry, nullptr);
        rt::RuntimeHelpers.handler(rt::kHandlerInitialize, nullptr);
    });
}

rt::TypedValue CallCommand(rt::CommandRoutine command, std::initializer_list<rt::TypedValue> args) {
    return rt::RuntimeHelpers.callCoreCommand(command, int32_t(args.size()), const_cast<rt::TypedValue *>(args.begin()));
}

const char *EmptyText() { return reinterpret_cast<const char *>(kConstantArea); }

const void *EmptyByteSet() { return EmptyByteSetBlock(); }


std::string TakeText(rt::TypedValue &result) {
    const char *text = result.Pointer<const char>();
    std::string s = text ? text : "";
    rt::FreeValue(result);
    return s;
}

std::string TakeByteSet(rt::TypedValue &result) {
    const uint8_t *block = result.Pointer<const uint8_t>();
    std::string s = block ? std::string(reinterpret_cast<const char *>(rt::ByteSetBytes(block)), rt::ByteSetSize(block)) : "";
    rt::FreeValue(result);
    return s;
}

} // namespace testsupport
