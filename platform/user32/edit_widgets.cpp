// The Qt widgets that draw the EDIT and take its input: QLineEdit for a single line,
// QPlainTextEdit for many.
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QTextBlock>

#include <climits>

#include "control_support.h"
#include "edit_control.h"
#include "gdi_object.h"
#include "window_host.h"
#include "window_registry.h"

namespace platform::edit {
namespace {

// A read-only box still takes changes made by messages; only the user's typing is refused.
template <typename Widget, typename F> void Writable(Widget *w, F f) {
    bool ro = w->isReadOnly();
    w->setReadOnly(false);
    f();
    w->setReadOnly(ro);
}

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
    void Insert(const QString &t) override { Writable(this, [&] { insert(t); }); }
    void Backspace() override { Writable(this, [&] { backspace(); }); }
    void ScrollCaret() override {}
    bool Multiline() const override { return false; }
    QWidget *Widget() override { return this; }
    QWidget *MouseTarget() override { return this; }
    void SetReadOnly(bool on) override { setReadOnly(on); }
    void Undo() override { Writable(this, [&] { undo(); }); }
    void Redo() override { Writable(this, [&] { redo(); }); }
    bool CanUndo() const override { return isUndoAvailable(); }
    bool CanRedo() const override { return isRedoAvailable(); }
    // The line widget forgets its undo history only when its text is set.
    void ClearUndo() override {
        int anchor = hasSelectedText() && cursorPosition() == selectionStart() ? selectionEnd() : selectionStart();
        int caret = cursorPosition();
        bool selected = hasSelectedText();
        setText(text());
        if (selected) setSelection(anchor, caret - anchor);
        else setCursorPosition(caret);
    }
    QPoint PointOf(int position) override {
        QFontMetrics fm(font());
        QString shown = displayText();
        int caretX = cursorRect().left() + 5; // the caret rectangle is 10 wide about the caret
        int x = caretX - fm.horizontalAdvance(shown.left(cursorPosition())) + fm.horizontalAdvance(shown.left(position));
        return QPoint(x, cursorRect().top());
    }
    int PositionOfPoint(QPoint p) override { return cursorPositionAt(p); }
    void ApplyMargins(int left, int top, int right, int bottom) override { setTextMargins(left, top, right, bottom); }

protected:
    void paintEvent(QPaintEvent *e) override {
        PickColours(this);
        QLineEdit::paintEvent(e);
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
        if (c.anchor() == anchor && c.position() == caret) return;
        c.setPosition(anchor);
        c.setPosition(caret, QTextCursor::KeepAnchor);
        setTextCursor(c);
    }
    // A cursor edits the document whether or not the widget is read-only.
    void Insert(const QString &t) override { textCursor().insertText(t); }
    void Backspace() override { textCursor().deletePreviousChar(); }
    void ScrollCaret() override { ensureCursorVisible(); }
    bool Multiline() const override { return true; }
    QWidget *Widget() override { return this; }
    QWidget *MouseTarget() override { return viewport(); }
    void SetReadOnly(bool on) override { setReadOnly(on); }
    void Undo() override { Writable(this, [&] { undo(); }); }
    void Redo() override { Writable(this, [&] { redo(); }); }
    bool CanUndo() const override { return document()->isUndoAvailable(); }
    bool CanRedo() const override { return document()->isRedoAvailable(); }
    QPoint PointOf(int position) override {
        QTextCursor c(document());
        c.setPosition(position);
        return cursorRect(c).topLeft() + viewport()->pos();
    }
    int PositionOfPoint(QPoint p) override { return cursorForPosition(p - viewport()->pos()).position(); }
    void ApplyMargins(int left, int top, int right, int bottom) override { setViewportMargins(left, top, right, bottom); }
    void ClearUndo() override { document()->clearUndoRedoStacks(); }
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

};

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

} // namespace

void EditControl::PickColours(QWidget *w) {
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

EditControl *EditOf(HWND hwnd) { return dynamic_cast<EditControl *>(HostOf(hwnd)); }

void ConfigureFromStyle(EditControl *e, DWORD style, DWORD exStyle) {
    bool framed = e->state.border || (exStyle & (WS_EX_CLIENTEDGE | WS_EX_STATICEDGE | WS_EX_DLGMODALFRAME));
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

} // namespace platform::edit

namespace platform {

QWidget *MakeEditWidget(HWND hwnd, QWidget *parent) {
    auto r = FindWindowRecord(hwnd);
    edit::EditControl *e = (r->style & ES_MULTILINE) ? static_cast<edit::EditControl *>(new edit::TextEdit(parent))
                                                      : static_cast<edit::EditControl *>(new edit::LineEdit(parent));
    e->state.hwnd = hwnd;
    // The box draws its border itself, inside its client area; beside a client edge, or
    // as part of a caption, a border is the window's, outside the client area.
    bool windowsOwn = (r->exStyle & WS_EX_CLIENTEDGE) || (r->style & WS_CAPTION) == WS_CAPTION;
    e->state.border = (r->style & WS_BORDER) && !windowsOwn;
    if (e->state.border) r->style &= ~DWORD(WS_BORDER);
    // Only the upper or the lower case style, and no password in a multi-line box.
    if ((r->style & ES_UPPERCASE) && (r->style & ES_LOWERCASE)) r->style &= ~DWORD(ES_LOWERCASE);
    if (r->style & ES_MULTILINE) r->style &= ~DWORD(ES_PASSWORD);
    edit::ConfigureFromStyle(e, r->style, r->exStyle);
    e->Widget()->setFont(SystemFont());
    return e->Widget();
}

} // namespace platform
