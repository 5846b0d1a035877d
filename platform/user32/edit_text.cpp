// The EDIT's text in ANSI form: GBK bytes, "\r\n" line breaks, lone "\r" and "\n"
// of a multi-line box kept as written.
#include "edit_control.h"

#include "host_text.h"

namespace platform::edit {

DWORD StyleOf(HWND hwnd) { return DWORD(GetWindowLongPtrA(hwnd, GWL_STYLE)); }

// Bytes of one character in the ANSI form of the text.
int AnsiSize(QChar c, bool multiline) {
    if (c == u'\n') return multiline ? 2 : 1;
    if (c == QChar(kLoneCr) || c == QChar(kLoneLf)) return 1;
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

QString FromAnsi(const char *text, bool multiline) {
    QString s = QString::fromStdU16String(GbkToUtf16(text ? text : ""));
    if (!multiline) return s;
    QString out;
    out.reserve(s.size());
    for (qsizetype i = 0; i < s.size(); ++i) {
        bool pair = s[i] == u'\r' && i + 1 < s.size() && s[i + 1] == u'\n';
        if (pair) ++i;
        out.append(pair ? QChar(u'\n') : s[i] == u'\r' ? QChar(kLoneCr) : s[i] == u'\n' ? QChar(kLoneLf) : s[i]);
    }
    return out;
}

QString WindowsText(const QString &text, bool multiline) {
    QString s = text;
    if (multiline) s.replace(u'\n', QLatin1String("\r\n")).replace(QChar(kLoneCr), u'\r').replace(QChar(kLoneLf), u'\n');
    return s;
}

std::string ToAnsi(const QString &text, bool multiline) { return Utf16ToGbk(WindowsText(text, multiline).toStdU16String()); }

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

} // namespace platform::edit
