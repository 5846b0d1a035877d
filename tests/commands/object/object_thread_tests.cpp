// Objects used on several threads at once: each thread initialises COM itself, and
// the last object error of one thread is not disturbed by another.
#include <gtest/gtest.h>

#include <atomic>
#include <thread>
#include <vector>

#include "object_commands.h"
#include "object_error.h"
#include "object_test_support.h"
#include "variant_commands.h"

namespace objtest {
namespace {

using testsupport::CallCommand;
using testsupport::TakeText;

// Runs the site extraction `rounds` times; counts every wrong answer.
int ExtractSites(int thread, int rounds) {
    int wrong = 0;
    std::string site = "t" + std::to_string(thread) + ".cn";
    std::string page = "<span class=\"site\">" + site + "</span><SPAN class=\"site\">x.cn</SPAN>";
    for (int i = 0; i < rounds; ++i) {
        ObjectVar expression;
        CallCommand(cmd::CreateObject, {expression.Arg(), Name("VBScript.RegExp")});
        CallCommand(cmd::WriteProperty, {expression.Arg(), Name("IgnoreCase"), Bool(true)});
        CallCommand(cmd::WriteProperty, {expression.Arg(), Name("Global"), Bool(true)});
        CallCommand(cmd::WriteProperty, {expression.Arg(), Name("Pattern"), Name("<span class=\"site\">(.*?)</span>")});
        ObjectVar matches(ObjectOf(CallCommand(cmd::CallObjectMethod, {expression.Arg(), Name("Execute"), Name(page.c_str())})));
        wrong += CallCommand(cmd::ReadNumberProperty, {matches.Arg(), Name("Count")}).AsDouble() != 2;
        ObjectVar first(ObjectOf(CallCommand(cmd::ReadObjectProperty, {matches.Arg(), Name("Item"), Int(0)})));
        rt::TypedValue value = CallCommand(cmd::ReadTextProperty, {first.Arg(), Name("Value")});
        wrong += TakeText(value) != "<span class=\"site\">" + site + "</span>";
        // A failing call on this thread leaves its own code, whatever the others do.
        CallCommand(cmd::WriteProperty, {expression.Arg(), Name("Singleline"), Bool(true)});
        std::this_thread::yield();
        wrong += cmd::LastObjectError() != cmd::kObjectNoMember;
        value = CallCommand(cmd::ReadTextProperty, {first.Arg(), Name("Value")});
        wrong += cmd::LastObjectError() != cmd::kObjectOk;
        TakeText(value);
    }
    return wrong;
}

TEST(ObjectThreads, SeveralThreadsDriveTheirOwnObjects) {
    Start();
    std::atomic<int> wrong{0};
    std::atomic<int> uninitialised{0};
    std::vector<std::thread> threads;
    for (int t = 0; t < 4; ++t) {
        threads.emplace_back([t, &wrong, &uninitialised] {
            if (FAILED(CoInitialize(nullptr))) return void(++uninitialised);
            wrong += ExtractSites(t, 50);
            CoUninitialize();
        });
    }
    for (std::thread &t : threads) t.join();
    EXPECT_EQ(uninitialised, 0);
    EXPECT_EQ(wrong, 0);
}

TEST(ObjectThreads, AThreadWithoutComCannotCreate) {
    Start();
    bool created = true;
    std::thread([&] {
        ObjectVar expression;
        created = CallCommand(cmd::CreateObject, {expression.Arg(), Name("VBScript.RegExp")}).low != 0;
    }).join();
    EXPECT_FALSE(created);
}

TEST(ObjectThreads, LastErrorIsPerThread) {
    Start();
    ObjectVar empty;
    CallCommand(cmd::ReadTextProperty, {empty.Arg(), Name("x")});
    ASSERT_EQ(cmd::LastObjectError(), cmd::kObjectEmpty);
    int32_t other = 1;
    std::thread([&] { other = cmd::LastObjectError(); }).join();
    EXPECT_EQ(other, cmd::kObjectOk);
    EXPECT_EQ(cmd::LastObjectError(), cmd::kObjectEmpty);
}

} // namespace
} // namespace objtest
