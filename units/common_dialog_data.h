// The common dialog unit's properties and their stored form in a window template.
#pragma once

#include <cstdint>
#include <string>

namespace units {

enum CommonDialogKind : int32_t { kDialogOpen = 0, kDialogSave = 1, kDialogFont = 2, kDialogHelp = 3 };

struct CommonDialogProperties {
    int32_t kind = kDialogOpen;      // 8
    std::string title;               // 9
    std::string fileName;            // 10
    std::string filter;              // 11
    int32_t filterIndex = 0;         // 12
    std::string initialDir;          // 13
    std::string defaultExt;          // 14
    int32_t createPrompt = 0;        // 15
    int32_t fileMustExist = 1;       // 16
    int32_t overwritePrompt = 1;     // 17
    int32_t pathMustExist = 1;       // 18
    int32_t noChangeDir = 0;         // 19
    uint32_t colour = 0;             // 20
    int32_t bold = 0;                // 21
    int32_t italic = 0;              // 22
    int32_t strikeout = 0;           // 23
    int32_t underline = 0;           // 24
    std::string faceName;            // 25
    int32_t pointSize = 0;           // 26
    std::string helpFile;            // 27
    int32_t helpCommand = 0;         // 28
    int32_t helpTopic = 0;           // 29
};

constexpr uint32_t kCommonDialogDataVersion = 1;

// Reads template data over the defaults in `p`; empty data keep them. False for a
// version above the highest known or data that end too early.
bool ReadCommonDialogData(const uint8_t *data, uint32_t size, CommonDialogProperties &p);
std::string WriteCommonDialogData(const CommonDialogProperties &p);

} // namespace units
