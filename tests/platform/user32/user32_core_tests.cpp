// The window and message core of user32: classes, creation and destruction order,
// window data, posted and sent messages across threads, message boxes without a display.
#include <gtest/gtest.h>

#include <atomic>
#include <string>
#include <vector>

#include "windows.h"

namespace {

std::vector<std::string> trace;

LRESULT CALLBACK TracingProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
    case WM_NCCREATE: trace.push_back("nccreate"); break;
    case WM_CREATE: trace.push_back("create"); return 0;
    case WM_DESTROY: trace.push_back("destroy " + std::to_string(GetWindowLongPtrA(hwnd, GWLP_ID))); break;
    case WM_NCDESTROY: trace.push_back("ncdestroy " + std::to_string(GetWindowLongPtrA(hwnd, GWLP_ID))); break;
    case WM_USER: return LRESULT(wp + lp);
    case WM_USER + 1: return LRESULT(GetCurrentThreadId());
    }
    return DefWindowProcA(hwnd, msg, wp, lp);
}

const char *TracingClass() {
    static bool registered = [] {
        WNDCLASSA wc{};
        wc.lpfnWndProc = TracingProc;
        wc.cbWndExtra = 16;
        wc.lpszClassName = "TracingWindow";
        return RegisterClassA(&wc) != 0;
    }();
    EXPECT_TRUE(registered);
    return "TracingWindow";
}

HWND Make(HWND parent = nullptr, int id = 0, DWORD style = 0) {
    return CreateWindowExA(0, TracingClass(), "title", style | (parent ? WS_CHILD : 0), 1, 2, 30, 40, parent,
                           reinterpret_cast<HMENU>(intptr_t(id)), nullptr, nullptr);
}

} // namespace

TEST(WindowClasses, NamesIgnoreCaseAndCannotBeRegisteredTwice) {
    TracingClass();
    WNDCLASSA wc{};
    wc.lpfnWndProc = DefWindowProcA;
    wc.lpszClassName = "tracingwindow";
    EXPECT_EQ(RegisterClassA(&wc), 0);
    EXPECT_EQ(GetLastError(), DWORD(ERROR_CLASS_ALREADY_EXISTS));
    WNDCLASSA info;
    EXPECT_TRUE(GetClassInfoA(GetModuleHandleA(nullptr), "TRACINGWINDOW", &info));
    EXPECT_EQ(info.lpfnWndProc, &TracingProc);
    // A null instance asks for the system's classes; the program's own are not among them.
    EXPECT_FALSE(GetClassInfoA(nullptr, "TracingWindow", &info));
    EXPECT_EQ(GetLastError(), DWORD(ERROR_CLASS_DOES_NOT_EXIST));
    EXPECT_TRUE(GetClassInfoA(nullptr, "Edit", &info));
}

TEST(Windows, CreationAndDestructionSendTheirMessagesInOrder) {
    trace.clear();
    HWND top = Make(nullptr, 0);
    HWND child = Make(top, 7);
    HWND grandchild = Make(child, 8);
    EXPECT_EQ(trace, (std::vector<std::string>{"nccreate", "create", "nccreate", "create", "nccreate", "create"}));
    EXPECT_EQ(GetParent(grandchild), child);
    trace.clear();
    EXPECT_TRUE(DestroyWindow(top));
    EXPECT_EQ(trace, (std::vector<std::string>{"destroy 0", "destroy 7", "destroy 8", "ncdestroy 8", "ncdestroy 7",
                                               "ncdestroy 0"}));
    EXPECT_FALSE(IsWindow(top));
    EXPECT_FALSE(IsWindow(grandchild));
}

// What a missing class or window leaves as the last error.
TEST(Windows, MissingClassesAndWindowsSetTheirErrors) {
    EXPECT_EQ(CreateWindowExA(0, "NoSuchClass", "", 0, 0, 0, 0, 0, nullptr, nullptr, nullptr, nullptr), nullptr);
    EXPECT_EQ(GetLastError(), DWORD(ERROR_CANNOT_FIND_WND_CLASS));
    HWND gone = Make();
    ASSERT_TRUE(DestroyWindow(gone));
    EXPECT_FALSE(DestroyWindow(gone));
    EXPECT_EQ(GetLastError(), DWORD(ERROR_INVALID_WINDOW_HANDLE));
}

static LRESULT CALLBACK RefusingProc(HWND h, UINT m, WPARAM w, LPARAM l) {
    return m == WM_CREATE ? -1 : DefWindowProcA(h, m, w, l);
}

TEST(Windows, CreateFailsWhenCreateAnswersMinusOne) {
    WNDCLASSA wc{};
    wc.lpfnWndProc = RefusingProc;
    wc.lpszClassName = "RefusingWindow";
    RegisterClassA(&wc);
    EXPECT_EQ(CreateWindowExA(0, "RefusingWindow", "", 0, 0, 0, 0, 0, nullptr, nullptr, nullptr, nullptr), nullptr);
}

TEST(Windows, LongsTextAndSubclassing) {
    HWND w = Make();
    EXPECT_EQ(SetWindowLongPtrA(w, GWLP_USERDATA, 1234), 0);
    EXPECT_EQ(GetWindowLongPtrA(w, GWLP_USERDATA), 1234);
    SetWindowLongPtrA(w, 8, 77); // extra bytes
    EXPECT_EQ(GetWindowLongPtrA(w, 8), 77);
    const int pastTheEnd = 17 - int(sizeof(LONG_PTR)); // its last byte is past the 16 extra bytes
    SetLastError(0);
    SetWindowLongPtrA(w, pastTheEnd - 1, 5); // the last whole slot
    EXPECT_EQ(GetWindowLongPtrA(w, pastTheEnd - 1), 5);
    EXPECT_EQ(GetLastError(), 0u);
    EXPECT_EQ(GetWindowLongPtrA(w, pastTheEnd), 0);
    EXPECT_EQ(GetLastError(), DWORD(ERROR_INVALID_INDEX));
    SetLastError(0);
    EXPECT_EQ(SetWindowLongPtrA(w, pastTheEnd, 1), 0);
    EXPECT_EQ(GetLastError(), DWORD(ERROR_INVALID_INDEX));
    char text[16];
    EXPECT_EQ(SendMessageA(w, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text)), 5);
    EXPECT_STREQ(text, "title");
    EXPECT_EQ(SendMessageA(w, WM_GETTEXT, 3, reinterpret_cast<LPARAM>(text)), 2);
    EXPECT_STREQ(text, "ti");
    static WNDPROC previous;
    previous = reinterpret_cast<WNDPROC>(SetWindowLongPtrA(
        w, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(+[](HWND h, UINT m, WPARAM wp, LPARAM lp) -> LRESULT {
            return m == WM_USER ? 1000 + CallWindowProcA(previous, h, m, wp, lp) : CallWindowProcA(previous, h, m, wp, lp);
        })));
    EXPECT_EQ(previous, &TracingProc);
    EXPECT_EQ(SendMessageA(w, WM_USER, 2, 3), 1005);
    DestroyWindow(w);
}

TEST(Messages, PostedMessagesArriveInOrderAndQuitComesLast) {
    HWND w = Make();
    PostQuitMessage(3);
    PostMessageA(w, WM_USER, 1, 0);
    PostMessageA(w, WM_USER, 2, 0);
    PostMessageA(nullptr, WM_USER + 5, 3, 0);
    MSG msg;
    std::vector<WPARAM> order;
    while (GetMessageA(&msg, nullptr, 0, 0)) order.push_back(msg.wParam);
    EXPECT_EQ(order, (std::vector<WPARAM>{1, 2, 3}));
    EXPECT_EQ(msg.message, UINT(WM_QUIT));
    EXPECT_EQ(msg.wParam, 3u);
    EXPECT_FALSE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE));
    EXPECT_FALSE(PostMessageA(reinterpret_cast<HWND>(0x4), WM_USER, 0, 0));
    DestroyWindow(w);
}

TEST(Messages, PeekCanFilterAndLeaveMessages) {
    HWND w = Make();
    PostMessageA(w, WM_USER + 10, 1, 0);
    PostMessageA(w, WM_USER + 20, 2, 0);
    MSG msg;
    ASSERT_TRUE(PeekMessageA(&msg, nullptr, WM_USER + 20, WM_USER + 20, PM_NOREMOVE));
    EXPECT_EQ(msg.wParam, 2u);
    ASSERT_TRUE(PeekMessageA(&msg, nullptr, WM_USER + 20, WM_USER + 20, PM_REMOVE));
    ASSERT_TRUE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE));
    EXPECT_EQ(msg.wParam, 1u);
    EXPECT_FALSE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE));
    DestroyWindow(w);
}

namespace {
struct CrossThread {
    HWND target;
    LRESULT result = 0;
    LRESULT ranOn = 0;
};

DWORD WINAPI SendFromWorker(LPVOID p) {
    auto *c = static_cast<CrossThread *>(p);
    c->result = SendMessageA(c->target, WM_USER, 40, 2);
    c->ranOn = SendMessageA(c->target, WM_USER + 1, 0, 0);
    PostMessageA(c->target, WM_USER + 2, 0, 0);
    return 0;
}
} // namespace

TEST(Messages, AMessageSentFromAnotherThreadRunsOnTheWindowsThread) {
    HWND w = Make();
    CrossThread c{w};
    HANDLE worker = CreateThread(nullptr, 0, SendFromWorker, &c, 0, nullptr);
    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) && msg.message != WM_USER + 2) DispatchMessageA(&msg);
    WaitForSingleObject(worker, INFINITE);
    CloseHandle(worker);
    EXPECT_EQ(c.result, 42);
    EXPECT_EQ(DWORD(c.ranOn), GetCurrentThreadId());
    DestroyWindow(w);
}

namespace {
DWORD WINAPI DestroyFromWorker(LPVOID p) { return DestroyWindow(static_cast<HWND>(p)) ? 1 : GetLastError(); }
} // namespace

TEST(Messages, OnlyTheOwningThreadDestroysAWindow) {
    HWND w = Make();
    HANDLE worker = CreateThread(nullptr, 0, DestroyFromWorker, w, 0, nullptr);
    WaitForSingleObject(worker, INFINITE);
    DWORD code;
    GetExitCodeThread(worker, &code);
    CloseHandle(worker);
    EXPECT_EQ(code, DWORD(ERROR_ACCESS_DENIED));
    EXPECT_TRUE(IsWindow(w));
    DestroyWindow(w);
}

TEST(MessageBoxes, WithoutADisplayTheyPrintAndAnswerTheDefaultButton) {
    testing::internal::CaptureStderr();
    EXPECT_EQ(MessageBoxA(nullptr, "text", "caption", MB_OK), IDOK);
    EXPECT_EQ(MessageBoxA(nullptr, "t", "c", MB_YESNO | MB_DEFBUTTON2), IDNO);
    EXPECT_EQ(MessageBoxA(nullptr, "t", "c", MB_YESNOCANCEL | MB_DEFBUTTON3), IDCANCEL);
    EXPECT_EQ(MessageBoxA(nullptr, "\xD6\xD0", "\xB4\xED", MB_OK), IDOK);
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "caption: text\nc: t\nc: t\n\xE9\x94\x99: \xE4\xB8\xAD\n");
}
