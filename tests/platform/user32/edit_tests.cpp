// The "EDIT" control: selection and replacement in ANSI positions, CRLF line breaks,
// EN_* notifications, limits, styles, and typed characters through the queue.
#include <gtest/gtest.h>

#include <QClipboard>
#include <QImage>
#include <QInputMethodEvent>
#include <QTextBlock>
#include <QTextLayout>
#include <QLineEdit>
#include <QPlainTextEdit>

#include <atomic>
#include <cstring>
#include <thread>

#include "window_test_support.h"

using namespace window_test;

namespace {

std::vector<WORD> notifications;
HBRUSH editBrush = nullptr;

LRESULT CALLBACK ParentProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_COMMAND && lp) notifications.push_back(HIWORD(wp));
    if (msg == WM_CTLCOLOREDIT && editBrush) {
        SetTextColor(HDC(wp), RGB(0, 0, 255));
        return LRESULT(editBrush);
    }
    return DefWindowProcA(hwnd, msg, wp, lp);
}

class EditTest : public ::testing::Test {
protected:
    void SetUp() override {
        WNDCLASSA wc{};
        wc.lpfnWndProc = ParentProc;
        wc.lpszClassName = "EditParent";
        RegisterClassA(&wc);
        parent = CreateWindowExA(0, "EditParent", "", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 400, 300, nullptr,
                                 nullptr, nullptr, nullptr);
        notifications.clear();
    }
    void TearDown() override {
        DestroyWindow(parent);
        Pump();
    }
    HWND Edit(DWORD style = 0, const char *text = "") {
        HWND e = CreateWindowExA(WS_EX_CLIENTEDGE, "EDIT", text, WS_CHILD | WS_VISIBLE | style, 10, 10, 200, 80, parent,
                                 HMENU(7), nullptr, nullptr);
        notifications.clear();
        return e;
    }
    std::string Text(HWND e) {
        std::string buffer(size_t(GetWindowTextLengthA(e)) + 1, '\0');
        buffer.resize(size_t(GetWindowTextA(e, buffer.data(), int(buffer.size()))));
        return buffer;
    }
    std::pair<DWORD, DWORD> Sel(HWND e) {
        DWORD s = 0, t = 0;
        SendMessageA(e, EM_GETSEL, WPARAM(&s), LPARAM(&t));
        return {s, t};
    }
    int Count(WORD code) { return int(std::count(notifications.begin(), notifications.end(), code)); }
    HWND parent = nullptr;
};

TEST_F(EditTest, SelectionAndReplacement) {
    HWND e = Edit(ES_AUTOHSCROLL, "abcdef");
    SendMessageA(e, EM_SETSEL, 1, 3);
    EXPECT_EQ(Sel(e), std::make_pair(DWORD(1), DWORD(3)));
    EXPECT_EQ(SendMessageA(e, EM_GETSEL, 0, 0), MAKELONG(1, 3));
    SendMessageA(e, EM_REPLACESEL, TRUE, LPARAM("XY"));
    EXPECT_EQ(Text(e), "aXYdef");
    EXPECT_EQ(Sel(e), std::make_pair(DWORD(3), DWORD(3)));
    // Start above end selects the same range; 0, -1 selects all; -1 removes the selection.
    SendMessageA(e, EM_SETSEL, 4, 2);
    EXPECT_EQ(Sel(e), std::make_pair(DWORD(2), DWORD(4)));
    SendMessageA(e, EM_SETSEL, 0, -1);
    EXPECT_EQ(Sel(e), std::make_pair(DWORD(0), DWORD(6)));
    SendMessageA(e, EM_SETSEL, WPARAM(-1), 0);
    auto sel = Sel(e);
    EXPECT_EQ(sel.first, sel.second);
    EXPECT_EQ(SendMessageA(e, WM_GETTEXTLENGTH, 0, 0), 6);
}

TEST_F(EditTest, PositionsCountBytesOfTheAnsiCodePage) {
    std::string text = Gbk("网址ab");
    HWND e = Edit(ES_AUTOHSCROLL, text.c_str());
    EXPECT_EQ(SendMessageA(e, WM_GETTEXTLENGTH, 0, 0), 6);
    SendMessageA(e, EM_SETSEL, 2, 4);
    SendMessageA(e, EM_REPLACESEL, 0, LPARAM(Gbk("采").c_str()));
    EXPECT_EQ(Text(e), Gbk("网采ab"));
    EXPECT_EQ(Sel(e), std::make_pair(DWORD(4), DWORD(4)));
    // A buffer too short for a double-byte character stops before it.
    char small[4];
    EXPECT_EQ(SendMessageA(e, WM_GETTEXT, sizeof small, LPARAM(small)), 2);
    EXPECT_EQ(std::string(small), Gbk("网"));
}

TEST_F(EditTest, AppendingAfterTheUserSelectedTextGoesToTheEnd) {
    HWND e = Edit(ES_MULTILINE | ES_AUTOVSCROLL | ES_WANTRETURN | WS_VSCROLL, "one\r\ntwo\r\n");
    SendMessageA(e, EM_SETSEL, 0, 3); // the user selected "one"
    for (const char *line : {"three\r\n", "four\r\n"}) {
        LRESULT n = SendMessageA(e, WM_GETTEXTLENGTH, 0, 0);
        SendMessageA(e, EM_SETSEL, n, n);
        SendMessageA(e, EM_SCROLLCARET, 0, 0);
        SendMessageA(e, EM_REPLACESEL, FALSE, LPARAM(line));
    }
    EXPECT_EQ(Text(e), "one\r\ntwo\r\nthree\r\nfour\r\n");
    EXPECT_EQ(Count(EN_CHANGE), 2);
    EXPECT_EQ(SendMessageA(e, EM_GETLINECOUNT, 0, 0), 5);
    EXPECT_EQ(SendMessageA(e, EM_LINEINDEX, 2, 0), 10);
    EXPECT_EQ(SendMessageA(e, EM_LINELENGTH, 10, 0), 5);
    EXPECT_EQ(SendMessageA(e, EM_LINEFROMCHAR, 11, 0), 2);
}

TEST_F(EditTest, MultiLineTextUsesCrLfBothWays) {
    HWND e = Edit(ES_MULTILINE | ES_WANTRETURN, "a\r\nb");
    auto *box = qobject_cast<QPlainTextEdit *>(Widget(e));
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(box->document()->blockCount(), 2); // one line break on the screen
    EXPECT_EQ(SendMessageA(e, WM_GETTEXTLENGTH, 0, 0), 4);
    SendMessageA(e, EM_SETSEL, 4, 4);
    SendMessageA(e, WM_CHAR, '\r', 0); // Enter
    SendMessageA(e, WM_CHAR, 'c', 0);
    EXPECT_EQ(Text(e), "a\r\nb\r\nc");
    EXPECT_EQ(Sel(e), std::make_pair(DWORD(7), DWORD(7)));
}

TEST_F(EditTest, MultiLinePositionsCountDoubleByteCharactersAndLineBreaks) {
    std::string text = Gbk("网址\r\nab\r\n采集");
    HWND e = Edit(ES_MULTILINE | ES_AUTOVSCROLL, text.c_str());
    EXPECT_EQ(SendMessageA(e, WM_GETTEXTLENGTH, 0, 0), LRESULT(text.size()));
    SendMessageA(e, EM_SETSEL, 6, 8); // "ab"
    SendMessageA(e, EM_REPLACESEL, 0, LPARAM("xyz"));
    EXPECT_EQ(Text(e), Gbk("网址\r\nxyz\r\n采集"));
    EXPECT_EQ(Sel(e), std::make_pair(DWORD(9), DWORD(9)));
    SendMessageA(e, EM_SETSEL, 11, 13);
    char selected[8] = {};
    std::string all = Text(e);
    auto sel = Sel(e);
    std::memcpy(selected, all.data() + sel.first, sel.second - sel.first);
    EXPECT_EQ(std::string(selected), Gbk("采"));
    // Many appended lines keep their byte positions.
    for (int i = 0; i < 2000; ++i) {
        LRESULT n = SendMessageA(e, WM_GETTEXTLENGTH, 0, 0);
        SendMessageA(e, EM_SETSEL, n, n);
        SendMessageA(e, EM_REPLACESEL, 0, LPARAM(Gbk("\r\n第一行").c_str()));
    }
    EXPECT_EQ(SendMessageA(e, WM_GETTEXTLENGTH, 0, 0), LRESULT(all.size() + 2000 * 8));
    EXPECT_EQ(SendMessageA(e, EM_GETLINECOUNT, 0, 0), 2003);
    EXPECT_EQ(Text(e).size(), all.size() + 2000 * 8);
}

TEST_F(EditTest, TypedLinesReadBackWithCrLf) {
    HWND e = Edit(ES_MULTILINE | ES_AUTOVSCROLL | ES_WANTRETURN | WS_VSCROLL);
    SetFocus(e);
    QtType(Widget(e), "ab");
    QtKey(Widget(e), Qt::Key_Return, "\r");
    QtType(Widget(e), "Cd");
    Pump();
    EXPECT_EQ(Text(e), "ab\r\nCd");
    EXPECT_EQ(Count(EN_CHANGE), 5);
    EXPECT_TRUE(SendMessageA(e, EM_GETMODIFY, 0, 0));
}

TEST_F(EditTest, NavigationKeysReachTheControl) {
    HWND e = Edit(ES_AUTOHSCROLL, "abc");
    SetFocus(e);
    SendMessageA(e, EM_SETSEL, 3, 3);
    QtKey(Widget(e), Qt::Key_Left);
    QtKey(Widget(e), Qt::Key_Delete);
    Pump();
    EXPECT_EQ(Text(e), "ab");
    EXPECT_EQ(Count(EN_CHANGE), 1);
    QtKey(Widget(e), Qt::Key_Home);
    QtKey(Widget(e), Qt::Key_Backspace, "\b"); // nothing before the caret
    Pump();
    EXPECT_EQ(Text(e), "ab");
}

WNDPROC editProc = nullptr;
LRESULT CALLBACK FilterProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_CHAR && wp == 'x') return 0;         // swallowed
    if (msg == WM_CHAR && wp == 'a') wp = 'b';          // changed
    return CallWindowProcA(editProc, hwnd, msg, wp, lp);
}

TEST_F(EditTest, ASwallowedCharacterNeverReachesTheControlAndAChangedOneArrivesChanged) {
    HWND e = Edit(ES_AUTOHSCROLL);
    editProc = reinterpret_cast<WNDPROC>(SetWindowLongPtrA(e, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(FilterProc)));
    SetFocus(e);
    QtType(Widget(e), "xaxz");
    Pump();
    EXPECT_EQ(Text(e), "bz");
    EXPECT_EQ(qobject_cast<QLineEdit *>(Widget(e))->text(), QString("bz"));
}

TEST_F(EditTest, SetTextRaisesOneChangeForASingleLineBoxAndNoneForAMultiLineOne) {
    HWND single = Edit(ES_AUTOHSCROLL);
    SetWindowTextA(single, "hello");
    EXPECT_EQ(Count(EN_CHANGE), 1);
    EXPECT_EQ(Count(EN_UPDATE), 1);
    EXPECT_FALSE(SendMessageA(single, EM_GETMODIFY, 0, 0));
    HWND multi = Edit(ES_MULTILINE);
    SetWindowTextA(multi, "a\r\nb");
    EXPECT_EQ(Count(EN_CHANGE), 0);
    EXPECT_EQ(Text(multi), "a\r\nb");
}

TEST_F(EditTest, LimitTextStopsTypingAndCutsReplacements) {
    HWND e = Edit(ES_AUTOHSCROLL);
    SendMessageA(e, EM_LIMITTEXT, 4, 0);
    EXPECT_EQ(SendMessageA(e, EM_GETLIMITTEXT, 0, 0), 4);
    for (char c : std::string("abcdef")) SendMessageA(e, WM_CHAR, WPARAM(c), 0);
    EXPECT_EQ(Text(e), "abcd");
    EXPECT_GE(Count(EN_MAXTEXT), 1);
    SendMessageA(e, EM_SETSEL, 4, 4);
    SendMessageA(e, EM_REPLACESEL, 0, LPARAM("xyz"));
    EXPECT_EQ(Text(e), "abcd");
    SetWindowTextA(e, "longer than four"); // WM_SETTEXT ignores the limit
    EXPECT_EQ(Text(e), "longer than four");
    SendMessageA(e, EM_LIMITTEXT, 0, 0);
    EXPECT_EQ(SendMessageA(e, EM_GETLIMITTEXT, 0, 0), 0x7FFFFFFE);
}

TEST_F(EditTest, ReadOnlyRefusesTypingButNotProgramWrites) {
    HWND e = Edit(ES_AUTOHSCROLL | ES_READONLY, "fixed");
    SendMessageA(e, EM_SETSEL, 5, 5);
    SendMessageA(e, WM_CHAR, 'x', 0);
    SendMessageA(e, WM_CHAR, '\b', 0);
    EXPECT_EQ(Text(e), "fixed");
    SendMessageA(e, EM_REPLACESEL, 0, LPARAM("!"));
    EXPECT_EQ(Text(e), "fixed!");
    EXPECT_TRUE(SendMessageA(e, EM_SETREADONLY, FALSE, 0));
    EXPECT_FALSE(GetWindowLongPtrA(e, GWL_STYLE) & ES_READONLY);
    SendMessageA(e, WM_CHAR, 'x', 0);
    EXPECT_EQ(Text(e), "fixed!x");
}

TEST_F(EditTest, PasswordBoxShowsThePasswordCharacter) {
    HWND e = Edit(ES_AUTOHSCROLL | ES_PASSWORD, "secret");
    auto *line = qobject_cast<QLineEdit *>(Widget(e));
    EXPECT_EQ(line->echoMode(), QLineEdit::Password);
    EXPECT_EQ(SendMessageA(e, EM_GETPASSWORDCHAR, 0, 0), '*');
    SendMessageA(e, EM_SETPASSWORDCHAR, '#', 0);
    EXPECT_EQ(SendMessageA(e, EM_GETPASSWORDCHAR, 0, 0), '#');
    EXPECT_EQ(Text(e), "secret");
    SendMessageA(e, EM_SETPASSWORDCHAR, 0, 0);
    EXPECT_EQ(line->echoMode(), QLineEdit::Normal);
    EXPECT_FALSE(GetWindowLongPtrA(e, GWL_STYLE) & ES_PASSWORD);
}

TEST_F(EditTest, CaseStylesConvertTypedText) {
    HWND upper = Edit(ES_AUTOHSCROLL | ES_UPPERCASE);
    SendMessageA(upper, WM_CHAR, 'q', 0);
    SendMessageA(upper, EM_REPLACESEL, 0, LPARAM("rs"));
    EXPECT_EQ(Text(upper), "QRS");
    HWND lower = Edit(ES_AUTOHSCROLL | ES_LOWERCASE, "MiXed");
    EXPECT_EQ(Text(lower), "mixed");
}

TEST_F(EditTest, DoubleByteCharacterTypedAsTwoCharMessages) {
    HWND e = Edit(ES_AUTOHSCROLL);
    std::string wang = Gbk("网");
    SendMessageA(e, WM_CHAR, BYTE(wang[0]), 0);
    EXPECT_EQ(Text(e), "");
    SendMessageA(e, WM_CHAR, BYTE(wang[1]), 0);
    EXPECT_EQ(Text(e), wang);
    EXPECT_EQ(Count(EN_CHANGE), 1);
}

// An input method's composition shows in the box but is not its text; the committed
// text arrives once, through the queue.
TEST_F(EditTest, CompositionShowsInlineAndOnlyTheCommittedTextIsKept) {
    HWND e = Edit(ES_MULTILINE);
    SetFocus(e);
    auto *box = static_cast<QPlainTextEdit *>(platform::HostOf(e));
    ASSERT_NE(box, nullptr);
    QInputMethodEvent composing(QStringLiteral("zhong"), {});
    QApplication::sendEvent(box, &composing);
    Pump();
    EXPECT_EQ(box->document()->firstBlock().layout()->preeditAreaText(), QStringLiteral("zhong"));
    EXPECT_EQ(Text(e), "");
    QInputMethodEvent commit;
    commit.setCommitString(QString::fromUtf8("中"));
    QApplication::sendEvent(box, &commit);
    Pump();
    EXPECT_EQ(box->document()->firstBlock().layout()->preeditAreaText(), QString());
    EXPECT_EQ(Text(e), Gbk("中"));
    EXPECT_EQ(Count(EN_CHANGE), 1);
    // A single-line box takes the committed text once as well.
    HWND line = Edit(ES_AUTOHSCROLL);
    SetFocus(line);
    QWidget *lineBox = platform::HostOf(line);
    QApplication::sendEvent(lineBox, &composing);
    QApplication::sendEvent(lineBox, &commit);
    Pump();
    EXPECT_EQ(Text(line), Gbk("中"));
}

// Win32 gives a single line box the pasted text up to its first line break, and a
// multi-line box the text as it is, lone line breaks included.
TEST_F(EditTest, PasteTakesOneLineIntoASingleLineBoxAndAllIntoAMultiLineOne) {
    HWND line = Edit(ES_AUTOHSCROLL, "<>"), multi = Edit(ES_MULTILINE | ES_AUTOVSCROLL, "<>");
    QApplication::clipboard()->setText(QStringLiteral("ab\r\ncd\ne"));
    for (HWND e : {line, multi}) {
        SendMessageA(e, EM_SETSEL, 1, 1);
        SendMessageA(e, WM_PASTE, 0, 0);
    }
    EXPECT_EQ(Text(line), "<ab>");
    EXPECT_EQ(Text(multi), "<ab\r\ncd\ne>");
    EXPECT_EQ(SendMessageA(multi, EM_GETLINECOUNT, 0, 0), 2);
}

TEST_F(EditTest, FocusNotifications) {
    HWND a = Edit(ES_AUTOHSCROLL), b = Edit(ES_AUTOHSCROLL);
    SetFocus(a);
    notifications.clear();
    SetFocus(b);
    EXPECT_EQ(notifications, (std::vector<WORD>{EN_KILLFOCUS, EN_SETFOCUS}));
}

TEST_F(EditTest, FontIsAppliedAndReported) {
    HWND e = Edit(ES_AUTOHSCROLL);
    LOGFONTA lf{};
    lf.lfHeight = -20;
    lf.lfWeight = FW_BOLD;
    std::strcpy(lf.lfFaceName, Gbk("宋体").c_str());
    HFONT font = CreateFontIndirectA(&lf);
    SendMessageA(e, WM_SETFONT, WPARAM(font), TRUE);
    EXPECT_EQ(HFONT(SendMessageA(e, WM_GETFONT, 0, 0)), font);
    EXPECT_EQ(Widget(e)->font().pixelSize(), 20);
    EXPECT_EQ(Widget(e)->font().weight(), QFont::Bold);
    DeleteObject(font);
}

TEST_F(EditTest, SendMessageFromAWorkerWhileTheMainThreadPumps) {
    HWND e = Edit(ES_MULTILINE | ES_AUTOVSCROLL); // 21 lines do not fit 80 pixels without it
    std::atomic<bool> done{false};
    std::thread worker([&] {
        for (int i = 0; i < 20; ++i) {
            LRESULT n = SendMessageA(e, WM_GETTEXTLENGTH, 0, 0);
            SendMessageA(e, EM_SETSEL, n, n);
            SendMessageA(e, EM_REPLACESEL, 0, LPARAM("line\r\n"));
        }
        done = true;
        PostMessageA(e, WM_NULL, 0, 0);
    });
    while (!done) {
        MSG m;
        if (GetMessageA(&m, nullptr, 0, 0)) DispatchMessageA(&m);
    }
    worker.join();
    EXPECT_EQ(SendMessageA(e, WM_GETTEXTLENGTH, 0, 0), 20 * 6);
    EXPECT_EQ(SendMessageA(e, EM_GETLINECOUNT, 0, 0), 21);
}

TEST_F(EditTest, ParentPicksTheColoursThroughCtlColorEdit) {
    HWND e = Edit(ES_AUTOHSCROLL, "colour");
    editBrush = CreateSolidBrush(RGB(255, 0, 0));
    QImage image = Widget(e)->grab().toImage();
    QColor middle = image.pixelColor(image.width() - 10, image.height() / 2);
    EXPECT_EQ(middle, QColor(255, 0, 0));
    EXPECT_EQ(Widget(e)->palette().color(QPalette::Text), QColor(0, 0, 255));
    DestroyWindow(e);
    DeleteObject(editBrush);
    editBrush = nullptr;
}

TEST_F(EditTest, MouseClickPlacesTheCaretAndTakesTheFocus) {
    HWND e = Edit(ES_AUTOHSCROLL, "abcdef");
    SetFocus(parent);
    QWidget *w = Widget(e);
    QtMouse(w, QEvent::MouseButtonPress, QPoint(w->width() - 5, w->height() / 2));
    QtMouse(w, QEvent::MouseButtonRelease, QPoint(w->width() - 5, w->height() / 2));
    Pump();
    EXPECT_EQ(GetFocus(), e);
    EXPECT_EQ(Sel(e), std::make_pair(DWORD(6), DWORD(6)));
}

} // namespace
