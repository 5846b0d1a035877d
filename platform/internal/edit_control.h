// The EDIT control's parts: its state, the widget behind it, and the helpers its
// message handlers share (ANSI text, layout, widgets).
#pragma once

#include <QPoint>
#include <QString>

#include <string>
#include <vector>

#include "windows.h"

class QWidget;

namespace platform::edit {

constexpr DWORD kDefaultLimit = 30000;
constexpr DWORD kSingleLineMaximum = 0x7FFFFFFE;
constexpr DWORD kMultiLineMaximum = 0xFFFFFFFF;
// A multi-line box keeps a lone "\r" or "\n" as written; the widget would take either as
// a line break, so they are held as two noncharacters that no code page maps (and that
// the text document, unlike U+FDD0 and U+FDD1, does not use for frames).
constexpr char16_t kLoneCr = 0xFDE0;
constexpr char16_t kLoneLf = 0xFDE1;

struct EditData {
    HWND hwnd = nullptr;
    DWORD limitBytes = kDefaultLimit; // ANSI bytes the text may hold
    char passwordChar = 0;
    int leadByte = -1;       // the first byte of a double-byte character typed in two WM_CHARs
    bool modified = false;
    unsigned version = 0;    // counts changes of the text
    int silent = 0;          // changes made while this is set raise no EN_CHANGE
    unsigned undoneAt = ~0u; // the version an undo left; undoing again then redoes
    HWND notifyTo = nullptr; // the parent given at creation
    bool dialogMode = false; // set by WM_GETDLGCODE with a message, as dialogs send it
    bool destroyed = false;  // after WM_NCDESTROY the box holds no text
    bool border = false;     // WS_BORDER, drawn inside the client area
    int leftMarginPixels = 0, rightMarginPixels = 0;
    bool formatSet = false;  // EM_SETRECT gave the formatting rectangle
    RECT formatRect{};       // in client pixels, when formatSet
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
    virtual void Redo() = 0;
    virtual bool CanUndo() const = 0;
    virtual bool CanRedo() const = 0;
    virtual QPoint PointOf(int position) = 0;  // widget coordinates of the character's top left
    virtual int PositionOfPoint(QPoint p) = 0; // from widget coordinates
    virtual void ApplyMargins(int left, int top, int right, int bottom) = 0;
    virtual void ClearUndo() = 0;
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
    void PickColours(QWidget *w);
};

DWORD StyleOf(HWND hwnd);
EditControl *EditOf(HWND hwnd);

// ANSI text (edit_text.cpp)
int AnsiSize(QChar c, bool multiline);
int BytesBefore(const QString &text, int pos, bool multiline);
int PositionOfBytes(const QString &text, long bytes, bool multiline);
QString FromAnsi(const char *text, bool multiline);
std::string ToAnsi(const QString &text, bool multiline);
QString WindowsText(const QString &text, bool multiline); // line breaks as the box holds them
std::vector<long> LineStarts(EditControl *e);
long LineOf(const std::vector<long> &starts, long offset);
long LineLength(EditControl *e, const std::vector<long> &starts, long line);
long TextBytes(EditControl *e);

// Layout and positions (edit_layout.cpp)
int LineHeight(EditControl *e);
int Inset(EditControl *e);
void ApplyFormat(EditControl *e);
RECT FormatRect(EditControl *e);
bool FitsBox(EditControl *e, QString &text);
LRESULT SetMargins(EditControl *e, WPARAM which, LPARAM lp);
LRESULT SetRect(EditControl *e, LPARAM lp);
LRESULT PosFromChar(EditControl *e, WPARAM index);
LRESULT CharFromPos(EditControl *e, LPARAM lp);
LRESULT Scroll(EditControl *e, WPARAM how);
LRESULT SelectWordAt(EditControl *e, HWND hwnd, LPARAM lp);

// The Qt widgets (edit_widgets.cpp)
void ConfigureFromStyle(EditControl *e, DWORD style, DWORD exStyle);
void SetPasswordChar(EditControl *e, WPARAM ch);

} // namespace platform::edit
