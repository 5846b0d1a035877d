#include "main_window.h"

#include "collector.h"
#include "conversion_commands.h"
#include "file_commands.h"
#include "literals.h"
#include "main_window_units.h"
#include "runtime_calls.h"
#include "skin.h"
#include "system_commands.h"
#include "text_calls.h"
#include "time_to_text.h"
#include "unit_commands.h"

namespace app {
namespace {

constexpr int32_t kSelectionStart = 24;
constexpr int32_t kSelectionLength = 25;
constexpr int32_t kLabelCaption = 8;
constexpr int32_t kDialogKind = 8;
constexpr int32_t kDialogFileName = 10;
constexpr int32_t kDialogFilter = 11;
constexpr int32_t kSaveFileDialog = 1;
constexpr int32_t kMessageMilliseconds = 1000;

// Property writes take the value's two words; a text is lent, never kept.
void WriteText(uint32_t unit, int32_t property, const std::string &text) {
    auto pointer = uint64_t(reinterpret_cast<uintptr_t>(text.empty() ? nullptr : text.c_str()));
    rt::RuntimeHelpers.writeUnitProperty(kMainWindow, unit, property, -1, uint32_t(pointer), uint32_t(pointer >> 32));
}

void WriteInteger(uint32_t unit, int32_t property, int32_t value) {
    rt::RuntimeHelpers.writeUnitProperty(kMainWindow, unit, property, -1, uint32_t(value), 0);
}

// The result box's text as a byte set (GBK, "\r\n" line breaks, no terminator).
bool WriteResults(const std::string &path) {
    std::string content = ReadUnitText(kResultBox, kContentProperty);
    rt::TypedValue bytes = CallCommand(cmd::ToByteSet, {TextArg(content.c_str())});
    bool written = IsTrue(CallCommand(cmd::WriteFile, {TextArg(path.c_str()), ByteSetArg(bytes.Pointer<void>())}));
    rt::RuntimeHelpers.free(bytes.Pointer<void>());
    return written;
}

std::string RunDirectory() { return TakeText(CallCommand(cmd::RunDirectory, {})); }

int MainWindowCreated(const uint64_t *, int32_t, uint64_t *) {
    ApplySkin(kMainWindowSkin);
    return 0;
}
int StartPressed(const uint64_t *, int32_t, uint64_t *) {
    StartCollection();
    return 0;
}
int SavePressed(const uint64_t *, int32_t, uint64_t *) {
    SaveResults();
    return 0;
}
int ClearPressed(const uint64_t *, int32_t, uint64_t *) {
    ClearResults();
    return 0;
}
int SelectAllPressed(const uint64_t *, int32_t, uint64_t *) {
    SelectAllResults();
    return 0;
}
// The double click's x, y and shift state are not used.
int ResultBoxDoubleClicked(const uint64_t *, int32_t, uint64_t *) {
    ExportResults();
    return 0;
}

const rt::EventRoutine kRoutines[] = {MainWindowCreated, StartPressed,     SavePressed,
                                      ClearPressed,      SelectAllPressed, ResultBoxDoubleClicked};

} // namespace

std::string ReadUnitText(uint32_t unit, int32_t property) {
    uint64_t value = rt::RuntimeHelpers.readUnitProperty(kMainWindow, unit, property, -1);
    return TakeText(rt::TypedValue{uint32_t(value), uint32_t(value >> 32), rt::kTypeText});
}

const rt::EventRoutineTable ApplicationEventRoutines = {uint32_t(std::size(kRoutines)), kRoutines};

void SaveResults() {
    char *time = TimeToText(rt::TypedValue{0, 0, 0}, 0, 0);
    std::string path = RunDirectory() + Literal(image::kBackslash) + (time ? time : "") + Literal(image::kTextFileExtension);
    rt::RuntimeHelpers.free(time);
    bool written = WriteResults(path);
    WriteText(kSaveMessage, kLabelCaption, Literal(written ? image::kSavedToPrefix : image::kSaveFailedPrefix) + path);
    CallCommand(cmd::Delay, {IntegerArg(kMessageMilliseconds)});
    WriteText(kSaveMessage, kLabelCaption, std::string());
}

void ClearResults() { WriteText(kResultBox, kContentProperty, std::string()); }

void SelectAllResults() {
    CallCommand(cmd::SetFocus, {UnitArg(kEditBoxType, kResultBox)});
    WriteInteger(kResultBox, kSelectionStart, 0);
    WriteInteger(kResultBox, kSelectionLength, TextLength(ReadUnitText(kResultBox, kContentProperty)));
}

std::string ExportPath(const std::string &chosen) {
    const std::string extension = Literal(image::kTextFileExtension);
    if (ToLowerCase(TextRight(chosen, TextLength(extension))) == extension) return chosen;
    return chosen + extension;
}

// Nothing is written when the dialog is cancelled.
void ExportResults() {
    WriteInteger(kExportDialog, kDialogKind, kSaveFileDialog);
    WriteText(kExportDialog, kDialogFilter, Literal(image::kExportFilter));
    if (!IsTrue(CallCommand(cmd::ShowCommonDialog, {UnitArg(kCommonDialogType, kExportDialog)}))) return;
    WriteResults(ExportPath(ReadUnitText(kExportDialog, kDialogFileName)));
}

} // namespace app
