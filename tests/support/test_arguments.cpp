// Argument texts and byte sets belong to the test that built them and are freed when
// it ends, as the compiled caller frees its temporaries once the statement is done:
// a test may pass one argument to several calls, and none outlives its test.
#include <gtest/gtest.h>

#include <mutex>
#include <vector>

#include "gbk.h"
#include "memory.h"
#include "runtime_fixture.h"

namespace testsupport {
namespace {

class ArgumentBlocks : public testing::EmptyTestEventListener {
public:
    void *Keep(void *block) {
        std::lock_guard<std::mutex> hold(lock_);
        blocks_.push_back(block);
        return block;
    }
    void OnTestEnd(const testing::TestInfo &) override {
        std::lock_guard<std::mutex> hold(lock_);
        for (void *block : blocks_) rt::FreeMemory(block);
        blocks_.clear();
    }

private:
    std::mutex lock_;
    std::vector<void *> blocks_;
};

// Owned by GoogleTest's listener list once appended, which lives to the end of the process.
ArgumentBlocks &Blocks() {
    static ArgumentBlocks *blocks = [] {
        auto *made = new ArgumentBlocks;
        testing::UnitTest::GetInstance()->listeners().Append(made);
        return made;
    }();
    return *blocks;
}

// Appended before any test runs, so no test's thread appends it while events go out.
[[maybe_unused]] const ArgumentBlocks &registered = Blocks();

} // namespace

rt::TypedValue TextArg(std::string_view bytes) {
    rt::TypedValue v{0, 0, rt::kTypeText};
    v.SetPointer(bytes.empty() ? EmptyText() : Blocks().Keep(rt::MakeText(bytes.data(), bytes.size())));
    return v;
}

rt::TypedValue Utf8TextArg(std::string_view utf8) { return TextArg(rt::ToGbk(utf8)); }

rt::TypedValue ByteSetArg(std::string_view bytes) {
    rt::TypedValue v{0, 0, rt::kTypeByteSet};
    v.SetPointer(bytes.empty() ? EmptyByteSet() : Blocks().Keep(rt::MakeByteSet(bytes.data(), bytes.size())));
    return v;
}

rt::TypedValue Omitted() { return rt::TypedValue{0, 0, 0}; }

} // namespace testsupport
