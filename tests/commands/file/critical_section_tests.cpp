// CreateCriticalSection of library 5: handles the system functions take as they are,
// creation from many threads, and deletion of every node when the program ends.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <set>
#include <thread>
#include <vector>

#include "command_table.h"
#include "exit_codes.h"
#include "image.h"
#include "libraries.h"
#include "multithreading_library.h"
#include "runtime_app.h"
#include "runtime_fixture.h"
#include "unavailable_command.h"
#include "windows.h"

using namespace testsupport;

namespace {

rt::TypedValue CreateOne() {
    return rt::RuntimeHelpers.callLibraryCommand(cmd::CreateCriticalSection, 0, nullptr);
}

CRITICAL_SECTION *SectionOf(const rt::TypedValue &handle) { return handle.Pointer<CRITICAL_SECTION>(); }

TEST(CriticalSections, HandlesAreLiveCriticalSections) {
    StartTestRuntime();
    rt::TypedValue a = CreateOne(), b = CreateOne();
    EXPECT_EQ(a.type, rt::kTypeInteger);
    ASSERT_NE(SectionOf(a), nullptr);
    EXPECT_NE(SectionOf(a), SectionOf(b));

    long counter = 0;
    std::vector<std::thread> threads;
    for (int t = 0; t < 4; ++t)
        threads.emplace_back([&] {
            for (int i = 0; i < 20000; ++i) {
                EnterCriticalSection(SectionOf(a));
                long seen = counter;
                counter = seen + 1;
                LeaveCriticalSection(SectionOf(a));
            }
        });
    for (auto &t : threads) t.join();
    EXPECT_EQ(counter, 80000);
    EXPECT_TRUE(TryEnterCriticalSection(SectionOf(b)));
    LeaveCriticalSection(SectionOf(b));
}

TEST(CriticalSections, CreationFromManyThreadsLosesNoNode) {
    StartTestRuntime();
    int32_t before = cmd::LiveCriticalSectionCount();
    std::vector<std::thread> threads;
    std::vector<std::vector<void *>> made(4);
    for (int t = 0; t < 4; ++t)
        threads.emplace_back([&, t] {
            for (int i = 0; i < 250; ++i) made[t].push_back(SectionOf(CreateOne()));
        });
    for (auto &t : threads) t.join();
    EXPECT_EQ(cmd::LiveCriticalSectionCount(), before + 1000);
    std::set<void *> distinct;
    for (auto &list : made) distinct.insert(list.begin(), list.end());
    EXPECT_EQ(distinct.size(), 1000u);
}

TEST(CriticalSections, NotifyAnswersOnlyStartAndEnd) {
    EXPECT_EQ(cmd::MultithreadingNotify(rt::kNotifyStart, 0, 0), 0);
    EXPECT_EQ(cmd::MultithreadingNotify(2, 0, 0), -1);
    EXPECT_EQ(cmd::MultithreadingNotify(rt::kNotifyTypeInterface, 0, 0), -1);
}

// The image's library 5 is the multithreading library with this notify routine, and
// its command table holds CreateCriticalSection.
TEST(CriticalSections, TheImageListsTheCommandUnderLibraryFive) {
    const rt::LibraryInfo *library = image::LibraryPointers()[4];
    EXPECT_EQ(library->notify, &cmd::MultithreadingNotify);
    ASSERT_EQ(library->commandCount, 1u);
    EXPECT_EQ(library->commands[0], reinterpret_cast<const void *>(&cmd::CreateCriticalSection));
}

// The core library lists its 67 commands, among them LoadWindow and ToHalfWidth.
TEST(CriticalSections, TheCoreLibraryListsSixtySevenCommands) {
    const rt::LibraryInfo *core = image::LibraryPointers()[0];
    ASSERT_EQ(core->commandCount, 67u);
    const void *const *begin = core->commands, *const *end = begin + core->commandCount;
    for (const char *name : {"LoadWindow", "ToHalfWidth"})
        EXPECT_NE(std::find(begin, end, reinterpret_cast<const void *>(cmd::FindCommand(name)->routine)), end) << name;
}

// Libraries 2, 3, 4 and 6 list one command each; called, it reports that it is not
// available instead of doing nothing.
TEST(CriticalSections, TheOtherLibrariesListOneCommandThatReportsItself) {
    for (int i : {1, 2, 3, 5}) {
        const rt::LibraryInfo *library = image::LibraryPointers()[i];
        ASSERT_EQ(library->commandCount, 1u) << i;
        EXPECT_EQ(library->commands[0], reinterpret_cast<const void *>(&cmd::UnavailableCommand));
    }
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(
        {
            StartTestRuntime();
            CallCommand(cmd::UnavailableCommand, {});
        },
        testing::ExitedWithCode(testsupport::kRuntimeErrorExit), "支持库命令在本程序中不可用");
}

// --- The end of the program, in a fresh process ---

alignas(8) const uint8_t kArea[16] = {0, 0, 0, 0, 0, 0, 0, 0, 1, 0, 0, 0, 0, 0, 0, 0};

// Notified after library 5, it reports what library 5 left behind.
intptr_t WitnessNotify(int32_t code, intptr_t, intptr_t) {
    if (code == rt::kNotifyEnd) std::fprintf(stderr, "live critical sections: %d\n", cmd::LiveCriticalSectionCount());
    return code == rt::kNotifyStart ? 0 : -1;
}

rt::LibraryInfo WitnessLibrary() {
    rt::LibraryInfo info{};
    info.marker = rt::kLibraryRecordMarker;
    info.notify = WitnessNotify;
    return info;
}

bool NoLiveWindow() { return false; }
const rt::WindowSetOperations noWindows = {nullptr, nullptr, [] {}, NoLiveWindow, nullptr,
                                           nullptr, nullptr, nullptr, nullptr, nullptr};

void CreateThreeAndExit() {
    static const rt::LibraryInfo witness = WitnessLibrary();
    static const rt::LibraryInfo *libraries[6];
    for (int i = 0; i < 5; ++i) libraries[i] = image::LibraryPointers()[i];
    libraries[5] = &witness;
    static const rt::ImageHeader header = {3, 0, 0, 0, kArea, sizeof kArea, nullptr, 0, 6, libraries, 0,
                                           nullptr, nullptr};
    static rt::RuntimeApp app(&header, nullptr, &noWindows);
    rt::RuntimeHelpers.handler(rt::kHandlerInitialize, nullptr);
    for (int i = 0; i < 3; ++i) CreateOne();
    std::fprintf(stderr, "created: %d\n", cmd::LiveCriticalSectionCount());
    rt::RuntimeHelpers.exit(0);
}

TEST(CriticalSectionsDeathTest, TheEndNotificationDeletesEveryNode) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(CreateThreeAndExit(), testing::ExitedWithCode(0), "created: 3\\s+live critical sections: 0");
}

} // namespace
