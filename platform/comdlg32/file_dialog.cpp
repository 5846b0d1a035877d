// GetOpenFileNameA and GetSaveFileNameA over QFileDialog, or answered by the hook.
#include <QFileDialog>

#include <cstdlib>
#include <cstring>

#include <strings.h>

#include "dialog_hook.h"
#include "dos_path.h"
#include "host_text.h"
#include "qt_host.h"
#include "window_host.h"
#include "windows.h"

namespace platform {

DWORD &DialogError() {
    static thread_local DWORD error = 0;
    return error;
}

namespace {

FileDialogHook &FileHook() {
    static FileDialogHook hook;
    return hook;
}

// The size of the structure without the fields that later systems added.
constexpr DWORD kShortOpenFileNameSize = offsetof(OPENFILENAMEA, pvReserved);

std::string Text(LPCSTR s) { return s && !IS_INTRESOURCE(s) ? s : ""; }

FileDialogRequest RequestOf(const OPENFILENAMEA &ofn, bool save) {
    FileDialogRequest r;
    r.save = save;
    r.title = Text(ofn.lpstrTitle);
    r.initialDir = Text(ofn.lpstrInitialDir);
    r.initialName = ofn.lpstrFile ? std::string(ofn.lpstrFile, strnlen(ofn.lpstrFile, ofn.nMaxFile)) : "";
    r.defaultExt = Text(ofn.lpstrDefExt);
    for (const char *p = ofn.lpstrFilter; p && *p;) {
        std::string description = p;
        p += description.size() + 1;
        std::string pattern = p;
        p += pattern.size() + 1;
        r.filters.emplace_back(description, pattern);
    }
    r.filterIndex = r.filters.empty() ? 0 : std::max<DWORD>(1, std::min<DWORD>(ofn.nFilterIndex, DWORD(r.filters.size())));
    r.flags = ofn.Flags;
    return r;
}

QString Utf16(const std::string &gbk) { return QString::fromStdU16String(GbkToUtf16(gbk)); }

QString QtFilterOf(const std::pair<std::string, std::string> &f) {
    QString patterns = Utf16(f.second);
    patterns.replace(';', ' ');
    return Utf16(f.first) + " (" + patterns + ")";
}

std::optional<std::string> AskQt(const FileDialogRequest &r, HWND owner, DWORD &filterIndex) {
    QFileDialog dialog(HostOf(owner));
    dialog.setAcceptMode(r.save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(!r.save && (r.flags & OFN_FILEMUSTEXIST) ? QFileDialog::ExistingFile : QFileDialog::AnyFile);
    dialog.setOption(QFileDialog::DontConfirmOverwrite, !(r.flags & OFN_OVERWRITEPROMPT));
    if (!r.title.empty()) dialog.setWindowTitle(Utf16(r.title));
    if (auto dir = DosToHostPath(r.initialDir.c_str()); dir && !r.initialDir.empty())
        dialog.setDirectory(QString::fromStdString(*dir));
    if (!r.initialName.empty()) {
        auto host = DosToHostPath(r.initialName.c_str());
        bool full = r.initialName.find('\\') != std::string::npos || r.initialName.find(':') != std::string::npos;
        dialog.selectFile(full && host ? QString::fromStdString(*host) : Utf16(r.initialName));
    }
    QStringList filters;
    for (auto &f : r.filters) filters << QtFilterOf(f);
    if (!filters.isEmpty()) {
        dialog.setNameFilters(filters);
        dialog.selectNameFilter(filters[int(r.filterIndex) - 1]);
    }
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
    filterIndex = DWORD(filters.indexOf(dialog.selectedNameFilter()) + 1);
    return HostToDosPath(dialog.selectedFiles().first().toStdString());
}

std::optional<std::string> AskEnvironment(const char *value) {
    if (!*value) return std::nullopt;
    return value[0] == '/' ? HostToDosPath(value) : std::string(value);
}

bool HasExtension(const std::string &path) {
    size_t slash = path.find_last_of("\\/");
    size_t dot = path.rfind('.');
    return dot != std::string::npos && (slash == std::string::npos || dot > slash);
}

bool Exists(const std::string &dosPath) { return GetFileAttributesA(dosPath.c_str()) != INVALID_FILE_ATTRIBUTES; }

// Writes the chosen path and its parts into the structure, as Win32 fills them.
BOOL Answer(OPENFILENAMEA &ofn, std::string path) {
    if (!HasExtension(path) && ofn.lpstrDefExt && *ofn.lpstrDefExt) path += "." + std::string(ofn.lpstrDefExt);
    if (path.size() + 1 > ofn.nMaxFile) {
        if (ofn.nMaxFile >= 2) *reinterpret_cast<WORD *>(ofn.lpstrFile) = WORD(path.size() + 1);
        DialogError() = FNERR_BUFFERTOOSMALL;
        return FALSE;
    }
    std::memcpy(ofn.lpstrFile, path.c_str(), path.size() + 1);
    size_t slash = path.find_last_of('\\');
    size_t name = slash == std::string::npos ? 0 : slash + 1;
    ofn.nFileOffset = WORD(name);
    size_t dot = path.rfind('.');
    ofn.nFileExtension = WORD(dot != std::string::npos && dot >= name ? dot + 1 : path.size());
    if (ofn.lpstrFileTitle && ofn.nMaxFileTitle) {
        std::string title = path.substr(name).substr(0, ofn.nMaxFileTitle - 1);
        std::memcpy(ofn.lpstrFileTitle, title.c_str(), title.size() + 1);
    }
    if (ofn.lpstrDefExt && *ofn.lpstrDefExt && strcasecmp(path.c_str() + ofn.nFileExtension, ofn.lpstrDefExt) != 0)
        ofn.Flags |= OFN_EXTENSIONDIFFERENT;
    if (!(ofn.Flags & OFN_NOCHANGEDIR) && name > 0) SetCurrentDirectoryA(path.substr(0, name).c_str());
    return TRUE;
}

BOOL RunFileDialog(LPOPENFILENAMEA ofn, bool save) {
    DialogError() = 0;
    if (!ofn || (ofn->lStructSize != sizeof(OPENFILENAMEA) && ofn->lStructSize != kShortOpenFileNameSize)) {
        DialogError() = CDERR_STRUCTSIZE;
        return FALSE;
    }
    if (!ofn->lpstrFile || ofn->nMaxFile == 0) {
        DialogError() = CDERR_INITIALIZATION;
        return FALSE;
    }
    FileDialogRequest request = RequestOf(*ofn, save);
    DWORD filterIndex = request.filterIndex;
    std::optional<std::string> chosen;
    if (FileHook()) chosen = FileHook()(request);
    else if (const char *env = std::getenv("SORVEL_FILE_DIALOG_ANSWER")) chosen = AskEnvironment(env);
    else if (!IsHeadless() && GuiApplication()) chosen = AskQt(request, ofn->hwndOwner, filterIndex);
    if (!chosen) return FALSE;
    if (!save && (ofn->Flags & OFN_FILEMUSTEXIST) && !Exists(*chosen)) return FALSE;
    if (filterIndex) ofn->nFilterIndex = filterIndex;
    return Answer(*ofn, *chosen);
}

} // namespace

void SetFileDialogHook(FileDialogHook hook) { FileHook() = std::move(hook); }

} // namespace platform

extern "C" BOOL WINAPI GetOpenFileNameA(LPOPENFILENAMEA ofn) { return platform::RunFileDialog(ofn, false); }
extern "C" BOOL WINAPI GetSaveFileNameA(LPOPENFILENAMEA ofn) { return platform::RunFileDialog(ofn, true); }
extern "C" DWORD WINAPI CommDlgExtendedError(void) { return platform::DialogError(); }
