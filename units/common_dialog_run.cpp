#include "common_dialog_run.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <mutex>
#include <set>
#include <vector>

#include "commdlg.h"
#include "font_properties.h"

namespace units {
namespace {

constexpr DWORD kFileBufferSize = 4096;
constexpr int32_t kHelpOnHelp = 4, kHelpClose = 5;

DWORD FileFlags(const CommonDialogProperties &p) {
    DWORD flags = OFN_HIDEREADONLY;
    if (p.createPrompt) flags |= OFN_CREATEPROMPT;
    if (p.fileMustExist) flags |= OFN_FILEMUSTEXIST;
    if (p.overwritePrompt) flags |= OFN_OVERWRITEPROMPT;
    if (p.pathMustExist) flags |= OFN_PATHMUSTEXIST;
    if (p.noChangeDir) flags |= OFN_NOCHANGEDIR;
    return flags;
}

const char *OrNull(const std::string &text) { return text.empty() ? nullptr : text.c_str(); }

LONG HeightOfPoints(int32_t points) { return -LONG((int64_t(points) * PixelsPerInch() + 36) / 72); }

int32_t PointsOfHeight(LONG height) {
    int ppi = PixelsPerInch();
    return int32_t((int64_t(std::abs(height)) * 72 + ppi / 2) / ppi);
}

std::mutex helpLock;
std::set<uint32_t> &HelpOwners() {
    static std::set<uint32_t> owners;
    return owners;
}

void MarkHelp(uint32_t windowId, bool open) {
    std::lock_guard lock(helpLock);
    if (open) HelpOwners().insert(windowId);
    else HelpOwners().erase(windowId);
}

bool IsFile(const std::string &path) {
    DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

// The program's own file name with its extension replaced by "hlp".
std::string ProgramHelpFile() {
    char path[MAX_PATH] = {};
    DWORD n = GetModuleFileNameA(nullptr, path, sizeof path);
    std::string name(path, std::min<DWORD>(n, sizeof path));
    size_t dot = name.find_last_of('.'), slash = name.find_last_of("\\/");
    if (dot != std::string::npos && (slash == std::string::npos || dot > slash)) name.resize(dot);
    return name + ".hlp";
}

} // namespace

std::string FilterPairs(const std::string &filter) {
    if (filter.empty()) return {};
    std::string pairs;
    for (size_t i = 0; i < filter.size(); ++i) {
        auto c = uint8_t(filter[i]);
        if (c >= 0x80 && i + 1 < filter.size()) {
            pairs += filter.substr(i, 2);
            ++i;
        } else pairs += c == '|' ? '\0' : char(c);
    }
    // The list ends with an empty string: two zeros after the last item.
    while (pairs.size() < 2 || pairs[pairs.size() - 1] != '\0' || pairs[pairs.size() - 2] != '\0') pairs += '\0';
    return pairs;
}

bool RunFileDialog(CommonDialogProperties &p, HWND owner) {
    std::string filter = FilterPairs(p.filter);
    std::vector<char> file(kFileBufferSize, '\0');
    std::memcpy(file.data(), p.fileName.data(), std::min<size_t>(p.fileName.size(), kFileBufferSize - 1));
    OPENFILENAMEA ofn{};
    ofn.lStructSize = sizeof ofn;
    ofn.hwndOwner = owner;
    ofn.lpstrFilter = filter.empty() ? nullptr : filter.data();
    ofn.nFilterIndex = filter.empty() ? 0 : DWORD(std::max(p.filterIndex, 0) + 1);
    ofn.lpstrFile = file.data();
    ofn.nMaxFile = kFileBufferSize;
    ofn.lpstrInitialDir = OrNull(p.initialDir);
    ofn.lpstrTitle = OrNull(p.title);
    ofn.lpstrDefExt = OrNull(p.defaultExt);
    ofn.Flags = FileFlags(p);
    BOOL confirmed = p.kind == kDialogSave ? GetSaveFileNameA(&ofn) : GetOpenFileNameA(&ofn);
    if (!confirmed) return false;
    p.fileName = file.data();
    return true;
}

bool RunFontDialog(CommonDialogProperties &p, HWND owner) {
    LOGFONTA lf{};
    lf.lfWeight = p.bold ? FW_BOLD : 0;
    lf.lfItalic = BYTE(p.italic != 0);
    lf.lfStrikeOut = BYTE(p.strikeout != 0);
    lf.lfUnderline = BYTE(p.underline != 0);
    std::strncpy(lf.lfFaceName, p.faceName.c_str(), LF_FACESIZE - 1);
    if (p.pointSize != 0) lf.lfHeight = HeightOfPoints(p.pointSize);
    CHOOSEFONTA cf{};
    cf.lStructSize = sizeof cf;
    cf.hwndOwner = owner;
    cf.lpLogFont = &lf;
    cf.Flags = CF_SCREENFONTS | CF_EFFECTS | CF_INITTOLOGFONTSTRUCT;
    cf.rgbColors = p.colour;
    if (!ChooseFontA(&cf)) return false;
    p.colour = cf.rgbColors;
    p.bold = lf.lfWeight >= FW_BOLD;
    p.italic = lf.lfItalic != 0;
    p.strikeout = lf.lfStrikeOut != 0;
    p.underline = lf.lfUnderline != 0;
    p.faceName = std::string(lf.lfFaceName, strnlen(lf.lfFaceName, LF_FACESIZE));
    p.pointSize = PointsOfHeight(lf.lfHeight);
    return true;
}

// Without a help viewer on this system a help call goes as far as its checks: the
// owner is loaded and, for the commands that need one, the help file exists.
bool RunHelp(const CommonDialogProperties &p, uint32_t ownerId, bool ownerLoaded) {
    if (!ownerLoaded) return false;
    MarkHelp(ownerId, p.helpCommand != kHelpClose);
    if (p.helpCommand == kHelpOnHelp || p.helpCommand == kHelpClose) return true;
    return IsFile(p.helpFile.empty() ? ProgramHelpFile() : p.helpFile);
}

bool HelpOpenedBy(uint32_t windowId) {
    std::lock_guard lock(helpLock);
    return HelpOwners().count(windowId) != 0;
}

} // namespace units
