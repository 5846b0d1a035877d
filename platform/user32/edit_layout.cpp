// The EDIT's layout: formatting rectangle, margins, what fits without automatic
// scrolling, character positions, scrolling and word selection.
#include <QFontMetrics>
#include <QTextLayout>
#include <QWidget>

#include <algorithm>

#include "edit_control.h"
#include "window_host.h"
#include "window_registry.h"

namespace platform::edit {

int LineHeight(EditControl *e) { return QFontMetrics(e->Widget()->font()).height(); }

// The gap between the client edge and the text: the border drawn inside, or the
// one-pixel gap inside a client edge.
int Inset(EditControl *e) {
    if (e->state.border) return GetSystemMetrics(SM_CYBORDER) + 1;
    return (GetWindowLongPtrA(e->state.hwnd, GWL_EXSTYLE) & WS_EX_CLIENTEDGE) ? 1 : 0;
}

// The formatting rectangle: the client area less the inset and the margins, as high as
// whole lines (a single line box: one line, or less when the box is lower).
RECT FormatRect(EditControl *e) {
    if (e->state.formatSet) return e->state.formatRect;
    RECT c{};
    GetClientRect(e->state.hwnd, &c);
    int b = Inset(e), h = LineHeight(e);
    RECT r{c.left + b + e->state.leftMarginPixels, 0, c.right - b - e->state.rightMarginPixels, 0};
    r.top = c.bottom >= h + 2 * b ? b : 0;
    if (e->Multiline()) r.bottom = r.top + std::max(1, int(c.bottom - 2 * r.top) / h) * h;
    else r.bottom = r.top + std::min<LONG>(h, c.bottom - r.top);
    return r;
}

// The formatting rectangle as margins of the widget's text area.
void ApplyFormat(EditControl *e) {
    RECT c{};
    GetClientRect(e->state.hwnd, &c);
    RECT r = FormatRect(e);
    int b = Inset(e);
    int left = std::max<LONG>(0, r.left - b), right = std::max<LONG>(0, c.right - b - r.right);
    bool vertical = e->Multiline() && e->state.formatSet;
    int top = vertical ? std::max<LONG>(0, r.top - b) : 0, bottom = vertical ? std::max<LONG>(0, c.bottom - b - r.bottom) : 0;
    e->ApplyMargins(left, top, right, bottom);
}

// The text after `text` replaces the selection.
QString TextWith(EditControl *e, const QString &text) {
    int s, t;
    e->Selection(s, t);
    QString all = e->Text();
    return all.left(s) + text + all.mid(t);
}

int LinesNeeded(EditControl *e, const QString &all, int width) {
    bool wrap = !(StyleOf(e->state.hwnd) & (ES_AUTOHSCROLL | WS_HSCROLL));
    int lines = 0;
    for (const QString &paragraph : all.split(u'\n')) {
        if (!wrap) {
            ++lines;
            continue;
        }
        QTextLayout layout(paragraph, e->Widget()->font());
        layout.beginLayout();
        for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) line.setLineWidth(width), ++lines;
        layout.endLayout();
        lines += paragraph.isEmpty() && layout.lineCount() == 0;
    }
    return lines;
}

// Without automatic scrolling Win32 takes only what fits: a single line box as many
// characters as fit its width, a multi-line box all of the text or none of it.
bool FitsBox(EditControl *e, QString &text) {
    DWORD style = StyleOf(e->state.hwnd);
    if (e->Multiline() ? (style & (ES_AUTOVSCROLL | WS_VSCROLL)) : (style & (ES_AUTOHSCROLL | WS_HSCROLL))) return true;
    RECT r = FormatRect(e);
    if (e->Multiline()) {
        if (LinesNeeded(e, TextWith(e, text), r.right - r.left) * LineHeight(e) <= r.bottom - r.top) return true;
        text.clear();
        return false;
    }
    QFontMetrics fm(e->Widget()->font());
    int cut = int(text.size());
    while (cut > 0 && fm.horizontalAdvance(TextWith(e, text.left(cut))) > r.right - r.left) --cut;
    if (cut == text.size()) return true;
    text = text.left(cut);
    return false;
}

LRESULT SetMargins(EditControl *e, WPARAM which, LPARAM lp) {
    // Win32 takes the font's overhang from its ABC widths, which Qt does not give; half an
    // average character is close for the fonts the boxes use.
    int fontMargin = QFontMetrics(e->Widget()->font()).averageCharWidth() / 2;
    auto pick = [&](WORD v) { return v == EC_USEFONTINFO ? fontMargin : int(v); };
    int left = (which & EC_LEFTMARGIN) ? pick(LOWORD(lp)) : e->state.leftMarginPixels;
    int right = (which & EC_RIGHTMARGIN) ? pick(HIWORD(lp)) : e->state.rightMarginPixels;
    // A rectangle set by EM_SETRECT moves with the change of the margins.
    if (e->state.formatSet) e->state.formatRect.left += left - e->state.leftMarginPixels, e->state.formatRect.right -= right - e->state.rightMarginPixels;
    e->state.leftMarginPixels = left, e->state.rightMarginPixels = right;
    ApplyFormat(e);
    return 0;
}

LRESULT SetRect(EditControl *e, LPARAM lp) {
    e->state.formatSet = lp != 0;
    if (lp) e->state.formatRect = *reinterpret_cast<const RECT *>(lp);
    ApplyFormat(e);
    return 0;
}

POINT ClientOrigin(EditControl *e) {
    auto r = FindWindowRecord(e->state.hwnd);
    return r ? ClientOriginInWidget(*r) : POINT{0, 0};
}

LRESULT PosFromChar(EditControl *e, WPARAM index) {
    if (LONG(index) < 0 || long(index) >= e->AnsiLength()) return -1;
    QPoint p = e->PointOf(e->PositionAt(long(index)));
    POINT o = ClientOrigin(e);
    return MAKELONG(WORD(p.x() - o.x), WORD(p.y() - o.y));
}

// A point left of a character's middle belongs to it, from its middle on to the next
// character of the same line.
int PositionOf(EditControl *e, QPoint p) {
    int n = int(e->Text().size()), at = e->PositionOfPoint(p);
    auto sameLine = [&](int i) { return e->PointOf(i).y() == e->PointOf(i + 1).y(); };
    auto middle = [&](int i) { return (e->PointOf(i).x() + e->PointOf(i + 1).x()) / 2; };
    while (at > 0 && sameLine(at - 1) && p.x() < middle(at - 1)) --at;
    while (at < n && sameLine(at) && p.x() >= middle(at)) ++at;
    return at;
}

LRESULT CharFromPos(EditControl *e, LPARAM lp) {
    POINT o = ClientOrigin(e);
    QPoint p(GET_X_LPARAM(lp) + o.x, GET_Y_LPARAM(lp) + o.y);
    int position = PositionOf(e, p);
    long bytes = e->BytesAt(position);
    return MAKELONG(WORD(bytes), WORD(LineOf(LineStarts(e), bytes)));
}

// Lines the formatting rectangle shows whole, at least one.
int VisibleLines(EditControl *e) {
    RECT r = FormatRect(e);
    return std::max(1, int(r.bottom - r.top) / std::max(1, LineHeight(e)));
}

// EM_SCROLL: TRUE in the high word and the lines moved in the low word; FALSE when
// nothing moved, and always in a single line box. The last line goes no higher than
// the bottom of the box, so a text that fits does not scroll.
LRESULT Scroll(EditControl *e, WPARAM how) {
    if (!e->Multiline()) return FALSE;
    int page = VisibleLines(e), before = e->FirstVisibleLine();
    int step = how == SB_LINEDOWN ? 1 : how == SB_LINEUP ? -1 : how == SB_PAGEDOWN ? page : how == SB_PAGEUP ? -page : 0;
    int last = std::max(0, int(LineStarts(e).size()) - page);
    e->ScrollLines(std::clamp(before + step, 0, std::max(before, last)) - before);
    int moved = e->FirstVisibleLine() - before;
    return moved ? MAKELONG(WORD(moved), TRUE) : FALSE;
}

bool IsWordBreak(QChar c) { return c == u' ' || c == u'\t' || c == u'\n' || c == QChar(kLoneCr) || c == QChar(kLoneLf); }

// A double-click selects the word under it with the blanks that follow it.
LRESULT SelectWordAt(EditControl *e, HWND hwnd, LPARAM lp) {
    if (GetFocus() != hwnd) SetFocus(hwnd);
    POINT o = ClientOrigin(e);
    QPoint p(GET_X_LPARAM(lp) + o.x, GET_Y_LPARAM(lp) + o.y);
    int at = PositionOf(e, p);
    QString text = e->Text();
    int start = at, end = at;
    while (start > 0 && !IsWordBreak(text[start - 1])) --start;
    while (end < text.size() && !IsWordBreak(text[end])) ++end;
    while (end < text.size() && (text[end] == u' ' || text[end] == u'\t')) ++end;
    e->Select(start, end);
    return 0;
}

} // namespace platform::edit
