// SkinH_EL.dll on Windows: gives the program's windows the look of a skin block. Every
// window of the attaching thread, and every window it creates later (a CBT hook), is
// subclassed: window backgrounds are painted in the skin's colour and the controls get
// their colours and brushes through WM_CTLCOLOR*.
#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <cstring>
#include <optional>

#include "skin_format.h"

#define SKIN_EXPORT extern "C" __declspec(dllexport)

namespace {

constexpr UINT_PTR kSubclassId = 0x5348; // "SH"

struct Look {
    skin::Skin skin;
    HBRUSH window = nullptr, base = nullptr;
};

// Only the attaching thread (the program's window thread) reads or changes these.
std::optional<Look> look;
HHOOK creationHook = nullptr;

COLORREF Ref(skin::Colour c) { return RGB(c.red, c.green, c.blue); }

void ReleaseLook() {
    if (!look) return;
    DeleteObject(look->window);
    DeleteObject(look->base);
    look.reset();
}

void TakeLook(skin::Skin s) {
    ReleaseLook();
    Look l;
    l.window = CreateSolidBrush(Ref(s.window));
    l.base = CreateSolidBrush(Ref(s.base));
    l.skin = std::move(s);
    look = std::move(l);
}

LRESULT ControlColours(HDC dc, COLORREF back, HBRUSH brush) {
    SetTextColor(dc, Ref(look->skin.text));
    SetBkColor(dc, back);
    return reinterpret_cast<LRESULT>(brush);
}

bool PaintBackground(HWND window, HDC dc) {
    RECT r;
    GetClientRect(window, &r);
    FillRect(dc, &r, look->window);
    return true;
}

bool IsSurface(HWND window) {
    char name[16] = {};
    GetClassNameA(window, name, sizeof name);
    return lstrcmpiA(name, "Button") != 0 && lstrcmpiA(name, "Edit") != 0 && lstrcmpiA(name, "Static") != 0;
}

LRESULT CALLBACK SkinnedProc(HWND window, UINT message, WPARAM w, LPARAM l, UINT_PTR, DWORD_PTR) {
    if (message == WM_NCDESTROY) RemoveWindowSubclass(window, SkinnedProc, kSubclassId);
    if (!look) return DefSubclassProc(window, message, w, l);
    HDC dc = reinterpret_cast<HDC>(w);
    switch (message) {
    case WM_ERASEBKGND:
        if (IsSurface(window)) return PaintBackground(window, dc);
        break;
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX: return ControlColours(dc, Ref(look->skin.base), look->base);
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORDLG: return ControlColours(dc, Ref(look->skin.window), look->window);
    }
    return DefSubclassProc(window, message, w, l);
}

void Subclass(HWND window) { SetWindowSubclass(window, SkinnedProc, kSubclassId, 0); }

BOOL CALLBACK SubclassChild(HWND window, LPARAM) {
    Subclass(window);
    return TRUE;
}

BOOL CALLBACK SubclassTree(HWND window, LPARAM) {
    Subclass(window);
    EnumChildWindows(window, SubclassChild, 0);
    RedrawWindow(window, nullptr, nullptr, RDW_ERASE | RDW_INVALIDATE | RDW_FRAME | RDW_ALLCHILDREN);
    return TRUE;
}

LRESULT CALLBACK OnCreation(int code, WPARAM w, LPARAM l) {
    if (code == HCBT_CREATEWND) Subclass(reinterpret_cast<HWND>(w));
    return CallNextHookEx(creationHook, code, w, l);
}

void SkinThreadWindows() {
    if (!creationHook) creationHook = SetWindowsHookExA(WH_CBT, OnCreation, nullptr, GetCurrentThreadId());
    EnumThreadWindows(GetCurrentThreadId(), SubclassTree, 0);
}

} // namespace

// The skin in (data, length) becomes the windows' look. The text (a password of
// protected skins elsewhere) and the three numbers are accepted and unused. Returns 1,
// or 0 for a block that is not a skin of a known version (the current look stays).
SKIN_EXPORT int WINAPI SkinH_AttachRes(const void *data, int length, const char *, int, int, int) {
    if (length <= 0 || !data) return 0;
    std::optional<skin::Skin> s = skin::ReadSkinBlock(static_cast<const uint8_t *>(data), size_t(length));
    if (!s) return 0;
    TakeLook(std::move(*s));
    SkinThreadWindows();
    return 1;
}

// Removes the skin: the windows get the system's own look back.
SKIN_EXPORT int WINAPI SkinH_Detach() {
    ReleaseLook();
    if (creationHook) UnhookWindowsHookEx(creationHook);
    creationHook = nullptr;
    EnumThreadWindows(GetCurrentThreadId(), SubclassTree, 0);
    return 1;
}

// The attached skin's name (UTF-8) into buffer; returns its length, 0 without a skin.
SKIN_EXPORT int WINAPI SkinH_GetSkinName(char *buffer, int size) {
    if (!look) return 0;
    const std::string &name = look->skin.name;
    if (buffer && size > 0) {
        size_t n = std::min(name.size(), size_t(size - 1));
        std::memcpy(buffer, name.data(), n);
        buffer[n] = '\0';
    }
    return int(name.size());
}
