// The main window and the units the application's routines reach, by the identifiers
// of the window template.
#pragma once

#include <cstdint>
#include <string>

#include "value.h"

namespace app {

constexpr uint32_t kMainWindow = 0x52019f78;
constexpr uint32_t kMainWindowUnit = 0x06019f77;
constexpr uint32_t kResultBox = 0x16019f79;       // 编辑框1
constexpr uint32_t kKeywordLabel = 0x16019f7a;    // 标签4
constexpr uint32_t kKeywordBox = 0x16019f7b;      // 编辑框_关键字
constexpr uint32_t kExportHint = 0x16019f7c;      // 标签6
constexpr uint32_t kPagesLabelBefore = 0x16019f7d; // 标签2
constexpr uint32_t kPageCountBox = 0x16019f7e;    // 编辑框2
constexpr uint32_t kPagesLabelAfter = 0x16019f7f; // 标签3
constexpr uint32_t kTitleLabel = 0x16019f80;      // 标签7
constexpr uint32_t kStartButton = 0x16019f81;     // 按钮1
constexpr uint32_t kStatusBox = 0x16019f82;       // 编辑框3
constexpr uint32_t kSaveButton = 0x16019f83;      // 按钮2
constexpr uint32_t kClearButton = 0x16019f84;     // 按钮3
constexpr uint32_t kSelectAllButton = 0x16019f85; // 按钮4
constexpr uint32_t kSaveMessage = 0x16019f86;     // 标签5
constexpr uint32_t kExportDialog = 0x16019f87;    // 通用对话框1

constexpr uint32_t kEditBoxType = 0x00010005;
constexpr uint32_t kLabelType = 0x0001000a;
constexpr uint32_t kCommonDialogType = 0x0001001f;

constexpr int32_t kContentProperty = 8;

// A text property of a main-window unit, read through helper slot 4 (a new text
// that is freed once copied).
std::string ReadUnitText(uint32_t unit, int32_t property);

// A unit as a command argument: its type, window and unit identifiers.
inline rt::TypedValue UnitArg(uint32_t type, uint32_t unit) { return {kMainWindow, unit, type}; }

} // namespace app
