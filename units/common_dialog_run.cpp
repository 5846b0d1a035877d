#include "common_dialog_run.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "commdlg.h"
#include "font_properties.h"
#include "help_calls.h"

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

// The help command for the kind's command 0 to 3; a topic of 0 means the contents.
UINT HelpCommandOf(const CommonDialogProperties &p) {
    switch (p.helpCommand) {
    case 1: return p.helpTopic ? HELP_CONTEXT : HELP_CONTENTS;
    case 2: return p.helpTopic ? HELP_CONTEXTPOPUP : HELP_CONTENTS;
    case 3: return HELP_FORCEFILE;
    default: return HELP_CONTENTS;
    }
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

bool RunHelp(const CommonDialogProperties &p, uint32_t ownerId, HWND owner, bool ownerLoaded) {
    if (!ownerLoaded) return false;
    std::string file = p.helpFile.empty() ? ProgramHelpFile() : p.helpFile;
    if (p.helpCommand == kHelpOnHelp || p.helpCommand == kHelpClose) {
        CallHelp(ownerId, owner, file, p.helpCommand == kHelpOnHelp ? HELP_HELPONHELP : HELP_QUIT, 0);
        return true;
    }
    if (!IsHelpFile(file)) return false;
    CallHelp(ownerId, owner, file, HelpCommandOf(p), ULONG_PTR(uint32_t(p.helpTopic)));
    return true;
}

} // namespace units
