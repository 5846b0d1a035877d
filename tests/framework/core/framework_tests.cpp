#include <gtest/gtest.h>

#include <string>

#include "application.h"
#include "memory_archive.h"
#include "window_object.h"

TEST(MemoryArchive, ReadsFieldsAndFailsPastTheEnd) {
    const uint8_t data[] = {7, 0, 0, 0, 3, 0, 0, 0, 'a', 'b', 'c', 'x', 'y', 0, 0xFF};
    fw::MemoryArchive ar(data, sizeof data);
    EXPECT_EQ(ar.ReadUInt32(), 7u);
    EXPECT_EQ(ar.ReadCountedText(), "abc");
    EXPECT_EQ(ar.ReadTerminatedText(), "xy");
    EXPECT_FALSE(ar.Failed());
    EXPECT_EQ(ar.Remaining(), 1u);
    EXPECT_EQ(ar.ReadUInt32(), 0u);
    EXPECT_TRUE(ar.Failed());
    EXPECT_EQ(ar.ReadCountedText(), "");
}

TEST(MemoryArchive, AHugeCountedLengthFailsInsteadOfReadingOn) {
    const uint8_t data[] = {0xFF, 0xFF, 0xFF, 0xFF, 'a'};
    fw::MemoryArchive ar(data, sizeof data);
    EXPECT_EQ(ar.ReadCountedText(), "");
    EXPECT_TRUE(ar.Failed());
    fw::MemoryArchive unterminated(reinterpret_cast<const uint8_t *>("abc"), 3);
    EXPECT_EQ(unterminated.ReadTerminatedText(), "");
    EXPECT_TRUE(unterminated.Failed());
}

namespace {

class Recorder : public fw::WindowObject {
public:
    std::string seen;
    bool swallowKeys = false;
    bool destroyedAfterHandle = false;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
        if (message == WM_USER) seen += "user;";
        return Default(message, wParam, lParam);
    }
    BOOL PreTranslateMessage(MSG *msg) override { return swallowKeys && msg->message == WM_KEYDOWN; }
    void PostNcDestroy() override { destroyedAfterHandle = Handle() == nullptr; }
};

LRESULT CALLBACK Plain(HWND h, UINT m, WPARAM w, LPARAM l) { return m == WM_USER ? 5 : DefWindowProcA(h, m, w, l); }

HWND MakePlain(HWND parent = nullptr) {
    static bool once = [] {
        WNDCLASSA wc{};
        wc.lpfnWndProc = Plain;
        wc.lpszClassName = "FrameworkTestWindow";
        return RegisterClassA(&wc) != 0;
    }();
    (void)once;
    return CreateWindowExA(0, "FrameworkTestWindow", "", parent ? WS_CHILD : 0, 0, 0, 10, 10, parent, nullptr, nullptr,
                           nullptr);
}

class CountingApp : public fw::Application {
public:
    int idlePasses = 0;
    BOOL OnIdle(LONG count) override {
        ++idlePasses;
        if (count == 0) PostQuitMessage(9);
        return count < 2;
    }
};

} // namespace

TEST(WindowObjects, SubclassingRoutesMessagesAndDetachesOnDestroy) {
    HWND w = MakePlain();
    Recorder r;
    ASSERT_TRUE(r.SubclassWindow(w));
    EXPECT_EQ(fw::WindowObject::FromHandlePermanent(w), &r);
    EXPECT_EQ(SendMessageA(w, WM_USER, 0, 0), 5); // the original procedure still answers
    EXPECT_EQ(r.seen, "user;");
    Recorder other;
    EXPECT_FALSE(other.Attach(w)); // one object per handle
    DestroyWindow(w);
    EXPECT_EQ(r.Handle(), nullptr);
    EXPECT_TRUE(r.destroyedAfterHandle);
    EXPECT_EQ(fw::WindowObject::FromHandlePermanent(w), nullptr);
}

TEST(Application, PreTranslationWalksFromTheWindowToItsParents) {
    CountingApp app;
    HWND parent = MakePlain();
    HWND child = MakePlain(parent);
    Recorder r;
    r.Attach(parent);
    r.swallowKeys = true;
    MSG key{child, WM_KEYDOWN, 'A', 0, 0, {}};
    EXPECT_TRUE(app.PreTranslateMessage(&key));
    MSG other{child, WM_CHAR, 'A', 0, 0, {}};
    EXPECT_FALSE(app.PreTranslateMessage(&other));
    r.Detach();
    DestroyWindow(parent);
}

TEST(Application, RunIdlesUntilAMessageArrivesAndEndsWithTheQuitCode) {
    CountingApp app;
    EXPECT_EQ(app.Run(), 9);
    EXPECT_EQ(app.CurrentMessage().message, UINT(WM_QUIT));
    EXPECT_GE(app.idlePasses, 1);
}
