#include "console.h"

#include <windows.h>
#include <shellapi.h>

#include <fcntl.h>
#include <io.h>

#include <cstdio>
#include <string>

namespace console {
namespace {

HHOOK boxHook = nullptr;

std::string Utf8Of(const std::wstring &text) {
    int size = WideCharToMultiByte(CP_UTF8, 0, text.c_str(), int(text.size()), nullptr, 0, nullptr, nullptr);
    std::string out(size_t(size), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.c_str(), int(text.size()), out.data(), size, nullptr, nullptr);
    return out;
}

std::wstring TextOf(HWND window) {
    std::wstring text(size_t(GetWindowTextLengthW(window)) + 1, L'\0');
    text.resize(size_t(GetWindowTextW(window, text.data(), int(text.size()))));
    return text;
}

bool IsMessageBox(HWND window) {
    char name[16] = {};
    return GetClassNameA(window, name, sizeof name) && std::string(name) == "#32770";
}

// The message is the box's static control that has a text (the icon's has none).
BOOL CALLBACK FindMessage(HWND child, LPARAM found) {
    char name[16] = {};
    GetClassNameA(child, name, sizeof name);
    if (lstrcmpiA(name, "Static") != 0 || GetWindowTextLengthW(child) == 0) return TRUE;
    *reinterpret_cast<std::wstring *>(found) = TextOf(child);
    return FALSE;
}

// The button drawn as the default one; else the first button.
BOOL CALLBACK FindDefaultButton(HWND child, LPARAM found) {
    char name[16] = {};
    GetClassNameA(child, name, sizeof name);
    if (lstrcmpiA(name, "Button") != 0) return TRUE;
    HWND &button = *reinterpret_cast<HWND *>(found);
    if (!button) button = child;
    if ((GetWindowLongA(child, GWL_STYLE) & 0x0F) != BS_DEFPUSHBUTTON) return TRUE;
    button = child;
    return FALSE;
}

void AnswerMessageBox(HWND box) {
    std::wstring message;
    EnumChildWindows(box, FindMessage, reinterpret_cast<LPARAM>(&message));
    std::string line = Utf8Of(TextOf(box)) + ": " + Utf8Of(message) + "\n";
    std::fputs(line.c_str(), stderr);
    std::fflush(stderr);
    HWND button = nullptr;
    EnumChildWindows(box, FindDefaultButton, reinterpret_cast<LPARAM>(&button));
    if (button) PostMessageA(box, WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(button), BN_CLICKED), LPARAM(button));
}

// Some systems activate the box before its texts are set: it is read once its own
// message loop runs.
void CALLBACK AnswerLater(HWND box, UINT, UINT_PTR timer, DWORD) {
    KillTimer(box, timer);
    AnswerMessageBox(box);
}

LRESULT CALLBACK OnActivation(int code, WPARAM w, LPARAM l) {
    if (code == HCBT_ACTIVATE && IsMessageBox(reinterpret_cast<HWND>(w)))
        SetTimer(reinterpret_cast<HWND>(w), 1, USER_TIMER_MINIMUM, AnswerLater);
    return CallNextHookEx(boxHook, code, w, l);
}

} // namespace

// The ANSI argv would pass through the system code page: the wide command line keeps
// every character.
std::vector<std::string> Utf8Arguments(int, char **) {
    int count = 0;
    LPWSTR *wide = CommandLineToArgvW(GetCommandLineW(), &count);
    std::vector<std::string> arguments;
    for (int i = 1; wide && i < count; ++i) arguments.push_back(Utf8Of(wide[i]));
    LocalFree(wide);
    return arguments;
}

// Message boxes of the calling thread (the runtime's reports come from there) are
// answered as soon as they show.
void SetUpConsole() {
    _setmode(_fileno(stdout), _O_BINARY);
    _setmode(_fileno(stderr), _O_BINARY);
    boxHook = SetWindowsHookExA(WH_CBT, OnActivation, nullptr, GetCurrentThreadId());
}

} // namespace console
