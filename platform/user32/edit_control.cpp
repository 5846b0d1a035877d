// The "EDIT" control over QLineEdit (single line) and QPlainTextEdit (multi-line).
// Text and positions are those of an ANSI control: GBK bytes, and in a multi-line box
// every line break counts as the two bytes of "\r\n". Typed characters arrive as
// WM_CHAR and are inserted here, so a procedure in front of this one can change or
// swallow them; navigation keys and the mouse are let through to the Qt widget.
#include <QApplication>
#include <QClipboard>
#include <QLineEdit>
#include <QPainter>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QTextBlock>

#include <climits>
#include <cstring>

#include "control_support.h"
#include "gdi_object.h"
#include "host_text.h"
#include "window_host.h"

namespace platform {
namespace {

constexpr DWORD kDefaultLimit = 30000;
constexpr DWORD kSystemLimit = 0x7FFFFFFE;

struct EditData {
    HWND hwnd = nullptr;
    DWORD limit = kDefaultLimit;
    char passwordChar = 0;
    int leadByte = -1;       // the first byte of a double-byte character typed in two WM_CHARs
    bool modified = false;
    unsigned version = 0;    // counts changes of the text
    int silent = 0;          // changes made while this is set raise no EN_CHANGE
};

class EditControl {
public:
    virtual ~EditControl() = default;
    virtual QString Text() const = 0; // line breaks as "\n"
    virtual void SetText(const QString &text) = 0;
    virtual void Selection(int &start, int &end) const = 0;
    virtual void Select(int anchor, int caret) = 0;
    virtual void Insert(const QString &text) = 0;
    virtual void Backspace() = 0;
    virtual void ScrollCaret() = 0;
    virtual bool Multiline() const = 0;
    virtual QWidget *Widget() = 0;
    virtual QWidget *MouseTarget() = 0;
    virtual void SetReadOnly(bool on) = 0;
    virtual void Undo() = 0;
    virtual bool CanUndo() const = 0;
    virtual void ClearUndo() = 0;
    virtual void Cut() = 0;
    virtual void Copy() = 0;
    virtual int FirstVisibleLine() const { return 0; }
    // ANSI byte counts; a long multi-line box answers these without converting its text.
    virtual long AnsiLength() const;
    virtual long BytesAt(int position) const;
    virtual int PositionAt(long bytes) const;
    virtual void ScrollLines(int) {}
    EditData state;

protected:
    // The parent picks the colours through WM_CTLCOLOREDIT, or WM_CTLCOLORSTATIC when
    // the box is read-only or disabled.
    void PickColours(QWidget *w) {
        DWORD style = DWORD(GetWindowLongPtrA(state.hwnd, GWL_STYLE));
        bool staticLook = (style & ES_READONLY) || (style & WS_DISABLED);
        COLORREF text = GetSysColor(COLOR_WINDOWTEXT);
        COLORREF back = GetSysColor(staticLook ? COLOR_BTNFACE : COLOR_WINDOW);
        ColoursFromParent(state.hwnd, staticLook ? WM_CTLCOLORSTATIC : WM_CTLCOLOREDIT, text, back);
        QPalette p = w->palette();
        if (p.color(QPalette::Base) == ColorOf(back) && p.color(QPalette::Text) == ColorOf(text)) return;
        p.setColor(QPalette::Base, ColorOf(back));
        p.setColor(QPalette::Text, ColorOf(text));
        w->setPalette(p);
    }
};

class LineEdit : public QLineEdit, public EditControl {
public:
    explicit LineEdit(QWidget *parent) : QLineEdit(parent) {
        setMaxLength(INT_MAX);
        connect(this, &QLineEdit::textChanged, [this] { ++state.version; });
    }
    QString Text() const override { return text(); }
    void SetText(const QString &t) override { setText(t); }
    void Selection(int &start, int &end) const override {
        if (hasSelectedText()) start = selectionStart(), end = selectionEnd();
        else start = end = cursorPosition();
    }
    void Select(int anchor, int caret) override { setSelection(anchor, caret - anchor); }
    void Insert(const QString &t) override { Writable([&] { insert(t); }); }
    void Backspace() override { Writable([&] { backspace(); }); }
    void ScrollCaret() override {}
    bool Multiline() const override { return false; }
    QWidget *Widget() override { return this; }
    QWidget *MouseTarget() override { return this; }
    void SetReadOnly(bool on) override { setReadOnly(on); }
    void Undo() override { Writable([&] { undo(); }); }
    bool CanUndo() const override { return isUndoAvailable(); }
    void ClearUndo() override {}
    void Cut() override { Writable([&] { cut(); }); }
    void Copy() override { copy(); }

protected:
    void paintEvent(QPaintEvent *e) override {
        PickColours(this);
        QLineEdit::paintEvent(e);
    }

private:
    template <typename F> void Writable(F f) {
        bool ro = isReadOnly();
        setReadOnly(false);
        f();
        setReadOnly(ro);
    }
};

class TextEdit : public QPlainTextEdit, public EditControl {
public:
    explicit TextEdit(QWidget *parent) : QPlainTextEdit(parent) {
        connect(document(), &QTextDocument::contentsChange, [this](int position, int removed, int added) {
            if (!removed && !added) return;
            // Text added at the end keeps the length known without a recount.
            bool atEnd = !removed && position + added == document()->characterCount() - 1;
            bool known = cachedVersion == state.version;
            ++state.version;
            if (atEnd && known) cachedTotal += BytesOfRange(position, added), cachedVersion = state.version;
            // Blocks whose text changed forget their byte count (kept in the user state).
            for (QTextBlock b = document()->findBlock(position); b.isValid() && b.position() <= position + added; b = b.next())
                b.setUserState(-1);
        });
    }
    QString Text() const override { return toPlainText(); }
    void SetText(const QString &t) override { setPlainText(t); }
    void Selection(int &start, int &end) const override {
        QTextCursor c = textCursor();
        start = c.selectionStart(), end = c.selectionEnd();
    }
    void Select(int anchor, int caret) override {
        QTextCursor c = textCursor();
        c.setPosition(anchor);
        c.setPosition(caret, QTextCursor::KeepAnchor);
        setTextCursor(c);
    }
    void Insert(const QString &t) override { Writable([&] { textCursor().insertText(t); }); }
    void Backspace() override {
        Writable([&] {
            QTextCursor c = textCursor();
            c.deletePreviousChar();
        });
    }
    void ScrollCaret() override { ensureCursorVisible(); }
    bool Multiline() const override { return true; }
    QWidget *Widget() override { return this; }
    QWidget *MouseTarget() override { return viewport(); }
    void SetReadOnly(bool on) override { setReadOnly(on); }
    void Undo() override { Writable([&] { undo(); }); }
    bool CanUndo() const override { return document()->isUndoAvailable(); }
    void ClearUndo() override { document()->clearUndoRedoStacks(); }
    void Cut() override { Writable([&] { cut(); }); }
    void Copy() override { copy(); }
    int FirstVisibleLine() const override { return firstVisibleBlock().blockNumber(); }
    long AnsiLength() const override;
    long BytesAt(int position) const override;
    int PositionAt(long bytes) const override;

private:
    long BytesOfRange(int position, int count) const;
    mutable long cachedTotal = 0;
    mutable unsigned cachedVersion = ~0u;
    void ScrollLines(int lines) override { verticalScrollBar()->setValue(verticalScrollBar()->value() + lines); }

protected:
    void paintEvent(QPaintEvent *e) override {
        PickColours(viewport());
        QPlainTextEdit::paintEvent(e);
    }

private:
    template <typename F> void Writable(F f) {
        bool ro = isReadOnly();
        setReadOnly(false);
        f();
        setReadOnly(ro);
    }
};

EditControl *EditOf(HWND hwnd) { return dynamic_cast<EditControl *>(HostOf(hwnd)); }
DWORD StyleOf(HWND hwnd) { return DWORD(GetWindowLongPtrA(hwnd, GWL_STYLE)); }

// Bytes of one character in the ANSI form of the text.
int AnsiSize(QChar c, bool multiline) {
    if (c == u'\n') return multiline ? 2 : 1;
    return c.unicode() < 0x80 ? 1 : 2;
}

int BytesBefore(const QString &text, int pos, bool multiline) {
    int bytes = 0;
    for (int i = 0; i < pos && i < text.size(); ++i) bytes += AnsiSize(text[i], multiline);
    return bytes;
}

// A byte offset inside a double-byte character or a line break goes to its start.
int PositionOfBytes(const QString &text, long bytes, bool multiline) {
    if (bytes < 0) return int(text.size());
    long at = 0;
    for (int i = 0; i < text.size(); ++i) {
        int n = AnsiSize(text[i], multiline);
        if (at + n > bytes) return i;
        at += n;
    }
    return int(text.size());
}

long EditControl::AnsiLength() const {
    QString t = Text();
    return BytesBefore(t, int(t.size()), Multiline());
}
long EditControl::BytesAt(int position) const { return BytesBefore(Text(), position, Multiline()); }
int EditControl::PositionAt(long bytes) const { return PositionOfBytes(Text(), bytes, Multiline()); }

long BlockBytes(QTextBlock block) {
    if (block.userState() >= 0) return block.userState();
    QString t = block.text();
    int n = BytesBefore(t, int(t.size()), true);
    block.setUserState(n);
    return n;
}

long TextEdit::BytesOfRange(int position, int count) const {
    QTextCursor c(document());
    c.setPosition(position);
    c.setPosition(position + count, QTextCursor::KeepAnchor);
    long bytes = 0;
    for (QChar ch : c.selectedText()) bytes += ch == QChar::ParagraphSeparator ? 2 : AnsiSize(ch, true);
    return bytes;
}

long TextEdit::AnsiLength() const {
    if (cachedVersion == state.version) return cachedTotal;
    long total = 0;
    for (QTextBlock b = document()->begin(); b.isValid(); b = b.next()) total += BlockBytes(b) + (b.next().isValid() ? 2 : 0);
    cachedTotal = total;
    cachedVersion = state.version;
    return total;
}

long TextEdit::BytesAt(int position) const {
    if (position >= document()->characterCount() - 1) return AnsiLength();
    QTextBlock target = document()->findBlock(position);
    if (!target.isValid()) return AnsiLength();
    long total = 0;
    for (QTextBlock b = document()->begin(); b.isValid() && b != target; b = b.next()) total += BlockBytes(b) + 2;
    return total + BytesBefore(target.text(), position - target.position(), true);
}

int TextEdit::PositionAt(long bytes) const {
    if (bytes < 0 || bytes >= AnsiLength()) return document()->characterCount() - 1;
    long at = 0;
    for (QTextBlock b = document()->begin(); b.isValid(); b = b.next()) {
        long size = BlockBytes(b);
        if (bytes < at + size + 2 || !b.next().isValid())
            return b.position() + PositionOfBytes(b.text(), std::max(0L, bytes - at), true);
        at += size + 2;
    }
    return 0;
}

QString FromAnsi(const char *text, bool multiline) {
    QString s = QString::fromStdU16String(GbkToUtf16(text ? text : ""));
    if (multiline) s.replace(QLatin1String("\r\n"), QLatin1String("\n")).replace(u'\r', u'\n');
    return s;
}

std::string ToAnsi(const QString &text, bool multiline) {
    QString s = text;
    if (multiline) s.replace(u'\n', QLatin1String("\r\n"));
    return Utf16ToGbk(s.toStdU16String());
}

QString ApplyCase(HWND hwnd, QString text) {
    DWORD style = StyleOf(hwnd);
    if (style & ES_UPPERCASE) return text.toUpper();
    if (style & ES_LOWERCASE) return text.toLower();
    return text;
}

// Raises EN_UPDATE and EN_CHANGE when the text changed since `before`.
void NotifyChange(EditControl *e, unsigned before) {
    if (e->state.version == before || e->state.silent) return;
    HWND hwnd = e->state.hwnd;
    NotifyParent(hwnd, EN_UPDATE);
    if (IsWindow(hwnd)) NotifyParent(hwnd, EN_CHANGE);
}

// Replaces the selection, keeping the text within the limit (EN_MAXTEXT when cut short).
bool ReplaceSelection(EditControl *e, QString text, bool honourLimit) {
    text = ApplyCase(e->state.hwnd, text);
    if (!e->Multiline()) text.replace(QLatin1String("\n"), QString());
    if (honourLimit) {
        int s, t;
        e->Selection(s, t);
        long used = e->AnsiLength() - (e->BytesAt(t) - e->BytesAt(s));
        long room = long(e->state.limit) - used;
        long need = BytesBefore(text, int(text.size()), e->Multiline());
        if (need > room) {
            text = text.left(PositionOfBytes(text, std::max(0L, room), e->Multiline()));
            NotifyParent(e->state.hwnd, EN_MAXTEXT);
            if (text.isEmpty()) return false;
        }
    }
    unsigned before = e->state.version;
    e->Insert(text);
    e->state.modified = true;
    e->ScrollCaret();
    NotifyChange(e, before);
    return true;
}

void TypeCharacter(EditControl *e, QChar c) {
    HWND hwnd = e->state.hwnd;
    DWORD style = StyleOf(hwnd);
    if (style & ES_READONLY) {
        MessageBeep(0);
        return;
    }
    if ((style & ES_NUMBER) && !c.isDigit()) {
        MessageBeep(0);
        return;
    }
    ReplaceSelection(e, QString(c), true);
}

void Paste(EditControl *e) {
    if (StyleOf(e->state.hwnd) & ES_READONLY) return;
    QString text = QApplication::clipboard()->text();
    // Only what the ANSI code page holds can be pasted.
    ReplaceSelection(e, FromAnsi(ToAnsi(text, false).c_str(), e->Multiline()), true);
}

void ControlCharacter(EditControl *e, BYTE c) {
    HWND hwnd = e->state.hwnd;
    DWORD style = StyleOf(hwnd);
    bool readOnly = style & ES_READONLY;
    unsigned before = e->state.version;
    switch (c) {
    case '\b':
        if (!readOnly) {
            e->Backspace();
            e->state.modified = true;
            NotifyChange(e, before);
        }
        break;
    case '\r':
    case '\n':
        if (e->Multiline() && !readOnly) ReplaceSelection(e, QStringLiteral("\n"), true);
        break;
    case '\t':
        if (e->Multiline() && !readOnly) ReplaceSelection(e, QStringLiteral("\t"), true);
        break;
    case 0x01: e->Select(0, int(e->Text().size())); break;
    case 0x03: SendMessageA(hwnd, WM_COPY, 0, 0); break;
    case 0x16: SendMessageA(hwnd, WM_PASTE, 0, 0); break;
    case 0x18: SendMessageA(hwnd, WM_CUT, 0, 0); break;
    case 0x1A: SendMessageA(hwnd, WM_UNDO, 0, 0); break;
    default: break;
    }
}

LRESULT OnChar(EditControl *e, WPARAM wp) {
    BYTE b = BYTE(wp);
    if (e->state.leadByte >= 0) {
        char pair[3] = {char(e->state.leadByte), char(b), 0};
        e->state.leadByte = -1;
        QString s = QString::fromStdU16String(GbkToUtf16(pair));
        if (!s.isEmpty()) TypeCharacter(e, s[0]);
        return 0;
    }
    if (b >= 0x81 && b <= 0xFE) {
        e->state.leadByte = b;
        return 0;
    }
    if (b < 0x20 || b == 0x7F) ControlCharacter(e, b);
    else TypeCharacter(e, QChar(b));
    return 0;
}

bool IsEditingKey(WPARAM vk) {
    switch (vk) {
    case VK_LEFT: case VK_RIGHT: case VK_UP: case VK_DOWN: case VK_HOME: case VK_END:
    case VK_PRIOR: case VK_NEXT: case VK_DELETE: case VK_INSERT: return true;
    default: return false;
    }
}

LRESULT OnKeyDown(EditControl *e, WPARAM vk) {
    if (!IsEditingKey(vk)) return 0;
    DWORD style = StyleOf(e->state.hwnd);
    if ((style & ES_READONLY) && vk == VK_DELETE) return 0;
    if (vk == VK_INSERT && GetKeyState(VK_SHIFT) < 0) {
        Paste(e);
        return 0;
    }
    unsigned before = e->state.version;
    ReplayKeyDown(e->Widget(), vk);
    if (e->state.version != before) e->state.modified = true;
    NotifyChange(e, before);
    return 0;
}

LRESULT GetSel(EditControl *e, WPARAM wp, LPARAM lp) {
    int s, t;
    e->Selection(s, t);
    DWORD start = DWORD(e->BytesAt(s));
    DWORD end = s == t ? start : DWORD(e->BytesAt(t));
    if (wp) *reinterpret_cast<DWORD *>(wp) = start;
    if (lp) *reinterpret_cast<DWORD *>(lp) = end;
    return (start > 0xFFFF || end > 0xFFFF) ? -1 : MAKELONG(start, end);
}

void SetSel(EditControl *e, WPARAM wp, LPARAM lp) {
    long start = long(int(wp)), end = long(int(lp));
    if (start == -1) {
        int s, t;
        e->Selection(s, t);
        e->Select(t, t);
        return;
    }
    int anchor = e->PositionAt(start);
    int caret = end == start ? anchor : e->PositionAt(end);
    e->Select(anchor, caret);
}

LRESULT SetText(EditControl *e, LPARAM lp) {
    unsigned before = e->state.version;
    QString text = ApplyCase(e->state.hwnd, FromAnsi(reinterpret_cast<const char *>(lp), e->Multiline()));
    // A multi-line box raises no EN_CHANGE for WM_SETTEXT, as in Win32.
    if (e->Multiline()) ++e->state.silent;
    e->SetText(text);
    if (e->Multiline()) --e->state.silent;
    e->Select(0, 0);
    e->state.modified = false;
    e->ClearUndo();
    if (!e->Multiline()) NotifyChange(e, before);
    return TRUE;
}

LRESULT GetText(EditControl *e, WPARAM size, LPARAM out) {
    if (!size || !out) return 0;
    std::string text = ToAnsi(e->Text(), e->Multiline());
    size_t n = std::min(text.size(), size_t(size) - 1);
    // Never end inside a double-byte character.
    size_t i = 0;
    while (i < n) i += (BYTE(text[i]) >= 0x81 && i + 1 < text.size()) ? 2 : 1;
    if (i > n) n -= 1;
    std::memcpy(reinterpret_cast<char *>(out), text.data(), n);
    reinterpret_cast<char *>(out)[n] = '\0';
    return LRESULT(n);
}

// Lines of the ANSI text, as byte offsets of their starts.
std::vector<long> LineStarts(EditControl *e) {
    std::vector<long> starts{0};
    if (!e->Multiline()) return starts;
    QString text = e->Text();
    long at = 0;
    for (QChar c : text) {
        at += AnsiSize(c, true);
        if (c == u'\n') starts.push_back(at);
    }
    return starts;
}

long TextBytes(EditControl *e) { return e->AnsiLength(); }

long LineOf(const std::vector<long> &starts, long offset) {
    long line = 0;
    for (size_t i = 0; i < starts.size(); ++i)
        if (starts[i] <= offset) line = long(i);
    return line;
}

long LineLength(EditControl *e, const std::vector<long> &starts, long line) {
    long end = line + 1 < long(starts.size()) ? starts[size_t(line + 1)] - 2 : TextBytes(e);
    return end - starts[size_t(line)];
}

LRESULT LineMessage(EditControl *e, UINT msg, WPARAM wp, LPARAM lp) {
    std::vector<long> starts = LineStarts(e);
    int s, t;
    e->Selection(s, t);
    long caret = e->BytesAt(s);
    switch (msg) {
    case EM_GETLINECOUNT: return LRESULT(starts.size());
    case EM_LINEINDEX: {
        long line = int(wp) == -1 ? LineOf(starts, caret) : long(wp);
        return line < long(starts.size()) ? starts[size_t(line)] : -1;
    }
    case EM_LINEFROMCHAR: return LineOf(starts, int(wp) == -1 ? caret : long(wp));
    case EM_LINELENGTH: return LineLength(e, starts, LineOf(starts, int(wp) == -1 ? caret : long(wp)));
    case EM_GETLINE: {
        if (long(wp) >= long(starts.size()) || !lp) return 0;
        std::string text = ToAnsi(e->Text(), e->Multiline());
        long len = LineLength(e, starts, long(wp));
        WORD room = *reinterpret_cast<WORD *>(lp);
        long n = std::min<long>(len, room);
        std::memcpy(reinterpret_cast<char *>(lp), text.data() + starts[size_t(wp)], size_t(n));
        return n;
    }
    default: return 0;
    }
}

void ConfigureFromStyle(EditControl *e, DWORD style, DWORD exStyle) {
    bool framed = (style & WS_BORDER) || (exStyle & (WS_EX_CLIENTEDGE | WS_EX_STATICEDGE | WS_EX_DLGMODALFRAME));
    Qt::Alignment align = (style & ES_CENTER) ? Qt::AlignHCenter : (style & ES_RIGHT) ? Qt::AlignRight : Qt::AlignLeft;
    e->SetReadOnly(style & ES_READONLY);
    if (auto *line = dynamic_cast<LineEdit *>(e)) {
        line->setFrame(framed);
        line->setAlignment(align | Qt::AlignVCenter);
        if (style & ES_PASSWORD) {
            if (!e->state.passwordChar) e->state.passwordChar = '*';
            line->setEchoMode(QLineEdit::Password);
            line->setStyleSheet(QStringLiteral("QLineEdit { lineedit-password-character: %1; }").arg(int(BYTE(e->state.passwordChar))));
        }
    } else if (auto *text = dynamic_cast<TextEdit *>(e)) {
        text->setFrameShape(framed ? QFrame::StyledPanel : QFrame::NoFrame);
        text->setVerticalScrollBarPolicy((style & WS_VSCROLL) ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAlwaysOff);
        text->setHorizontalScrollBarPolicy((style & WS_HSCROLL) ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAlwaysOff);
        bool wrap = !(style & (ES_AUTOHSCROLL | WS_HSCROLL));
        text->setLineWrapMode(wrap ? QPlainTextEdit::WidgetWidth : QPlainTextEdit::NoWrap);
        QTextOption option = text->document()->defaultTextOption();
        option.setAlignment(align);
        text->document()->setDefaultTextOption(option);
        text->setTabChangesFocus(false);
    }
    // Without ES_NOHIDESEL the selection is not shown while the box has no focus.
    QPalette p = e->Widget()->palette();
    if (!(style & ES_NOHIDESEL)) {
        p.setColor(QPalette::Inactive, QPalette::Highlight, p.color(QPalette::Inactive, QPalette::Base));
        p.setColor(QPalette::Inactive, QPalette::HighlightedText, p.color(QPalette::Inactive, QPalette::Text));
    }
    e->Widget()->setPalette(p);
}

void SetPasswordChar(EditControl *e, WPARAM ch) {
    auto *line = dynamic_cast<LineEdit *>(e);
    if (!line) return;
    auto r = FindWindowRecord(e->state.hwnd);
    e->state.passwordChar = char(ch);
    if (ch) {
        r->style |= ES_PASSWORD;
        line->setEchoMode(QLineEdit::Password);
        line->setStyleSheet(QStringLiteral("QLineEdit { lineedit-password-character: %1; }").arg(int(BYTE(ch))));
    } else {
        r->style &= ~DWORD(ES_PASSWORD);
        line->setEchoMode(QLineEdit::Normal);
    }
}

LRESULT EditMessage(EditControl *e, HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
    case WM_CREATE: {
        auto *cs = reinterpret_cast<CREATESTRUCTA *>(lp);
        if (cs && cs->lpszName && !IS_INTRESOURCE(cs->lpszName)) {
            ++e->state.silent;
            e->SetText(ApplyCase(hwnd, FromAnsi(cs->lpszName, e->Multiline())));
            --e->state.silent;
            e->ClearUndo();
        }
        return 0;
    }
    case WM_CHAR: return OnChar(e, wp);
    case WM_KEYDOWN: return OnKeyDown(e, wp);
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
        if (GetFocus() != hwnd) SetFocus(hwnd);
        ReplayMouse(hwnd, e->MouseTarget(), msg, wp, lp);
        return 0;
    case WM_LBUTTONUP:
    case WM_MOUSEMOVE: ReplayMouse(hwnd, e->MouseTarget(), msg, wp, lp); return 0;
    case WM_MOUSEWHEEL:
        if (e->Multiline()) ReplayMouse(hwnd, e->MouseTarget(), msg, wp, lp);
        return 0;
    case WM_SETFOCUS: NotifyParent(hwnd, EN_SETFOCUS); return 0;
    case WM_KILLFOCUS: NotifyParent(hwnd, EN_KILLFOCUS); return 0;
    case WM_SETTEXT: return SetText(e, lp);
    case WM_GETTEXT: return GetText(e, wp, lp);
    case WM_GETTEXTLENGTH: return TextBytes(e);
    case WM_GETDLGCODE: {
        LRESULT code = DLGC_HASSETSEL | DLGC_WANTCHARS | DLGC_WANTARROWS;
        if (e->Multiline()) code |= DLGC_WANTALLKEYS;
        return code;
    }
    case EM_GETSEL: return GetSel(e, wp, lp);
    case EM_SETSEL: SetSel(e, wp, lp); return 0;
    case EM_REPLACESEL: ReplaceSelection(e, FromAnsi(reinterpret_cast<const char *>(lp), e->Multiline()), true); return 0;
    case EM_SCROLLCARET: e->ScrollCaret(); return TRUE;
    case EM_LIMITTEXT: e->state.limit = wp ? DWORD(wp) : kSystemLimit; return 0;
    case EM_GETLIMITTEXT: return e->state.limit;
    case EM_SETPASSWORDCHAR: SetPasswordChar(e, wp); return 0;
    case EM_GETPASSWORDCHAR: return BYTE(e->state.passwordChar);
    case EM_SETREADONLY: {
        auto r = FindWindowRecord(hwnd);
        if (wp) r->style |= ES_READONLY;
        else r->style &= ~DWORD(ES_READONLY);
        e->SetReadOnly(wp != 0);
        e->Widget()->update();
        return TRUE;
    }
    case EM_GETMODIFY: return e->state.modified;
    case EM_SETMODIFY: e->state.modified = wp != 0; return 0;
    case EM_CANUNDO: return e->CanUndo();
    case EM_UNDO:
    case WM_UNDO: {
        unsigned before = e->state.version;
        e->Undo();
        NotifyChange(e, before);
        return TRUE;
    }
    case EM_EMPTYUNDOBUFFER: e->ClearUndo(); return 0;
    case WM_COPY: e->Copy(); return 0;
    case WM_CUT:
    case WM_CLEAR: {
        if (StyleOf(hwnd) & ES_READONLY) return 0;
        unsigned before = e->state.version;
        if (msg == WM_CUT) e->Cut();
        else e->Insert(QString());
        NotifyChange(e, before);
        return 0;
    }
    case WM_PASTE: Paste(e); return 0;
    case WM_CONTEXTMENU: ShowEditContextMenu(hwnd, lp); return 0;
    case EM_GETLINECOUNT:
    case EM_LINEINDEX:
    case EM_LINELENGTH:
    case EM_LINEFROMCHAR:
    case EM_GETLINE: return LineMessage(e, msg, wp, lp);
    case EM_GETFIRSTVISIBLELINE: return e->FirstVisibleLine();
    case EM_LINESCROLL: e->ScrollLines(int(lp)); return TRUE;
    case EM_SCROLL:
        if (wp == SB_LINEDOWN || wp == SB_LINEUP) e->ScrollLines(wp == SB_LINEDOWN ? 1 : -1);
        else if (wp == SB_PAGEDOWN || wp == SB_PAGEUP) e->ScrollLines(wp == SB_PAGEDOWN ? 10 : -10);
        return TRUE;
    case WM_STYLECHANGED:
        if (wp == WPARAM(LONG_PTR(GWL_STYLE)) || wp == WPARAM(LONG_PTR(GWL_EXSTYLE)))
            ConfigureFromStyle(e, StyleOf(hwnd), DWORD(GetWindowLongPtrA(hwnd, GWL_EXSTYLE)));
        return 0;
    default: {
        LRESULT result;
        if (CommonControlMessage(hwnd, msg, wp, lp, result)) return result;
        return DefWindowProcA(hwnd, msg, wp, lp);
    }
    }
}

} // namespace

QWidget *MakeEditWidget(HWND hwnd, QWidget *parent) {
    auto r = FindWindowRecord(hwnd);
    EditControl *e = (r->style & ES_MULTILINE) ? static_cast<EditControl *>(new TextEdit(parent))
                                                : static_cast<EditControl *>(new LineEdit(parent));
    e->state.hwnd = hwnd;
    // Only the upper or the lower case style, and no password in a multi-line box.
    if ((r->style & ES_UPPERCASE) && (r->style & ES_LOWERCASE)) r->style &= ~DWORD(ES_LOWERCASE);
    if (r->style & ES_MULTILINE) r->style &= ~DWORD(ES_PASSWORD);
    ConfigureFromStyle(e, r->style, r->exStyle);
    e->Widget()->setFont(FontOfHandle(nullptr));
    return e->Widget();
}

LRESULT CALLBACK EditProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    EditControl *e = EditOf(hwnd);
    if (!e) return DefWindowProcA(hwnd, msg, wp, lp);
    return EditMessage(e, hwnd, msg, wp, lp);
}

} // namespace platform
