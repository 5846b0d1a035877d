// Requests 4, 5, 6 and 8 of the edit box and its interface routine.
#include <algorithm>
#include <cstring>

#include <windows.h>
#include <commctrl.h>
#include "property_texts.h"
#include "edit_box.h"
#include "edit_box_apply.h"
#include "edit_box_input.h"
#include "unit_thread_call.h"

namespace units {
namespace {

using namespace editbox;

// Property numbers less 8.
enum : int32_t {
    kContent = 0, kBorder, kTextColour, kBackground, kFont, kHideSelection, kMaxLength, kMultiLine, kScrollBars,
    kAlignment, kInputMode, kPasswordChar, kCase, kAdjuster, kBound1, kBound2, kSelStart, kSelLength, kSelText,
    kDataSource, kDataColumn,
};

thread_local std::string readScratch; // a read's text lives here until the framework copies it

EditBoxUnit &UnitOf(fw::WindowObject *object) { return *static_cast<EditBoxUnit *>(object); }

std::string TextValue(const PropertyValue *v) {
    const char *text = reinterpret_cast<const char *>(v->first);
    return text ? text : "";
}

// A pick value limited to 0 … max; true when it changed the stored one.
bool StorePick(int32_t &field, const PropertyValue *v, int32_t max) {
    int32_t value = std::clamp(int32_t(v->first), 0, max);
    bool changed = value != field;
    field = value;
    return changed;
}

bool StoreLogical(int32_t &field, const PropertyValue *v) {
    int32_t value = v->first != 0 ? 1 : 0;
    bool changed = value != field;
    field = value;
    return changed;
}

// Writing the content raises content-changed once, also where the control itself
// raises no change notification (a multi-line box given a new text).
// The steps run together on the window's thread, so that no user edit meanwhile has its
// change notification taken for the write's.
void WriteContent(EditBoxUnit &u, const std::string &text) {
    RunOnWindowThread(u.Handle(), [&] {
        u.p.content = text;
        ReplaceText(u, text);
    });
}

// One part of the stored selection written by its rules; the other part is the stored
// one, whatever the control's selection is now.
void WriteSelection(EditBoxUnit &u, int32_t property, int32_t value) {
    int32_t length = GetWindowTextLengthA(u.edit);
    if (property == kSelStart) {
        if (value == -1) u.p.selStart = length, u.p.selLength = 0;
        else u.p.selStart = std::max(value, 0);
    } else {
        if (value == -1) u.p.selStart = 0, u.p.selLength = length;
        else u.p.selLength = std::max(value, 0);
    }
    SelectAndShow(u.edit, u.p.selStart, u.p.selStart + u.p.selLength);
}

void WriteInputMode(EditBoxUnit &u, const PropertyValue *v) {
    StorePick(u.p.inputMode, v, kInputDateTime);
    SendMessageA(u.edit, EM_SETREADONLY, u.p.inputMode == kInputReadOnly, 0);
    SetPasswordChar(u);
    InvalidateRect(u.edit, nullptr, TRUE);
}

// The first character of the text, a GBK pair as one 16-bit code.
uint16_t FirstCharacter(const std::string &text) {
    if (text.empty()) return 0;
    uint8_t lead = uint8_t(text[0]);
    if (lead >= 0x80 && text.size() >= 2) return uint16_t(lead << 8 | uint8_t(text[1]));
    return lead;
}

std::string CharacterText(uint16_t c) {
    if (c == 0) return {};
    if (c > 0xff) return std::string{char(c >> 8), char(c & 0xff)};
    return std::string(1, char(c));
}

void StoreRange(EditBoxUnit &u, int32_t &bound, const PropertyValue *v) {
    bound = int32_t(v->first);
    SendRange(u);
}

int Write(fw::WindowObject *object, int32_t property, const PropertyValue *v, uint32_t *output) {
    EditBoxUnit &u = UnitOf(object);
    if (output) *output = 0;
    switch (property) {
    case kContent: WriteContent(u, TextValue(v)); return 0;
    case kBorder: StorePick(u.p.border, v, 5); ApplyBorder(u); return 0;
    case kTextColour: u.p.textColour = uint32_t(v->first); InvalidateRect(u.edit, nullptr, TRUE); return 0;
    case kBackground:
        u.p.background = uint32_t(v->first);
        ApplyBrush(u);
        RedrawWindow(u.Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN);
        return 0;
    case kFont:
        u.p.font = v->first && v->second ? std::string(reinterpret_cast<const char *>(v->first), v->second) : "";
        ApplyFont(u);
        return 0;
    case kHideSelection: return StoreLogical(u.p.hideSelection, v);
    case kMaxLength:
        u.p.maxLength = std::max(int32_t(v->first), 0);
        SendMessageA(u.edit, EM_LIMITTEXT, WPARAM(u.p.maxLength), 0);
        return 0;
    case kMultiLine: return StoreLogical(u.p.multiLine, v);
    case kScrollBars: return StorePick(u.p.scrollBars, v, 3);
    case kAlignment: return StorePick(u.p.alignment, v, 2);
    case kInputMode: WriteInputMode(u, v); return 0;
    case kPasswordChar: u.p.passwordChar = FirstCharacter(TextValue(v)); SetPasswordChar(u); return 0;
    case kCase: return StorePick(u.p.caseMode, v, 2);
    case kAdjuster: return StorePick(u.p.adjuster, v, 2);
    case kBound1: StoreRange(u, u.p.bound1, v); return 0;
    case kBound2: StoreRange(u, u.p.bound2, v); return 0;
    case kSelStart:
    case kSelLength: WriteSelection(u, property, int32_t(v->first)); return 0;
    case kSelText: SendMessageA(u.edit, EM_REPLACESEL, FALSE, LPARAM(TextValue(v).c_str())); return 0;
    case kDataSource: u.p.dataSource = TextValue(v); return 0;
    case kDataColumn: u.p.dataColumn = TextValue(v); return 0;
    default: return 0;
    }
}

PropertyValue TextRecord(std::string text) {
    readScratch = std::move(text);
    return {reinterpret_cast<uintptr_t>(readScratch.c_str()), 0};
}

PropertyValue Word(int64_t value) { return {uintptr_t(uint32_t(value)), 0}; }

std::string SelectedText(EditBoxUnit &u) {
    std::string text = TextOf(u.edit);
    int32_t start = 0, end = 0;
    Selection(u.edit, start, end);
    start = std::clamp(start, 0, int32_t(text.size()));
    end = std::clamp(end, start, int32_t(text.size()));
    return text.substr(size_t(start), size_t(end - start));
}

int Read(fw::WindowObject *object, int32_t property, PropertyValue *v) {
    EditBoxUnit &u = UnitOf(object);
    int32_t start = 0, end = 0;
    switch (property) {
    case kContent: *v = TextRecord(TextOf(u.edit)); return 1;
    case kBorder: *v = Word(u.p.border); return 1;
    case kTextColour: *v = Word(u.p.textColour); return 1;
    case kBackground: *v = Word(u.p.background); return 1;
    case kFont:
        *v = {reinterpret_cast<uintptr_t>(u.p.font.empty() ? nullptr : u.p.font.data()), u.p.font.size()};
        return 1;
    case kHideSelection: *v = Word(u.p.hideSelection); return 1;
    case kMaxLength: *v = Word(u.p.maxLength); return 1;
    case kMultiLine: *v = Word(u.p.multiLine); return 1;
    case kScrollBars: *v = Word(u.p.scrollBars); return 1;
    case kAlignment: *v = Word(u.p.alignment); return 1;
    case kInputMode: *v = Word(u.p.inputMode); return 1;
    case kPasswordChar: *v = TextRecord(CharacterText(u.p.passwordChar)); return 1;
    case kCase: *v = Word(u.p.caseMode); return 1;
    case kAdjuster: *v = Word(u.p.adjuster); return 1;
    case kBound1: *v = Word(u.p.bound1); return 1;
    case kBound2: *v = Word(u.p.bound2); return 1;
    case kSelStart:
    case kSelLength:
        Selection(u.edit, start, end);
        *v = Word(property == kSelStart ? start : end - start);
        return 1;
    case kSelText: *v = TextRecord(SelectedText(u)); return 1;
    case kDataSource: *v = TextRecord(u.p.dataSource); return 1;
    case kDataColumn: *v = TextRecord(u.p.dataColumn); return 1;
    default: return 0;
    }
}

// The live content and selection go into the data, so a rebuilt box keeps them.
uint8_t *Serialize(fw::WindowObject *object, uint32_t *size) {
    EditBoxUnit &u = UnitOf(object);
    if (u.edit && IsWindow(u.edit)) {
        u.p.content = TextOf(u.edit);
        int32_t start = 0, end = 0;
        Selection(u.edit, start, end);
        u.p.selStart = start;
        u.p.selLength = end - start;
    }
    std::string data = WriteEditBoxData(u.p);
    *size = uint32_t(data.size());
    auto *out = new uint8_t[data.size()];
    std::memcpy(out, data.data(), data.size());
    return out;
}

uint8_t *WalkTexts(const uint8_t *data, uint32_t *size, TextVisitor visitor, void *parameter) {
    EditBoxProperties p;
    if (!size || !visitor || !ReadEditBoxData(data, *size, p)) {
        if (size) *size = 0;
        return nullptr;
    }
    for (std::string *text : {&p.content, &p.dataSource, &p.dataColumn}) visitor(*text, parameter);
    return HeapCopy(WriteEditBoxData(p), size);
}

// Enter stays with a multi-line box that the user may type into.
int KeepsKey(fw::WindowObject *object, UINT key) {
    EditBoxUnit &u = UnitOf(object);
    return key == VK_RETURN && u.p.multiLine && u.p.inputMode != kInputReadOnly;
}

const void *Interface(int32_t request) {
    switch (request) {
    case kRequestCreate: return reinterpret_cast<const void *>(&CreateEditBox);
    case kRequestWriteProperty: return reinterpret_cast<const void *>(&Write);
    case kRequestSerialize: return reinterpret_cast<const void *>(&Serialize);
    case kRequestReadProperty: return reinterpret_cast<const void *>(&Read);
    case kRequestKeepsKey: return reinterpret_cast<const void *>(&KeepsKey);
    case kRequestWalkTexts: return reinterpret_cast<const void *>(&WalkTexts);
    default: return nullptr;
    }
}

} // namespace

UnitInterface EditBoxInterface() { return &Interface; }

} // namespace units
