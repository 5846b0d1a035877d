// The EDIT control's documented Win32 behaviours, one row each. The rows use only the
// Win32 API, so the same table runs against real Win32 through the Windows build.
#include <gtest/gtest.h>

#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "windows.h"

namespace {

std::vector<UINT> parentSaw;   // messages of interest that reached the parent
std::string dialogLog;         // what a dialog would hear: D(M_GETDEFID), N(EXTDLGCTL) wp lp, X (WM_CLOSE)
std::vector<WORD> notified;    // EN_* codes in WM_COMMAND
struct Heard { HWND to; WPARAM wp; LPARAM lp; };
std::vector<Heard> parentNotes; // WM_PARENTNOTIFY as it arrived

LRESULT CALLBACK ParentProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_COMMAND && lp) notified.push_back(HIWORD(wp));
    if (msg == DM_GETDEFID || msg == WM_NEXTDLGCTL) parentSaw.push_back(msg);
    if (msg == WM_PARENTNOTIFY) parentNotes.push_back({hwnd, wp, lp});
    if (msg == DM_GETDEFID) return dialogLog += "D", MAKELONG(IDOK, DC_HASDEFID);
    if (msg == WM_NEXTDLGCTL) {
        HWND to = HWND(wp) == GetDlgItem(hwnd, IDOK) ? HWND(wp) : nullptr;
        dialogLog += "N" + (to ? std::string("ok") : std::to_string(wp)) + std::to_string(lp);
    }
    if (msg == WM_CLOSE) return dialogLog += "X", 0;
    return DefWindowProcA(hwnd, msg, wp, lp);
}

HWND Parent() {
    static bool registered = [] {
        WNDCLASSA wc{};
        wc.lpfnWndProc = ParentProc;
        wc.lpszClassName = "EditRowsParent";
        return RegisterClassA(&wc) != 0;
    }();
    (void)registered;
    return CreateWindowExA(0, "EditRowsParent", "", WS_OVERLAPPEDWINDOW, 0, 0, 400, 300, nullptr, nullptr, nullptr,
                           nullptr);
}

// Owns a parent window and the boxes made in it for one row.
struct Boxes {
    HWND parent = Parent();
    ~Boxes() { DestroyWindow(parent); }
    HWND Child(DWORD style, const char *text = "", int w = 300, int h = 100) {
        return CreateWindowExA(0, "EDIT", text, WS_CHILD | WS_VISIBLE | style, 0, 0, w, h, parent, HMENU(5), nullptr,
                               nullptr);
    }
    // An EDIT that is no child: its parent given at creation is its owner.
    HWND Popup(DWORD style, const char *text = "", int w = 300, int h = 100) {
        return CreateWindowExA(0, "EDIT", text, WS_POPUP | style, 10, 10, w, h, parent, nullptr, nullptr, nullptr);
    }
};

std::string Text(HWND e) {
    char buffer[256] = "?";
    LRESULT n = SendMessageA(e, WM_GETTEXT, sizeof buffer, LPARAM(buffer));
    return std::to_string(n) + ":" + buffer;
}

std::string Sel(HWND e) {
    DWORD s = 0, t = 0;
    SendMessageA(e, EM_GETSEL, WPARAM(&s), LPARAM(&t));
    return std::to_string(s) + "-" + std::to_string(t);
}

std::string Hex(LRESULT v) {
    char b[32];
    std::snprintf(b, sizeof b, "%lx", static_cast<unsigned long>(static_cast<DWORD>(v)));
    return b;
}

std::string Count(WORD code) {
    int n = 0;
    for (WORD c : notified) n += c == code;
    return std::to_string(n);
}

// The notifications each WM_CHAR brings, in order: U for EN_UPDATE, C for EN_CHANGE,
// M for EN_MAXTEXT, one group per character.
std::string Typed(HWND e, const std::vector<BYTE> &chars) {
    std::string r;
    for (BYTE c : chars) {
        notified.clear();
        SendMessageA(e, WM_CHAR, c, 1);
        for (WORD code : notified) r += code == EN_UPDATE ? 'U' : code == EN_CHANGE ? 'C' : code == EN_MAXTEXT ? 'M' : '?';
        r += "|";
    }
    return r;
}

void Pump() {
    MSG m;
    while (PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&m);
}

std::string Rect(HWND e) {
    RECT r{};
    SendMessageA(e, EM_GETRECT, 0, LPARAM(&r));
    return std::to_string(r.left) + "," + std::to_string(r.top) + "," + std::to_string(r.right) + "," +
           std::to_string(r.bottom);
}

struct Row {
    const char *behaviour;
    std::function<std::string(Boxes &)> actual;
    std::string expected;
    std::string underWine = ""; // where Wine departs from Windows: what Wine gives
};

bool RunningUnderWine() {
    HMODULE ntdll = GetModuleHandleA("ntdll.dll");
    return ntdll && GetProcAddress(ntdll, "wine_get_version");
}

// Each WM_PARENTNOTIFY as receiver, event and child id, then the child's name.
std::string Notes(const std::vector<std::pair<HWND, const char *>> &names) {
    auto name = [&](HWND h) {
        for (auto &n : names)
            if (n.first == h) return std::string(n.second);
        return std::string("?");
    };
    std::string r;
    for (const Heard &h : parentNotes)
        r += name(h.to) + std::to_string(LOWORD(h.wp)) + "." + std::to_string(HIWORD(h.wp)) + name(HWND(h.lp)) + " ";
    return r;
}

const char *kLong = "this is a long string.\r\nthis is a long string.\r\nthis is a long string.\r\nthis is a long string.";

const std::vector<Row> &Rows() {
    static const std::vector<Row> rows = {
        {"the default limit is 30000, for one line and for many",
         [](Boxes &b) {
             return std::to_string(SendMessageA(b.Child(0), EM_GETLIMITTEXT, 0, 0)) + "," +
                    std::to_string(SendMessageA(b.Child(ES_MULTILINE), EM_GETLIMITTEXT, 0, 0));
         },
         "30000,30000"},
        {"EM_SETLIMITTEXT(0) gives the largest limit: 0x7FFFFFFE for one line, 0xFFFFFFFF for many",
         [](Boxes &b) {
             HWND one = b.Child(ES_AUTOHSCROLL), many = b.Child(ES_MULTILINE);
             SendMessageA(one, EM_SETLIMITTEXT, 0, 0);
             SendMessageA(many, EM_SETLIMITTEXT, 0, 0);
             return Hex(SendMessageA(one, EM_GETLIMITTEXT, 0, 0)) + "," + Hex(SendMessageA(many, EM_GETLIMITTEXT, 0, 0));
         },
         "7ffffffe,ffffffff"},
        {"WM_CHAR returns 1, and so do Return, Tab and Escape key-downs; none reaches the parent outside a dialog",
         [](Boxes &b) {
             HWND e = b.Child(ES_AUTOHSCROLL);
             parentSaw.clear();
             std::string r;
             for (WPARAM vk : {WPARAM(VK_RETURN), WPARAM(VK_TAB), WPARAM(VK_ESCAPE)})
                 r += std::to_string(SendMessageA(e, WM_KEYDOWN, vk, 0x1c0001));
             r += std::to_string(SendMessageA(e, WM_CHAR, 'f', 1));
             return r + " " + std::to_string(parentSaw.size()) + " " + Text(e);
         },
         "1111 0 1:f"},
        {"EM_UNDO toggles: undoing a cut restores the text, undoing again removes it; EM_CANUNDO stays TRUE until EM_EMPTYUNDOBUFFER",
         [](Boxes &b) {
             HWND e = b.Child(ES_AUTOHSCROLL, "undo this");
             SendMessageA(e, EM_SETSEL, 0, -1);
             SendMessageA(e, WM_CHAR, 24, 0); // Ctrl+X
             std::string r = Text(e);
             SendMessageA(e, WM_CHAR, 26, 0); // Ctrl+Z
             r += " " + Text(e);
             SendMessageA(e, EM_UNDO, 0, 0);
             r += " " + Text(e) + " " + std::to_string(SendMessageA(e, EM_CANUNDO, 0, 0));
             SendMessageA(e, EM_EMPTYUNDOBUFFER, 0, 0);
             return r + std::to_string(SendMessageA(e, EM_CANUNDO, 0, 0));
         },
         "0: 9:undo this 0: 10"},
        {"a password box neither cuts nor copies",
         [](Boxes &b) {
             HWND e = b.Child(ES_PASSWORD, "secret");
             SendMessageA(e, EM_SETSEL, 0, -1);
             return std::to_string(SendMessageA(e, WM_CHAR, 24, 0)) + " " + Text(e);
         },
         "1 6:secret"},
        {"EM_SETMARGINS sets each margin alone and EM_GETMARGINS reports them",
         [](Boxes &b) {
             HWND e = b.Child(WS_BORDER | ES_AUTOHSCROLL);
             SendMessageA(e, EM_SETMARGINS, EC_LEFTMARGIN | EC_RIGHTMARGIN, MAKELONG(0, 0));
             SendMessageA(e, EM_SETMARGINS, EC_LEFTMARGIN, MAKELONG(10, 99));
             std::string r = Hex(SendMessageA(e, EM_GETMARGINS, 0, 0));
             SendMessageA(e, EM_SETMARGINS, EC_RIGHTMARGIN, MAKELONG(99, 20));
             return r + "," + Hex(SendMessageA(e, EM_GETMARGINS, 0, 0));
         },
         "a,14000a"},
        {"wider margins narrow the formatting rectangle by the difference, and nothing else",
         [](Boxes &b) {
             HWND e = b.Popup(WS_BORDER | ES_AUTOHSCROLL | ES_AUTOVSCROLL);
             RECT before{}, after{};
             SendMessageA(e, EM_SETMARGINS, EC_LEFTMARGIN | EC_RIGHTMARGIN, MAKELONG(5, 5));
             SendMessageA(e, EM_GETRECT, 0, LPARAM(&before));
             SendMessageA(e, EM_SETMARGINS, EC_LEFTMARGIN | EC_RIGHTMARGIN, MAKELONG(15, 20));
             SendMessageA(e, EM_GETRECT, 0, LPARAM(&after));
             return std::to_string(after.left - before.left) + "," + std::to_string(after.right - before.right) + "," +
                    std::to_string(after.top - before.top) + "," + std::to_string(after.bottom - before.bottom);
         },
         "10,-15,0,0"},
        {"EM_SETRECT is kept, and setting the same margins again leaves it",
         [](Boxes &b) {
             HWND e = b.Popup(WS_BORDER | ES_AUTOHSCROLL | ES_AUTOVSCROLL);
             SendMessageA(e, EM_SETMARGINS, EC_LEFTMARGIN | EC_RIGHTMARGIN, MAKELONG(10, 10));
             RECT set{1, 1, 99, 99};
             SendMessageA(e, EM_SETRECT, 0, LPARAM(&set));
             std::string r = Rect(e);
             SendMessageA(e, EM_SETMARGINS, EC_LEFTMARGIN | EC_RIGHTMARGIN, MAKELONG(10, 10));
             return std::to_string(r == Rect(e));
         },
         "1"},
        {"EM_POSFROMCHAR past the last character is -1, in one line and in many",
         [](Boxes &b) {
             HWND one = b.Child(ES_AUTOHSCROLL, "aa"), many = b.Child(ES_MULTILINE | ES_AUTOVSCROLL, "aa");
             return std::to_string(SendMessageA(one, EM_POSFROMCHAR, 2, 0)) + "," +
                    std::to_string(SendMessageA(many, EM_POSFROMCHAR, 2, 0)) + "," +
                    std::to_string(SendMessageA(many, EM_POSFROMCHAR, 1, 0) != -1);
         },
         "-1,-1,1"},
        {"EM_CHARFROMPOS: left of a character's middle is that character, from the middle on the next; so in many "
         "lines (where Windows since Vista rounds the left half either way)",
         [](Boxes &b) {
             auto at = [](HWND e, int x) { return std::to_string(LOWORD(SendMessageA(e, EM_CHARFROMPOS, 0, x))); };
             HWND one = b.Child(ES_AUTOHSCROLL, "aa"), many = b.Child(ES_MULTILINE | ES_AUTOVSCROLL, "aa");
             std::string r;
             for (HWND e : {one, many}) {
                 int lo = LOWORD(SendMessageA(e, EM_POSFROMCHAR, 0, 0)), hi = LOWORD(SendMessageA(e, EM_POSFROMCHAR, 1, 0));
                 int mid = lo + (hi - lo) / 2;
                 r += std::to_string(hi > lo) + (e == one ? at(e, lo) + at(e, mid - 1) + at(e, mid) : at(e, mid + 1)) +
                      at(e, hi) + " ";
             }
             return r;
         },
         "10011 111 "},
        {"EM_SCROLL: TRUE high with the lines moved low; FALSE when nothing moves and in one line",
         [](Boxes &b) {
             std::string lines;
             for (int i = 0; i < 30; ++i) lines += "line\r\n";
             HWND one = b.Child(ES_AUTOHSCROLL, "a"), short_ = b.Child(ES_MULTILINE | ES_AUTOVSCROLL, "a");
             HWND tall = b.Child(ES_MULTILINE | ES_AUTOVSCROLL, lines.c_str());
             // Hidden and no child: the box still knows that two lines fit it.
             HWND hidden = CreateWindowExA(0, "EDIT", "Test\r\nText", WS_VSCROLL | ES_MULTILINE, 0, 0, 100, 100, nullptr,
                                           nullptr, nullptr, nullptr);
             std::string r = Hex(SendMessageA(one, EM_SCROLL, SB_LINEDOWN, 0)) + "," +
                             Hex(SendMessageA(short_, EM_SCROLL, SB_LINEDOWN, 0)) + "," +
                             Hex(SendMessageA(short_, EM_SCROLL, SB_PAGEUP, 0)) + "," +
                             Hex(SendMessageA(hidden, EM_SCROLL, SB_PAGEDOWN, 0)) + "," +
                             Hex(SendMessageA(tall, EM_SCROLL, SB_LINEDOWN, 0));
             DestroyWindow(hidden);
             return r;
         },
         "0,0,0,0,10001"},
        {"each typed character brings one EN_UPDATE then one EN_CHANGE, and nothing when nothing changes; "
         "a character refused at the limit brings EN_MAXTEXT and still the pair",
         [](Boxes &b) {
             HWND one = b.Child(ES_AUTOHSCROLL), many = b.Child(ES_MULTILINE | ES_AUTOVSCROLL);
             std::vector<BYTE> keys{'\b', 'a', 'b', '\b', '\b', '\b', 'c'};
             std::string r = Typed(one, keys) + " " + Typed(many, keys) + " ";
             SendMessageA(many, EM_SETSEL, 0, -1);
             r += Typed(many, {'x', '\r'});
             r += " " + Text(many) + " ";
             SendMessageA(one, EM_SETLIMITTEXT, 1, 0);
             r += Typed(one, {'y', '\b', 'z'});
             return r + " " + Text(one);
         },
         "|UC|UC|UC|UC||UC| |UC|UC|UC|UC||UC| UC|UC| 3:x\r\n MUC|UC|UC| 1:z"},
        {"WM_SETTEXT in one line reports a change even for the same text; in many lines it reports none",
         [](Boxes &b) {
             std::string r;
             for (HWND e : {b.Child(ES_AUTOHSCROLL, "same"), b.Child(ES_MULTILINE | ES_AUTOVSCROLL, "same")}) {
                 notified.clear();
                 SendMessageA(e, WM_SETTEXT, 0, LPARAM("same"));
                 SendMessageA(e, WM_SETTEXT, 0, LPARAM("other"));
                 r += Count(EN_UPDATE) + Count(EN_CHANGE) + " ";
             }
             return r;
         },
         "22 00 "},
        {"beside WS_EX_CLIENTEDGE a WS_BORDER draws nothing inside: the text starts one pixel in, as with the edge alone",
         [](Boxes &b) {
             std::string r;
             for (DWORD border : {DWORD(0), DWORD(WS_BORDER)}) {
                 HWND e = CreateWindowExA(WS_EX_CLIENTEDGE, "EDIT", "", WS_CHILD | border | ES_AUTOHSCROLL, 0, 0, 200, 60,
                                          b.parent, nullptr, nullptr, nullptr);
                 RECT f{};
                 SendMessageA(e, EM_GETRECT, 0, LPARAM(&f));
                 r += std::to_string(f.left - LOWORD(SendMessageA(e, EM_GETMARGINS, 0, 0))) + "," + std::to_string(f.top) + " ";
             }
             return r;
         },
         "1,1 1,1 "},
        {"a top-level EDIT that is no popup is made at least the minimum tracking size and keeps its caption, whose "
         "border is drawn outside the text; a popup keeps its size",
         [](Boxes &) {
             HWND over = CreateWindowExA(0, "EDIT", "", ES_MULTILINE, 10, 10, 1, 50, nullptr, nullptr, nullptr, nullptr);
             HWND popup = CreateWindowExA(0, "EDIT", "", WS_POPUP, 10, 10, 1, 1, nullptr, nullptr, nullptr, nullptr);
             RECT o{}, c{}, f{}, p{};
             GetWindowRect(over, &o);
             GetClientRect(over, &c);
             SendMessageA(over, EM_GETRECT, 0, LPARAM(&f));
             GetWindowRect(popup, &p);
             DestroyWindow(over);
             DestroyWindow(popup);
             return std::to_string(o.right - o.left == GetSystemMetrics(SM_CXMINTRACK)) +
                    std::to_string(o.bottom - o.top - c.bottom > GetSystemMetrics(SM_CYCAPTION)) + " " +
                    std::to_string(f.left) + "," + std::to_string(f.top) + " " + std::to_string(p.right - p.left) + "x" +
                    std::to_string(p.bottom - p.top);
         },
         "11 0,0 1x1"},
        {"an EDIT that is no child notifies the parent given at its creation",
         [](Boxes &b) {
             HWND e = b.Popup(ES_AUTOHSCROLL);
             notified.clear();
             SendMessageA(e, EM_REPLACESEL, 0, LPARAM("a"));
             return Count(EN_UPDATE) + Count(EN_CHANGE) + Count(EN_MAXTEXT);
         },
         "110"},
        {"one line without ES_AUTOHSCROLL takes what fits its width, with EN_MAXTEXT",
         [](Boxes &b) {
             HWND e = b.Popup(0, "", 50, 50);
             notified.clear();
             SendMessageA(e, EM_REPLACESEL, 0, LPARAM("this is a long string."));
             LRESULT n = SendMessageA(e, WM_GETTEXTLENGTH, 0, 0);
             return std::to_string(n > 0 && n < 22) + " " + Count(EN_UPDATE) + Count(EN_CHANGE) + Count(EN_MAXTEXT);
         },
         "1 111"},
        {"a box given no font draws with the 16-pixel system font, and WM_GETFONT answers null",
         [](Boxes &b) {
             // Overlapped, so at least its minimum tracking width: the long line fits only in a
             // font as small as the GUI font.
             HWND e = CreateWindowExA(0, "EDIT", "", 0, 10, 10, 50, 50, b.parent, nullptr, nullptr, nullptr);
             SendMessageA(e, EM_REPLACESEL, 0, LPARAM("this is a long string."));
             LRESULT n = SendMessageA(e, WM_GETTEXTLENGTH, 0, 0);
             HDC dc = GetDC(nullptr);
             HGDIOBJ old = SelectObject(dc, GetStockObject(SYSTEM_FONT));
             TEXTMETRICA tm{};
             GetTextMetricsA(dc, &tm);
             SelectObject(dc, old);
             ReleaseDC(nullptr, dc);
             std::string r = std::to_string(SendMessageA(e, WM_GETFONT, 0, 0)) + " " + std::to_string(n < 22) + " " +
                             std::to_string(tm.tmHeight);
             DestroyWindow(e);
             return r;
         },
         "0 1 16"},
        {"many lines without ES_AUTOVSCROLL take a text that does not fit not at all; WM_SETTEXT takes it",
         [](Boxes &b) {
             HWND e = b.Popup(ES_MULTILINE, "", 50, 50);
             notified.clear();
             SendMessageA(e, EM_REPLACESEL, 0, LPARAM(kLong));
             std::string r = std::to_string(SendMessageA(e, WM_GETTEXTLENGTH, 0, 0)) + " " + Count(EN_UPDATE) +
                             Count(EN_CHANGE) + Count(EN_MAXTEXT);
             SendMessageA(e, WM_SETTEXT, 0, LPARAM(kLong));
             return r + " " + std::to_string(SendMessageA(e, WM_GETTEXTLENGTH, 0, 0));
         },
         "0 111 94"},
        {"a 1x1 EDIT with WS_BORDER keeps a 1x1 client area and all of its text",
         [](Boxes &b) {
             HWND e = b.Child(WS_BORDER, "test\r\ntest", 1, 1);
             RECT c{};
             GetClientRect(e, &c);
             return std::to_string(c.right) + "x" + std::to_string(c.bottom) + " " +
                    std::to_string(SendMessageA(e, WM_GETTEXTLENGTH, 0, 0));
         },
         "1x1 10"},
        {"after WM_DESTROY the text remains; after WM_NCDESTROY WM_GETTEXT gives 0 and an empty string",
         [](Boxes &b) {
             HWND e = b.Popup(0, "Test");
             SendMessageA(e, WM_DESTROY, 0, 0);
             std::string r = Text(e);
             SendMessageA(e, WM_NCDESTROY, 0, 0);
             return r + " " + Text(e);
         },
         "4:Test 0:"},
        {"in dialog mode Return in many lines without ES_WANTRETURN inserts nothing",
         [](Boxes &b) {
             HWND e = b.Child(ES_MULTILINE, "Test Text");
             SendMessageA(e, WM_CHAR, VK_RETURN, 0x1c0001);
             std::string r = std::to_string(SendMessageA(e, WM_GETTEXTLENGTH, 0, 0));
             MSG m{};
             r += " " + Hex(SendMessageA(e, WM_GETDLGCODE, 0, LPARAM(&m)));
             SendMessageA(e, WM_CHAR, VK_RETURN, 0x1c0001);
             return r + " " + std::to_string(SendMessageA(e, WM_GETTEXTLENGTH, 0, 0));
         },
         "11 8d 11"},
        {"a child's creation and destruction send WM_PARENTNOTIFY to its parent and on up the chain, "
         "unless the child has WS_EX_NOPARENTNOTIFY; children destroyed with their parent send none",
         [](Boxes &b) {
             parentNotes.clear();
             auto make = [&](DWORD ex, const char *cls, HWND parent, int id) {
                 return CreateWindowExA(ex, cls, "", WS_CHILD, 0, 0, 50, 50, parent, HMENU(INT_PTR(id)), nullptr, nullptr);
             };
             HWND e = make(0, "EDIT", b.parent, 5), quiet = make(WS_EX_NOPARENTNOTIFY, "EDIT", b.parent, 6);
             HWND inner = make(0, "EditRowsParent", b.parent, 7), deep = make(0, "EDIT", inner, 8);
             std::vector<std::pair<HWND, const char *>> names{{b.parent, "P"}, {e, "e"}, {quiet, "q"}, {inner, "I"}, {deep, "d"}};
             DestroyWindow(e);
             DestroyWindow(quiet);
             DestroyWindow(inner);
             return Notes(names);
         },
         "P1.5e P1.7I I1.8d P1.8d P2.5e P2.7I ",
         "P1.5e P1.7I I1.8d P2.5e P2.7I " /* Wine tells the immediate parent only */},
        {"in dialog mode Tab in many lines asks for the next control, Return for the default button and gives it the "
         "focus, Escape in many lines closes the dialog; one line leaves Tab and Escape to the dialog",
         [](Boxes &b) {
             HWND many = b.Child(ES_MULTILINE), one = b.Child(ES_AUTOHSCROLL);
             CreateWindowExA(0, "BUTTON", "OK", WS_CHILD | BS_DEFPUSHBUTTON, 0, 0, 50, 20, b.parent, HMENU(IDOK),
                             nullptr, nullptr);
             MSG m{};
             std::string r;
             for (HWND e : {many, one}) {
                 SendMessageA(e, WM_GETDLGCODE, 0, LPARAM(&m));
                 for (WPARAM vk : {WPARAM(VK_TAB), WPARAM(VK_RETURN), WPARAM(VK_ESCAPE)}) {
                     dialogLog.clear();
                     SendMessageA(e, WM_KEYDOWN, vk, 1);
                     Pump();
                     r += dialogLog + "|";
                 }
                 r += " ";
             }
             return r;
         },
         "N00|DNok1|X| |DNok1|| "},
        {"the class is named \"Edit\" and its cursor is the I-beam",
         [](Boxes &b) {
             HWND e = b.Child(0);
             char name[16] = {};
             GetClassNameA(e, name, sizeof name);
             bool ibeam = HCURSOR(GetClassLongPtrA(e, GCLP_HCURSOR)) == LoadCursorA(nullptr, IDC_IBEAM);
             return std::string(name) + " " + std::to_string(ibeam);
         },
         "Edit 1"},
        {"many lines keep a lone \\r or \\n as written; only \\r\\n breaks a line (unless ES_EX_ALLOWEOL_* is set)",
         [](Boxes &b) {
             HWND e = b.Child(ES_MULTILINE | ES_AUTOVSCROLL, "a\rb\nc\r\nd");
             SendMessageA(e, EM_SETSEL, 1, 1);
             SendMessageA(e, EM_REPLACESEL, 0, LPARAM("\n\r"));
             std::string t = Text(e);
             for (char &c : t) c = c == '\r' ? 'R' : c == '\n' ? 'N' : c;
             return t + " " + std::to_string(SendMessageA(e, EM_GETLINECOUNT, 0, 0)) + " " +
                    std::to_string(SendMessageA(e, EM_LINEINDEX, 1, 0));
         },
         "10:aNRRbNcRNd 2 9", "10:aNRRbNcRNd 4 2" /* Wine breaks lines at a lone \n too */},
        {"a double-click selects the word under it and the blanks after it",
         [](Boxes &b) {
             HWND e = b.Child(ES_AUTOHSCROLL, "one two  three");
             LRESULT at = SendMessageA(e, EM_POSFROMCHAR, 5, 0);
             LPARAM point = MAKELPARAM(LOWORD(at) + 1, HIWORD(at) + 2);
             // The order a double-click arrives in a window of a CS_DBLCLKS class.
             for (UINT msg : {WM_LBUTTONDOWN, WM_LBUTTONUP, WM_LBUTTONDBLCLK, WM_LBUTTONUP})
                 SendMessageA(e, msg, msg == WM_LBUTTONUP ? 0 : MK_LBUTTON, point);
             return Sel(e);
         },
         "4-9"},
    };
    return rows;
}

TEST(EditBehaviour, EveryRowHolds) {
    bool wine = RunningUnderWine();
    for (const Row &row : Rows()) {
        Boxes boxes;
        EXPECT_EQ(row.actual(boxes), wine && !row.underWine.empty() ? row.underWine : row.expected) << row.behaviour;
    }
}

} // namespace
