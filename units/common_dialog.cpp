#include "common_dialog.h"
#include "property_texts.h"

#include <algorithm>
#include <cstring>

#include "common_dialog_run.h"
#include "runtime_interface.h"
#include "unit_class.h"
#include "unit_messages.h"
#include "window_list.h"

namespace units {
namespace {

constexpr char kClassName[] = "SorvelCommonDialog";

thread_local std::string readScratch; // a read's text lives here until the framework copies it

CommonDialogUnit &UnitOf(fw::WindowObject *object) { return *static_cast<CommonDialogUnit *>(object); }

fw::WindowObject *Create(const CreateUnitArgs &a) {
    RegisterUnitClass(kClassName);
    auto *u = new CommonDialogUnit;
    u->windowId = a.windowId;
    u->unitId = a.unitId;
    if (!ReadCommonDialogData(a.propertyData, a.propertyDataSize, u->p)) {
        delete u;
        return nullptr;
    }
    u->p.kind = std::clamp(u->p.kind, 0, 3);
    HWND h = CreateWindowExA(0, kClassName, "", WS_CHILD | WS_CLIPSIBLINGS | a.extraStyle, a.left, a.top, a.width,
                             a.height, a.parent, reinterpret_cast<HMENU>(a.controlId), nullptr, nullptr);
    if (!h || !u->SubclassWindow(h)) {
        if (h) DestroyWindow(h);
        delete u;
        return nullptr;
    }
    return u;
}

// The property fields by number less 8; texts and numbers apart.
std::string *TextField(CommonDialogProperties &p, int32_t property) {
    switch (property + 8) {
    case 9: return &p.title;
    case 10: return &p.fileName;
    case 11: return &p.filter;
    case 13: return &p.initialDir;
    case 14: return &p.defaultExt;
    case 25: return &p.faceName;
    case 27: return &p.helpFile;
    default: return nullptr;
    }
}

int32_t *WordField(CommonDialogProperties &p, int32_t property) {
    switch (property + 8) {
    case 8: return &p.kind;
    case 12: return &p.filterIndex;
    case 15: return &p.createPrompt;
    case 16: return &p.fileMustExist;
    case 17: return &p.overwritePrompt;
    case 18: return &p.pathMustExist;
    case 19: return &p.noChangeDir;
    case 20: return reinterpret_cast<int32_t *>(&p.colour);
    case 21: return &p.bold;
    case 22: return &p.italic;
    case 23: return &p.strikeout;
    case 24: return &p.underline;
    case 26: return &p.pointSize;
    case 28: return &p.helpCommand;
    case 29: return &p.helpTopic;
    default: return nullptr;
    }
}

// Kind 0 … 3; the filter number and point size never negative.
int32_t Limited(int32_t property, int32_t value) {
    switch (property + 8) {
    case 8: return std::clamp(value, 0, 3);
    case 12:
    case 26: return std::max(value, 0);
    default: return value;
    }
}

int Write(fw::WindowObject *object, int32_t property, const PropertyValue *v, uint32_t *output) {
    CommonDialogUnit &u = UnitOf(object);
    if (output) *output = 0;
    if (std::string *text = TextField(u.p, property)) {
        const char *value = reinterpret_cast<const char *>(v->first);
        *text = value ? value : "";
    } else if (int32_t *word = WordField(u.p, property)) *word = Limited(property, int32_t(v->first));
    return 0; // plain stored values: never rebuilt
}

int Read(fw::WindowObject *object, int32_t property, PropertyValue *v) {
    CommonDialogUnit &u = UnitOf(object);
    if (std::string *text = TextField(u.p, property)) {
        readScratch = *text;
        *v = {reinterpret_cast<uintptr_t>(readScratch.c_str()), 0};
        return 1;
    }
    if (int32_t *word = WordField(u.p, property)) {
        *v = {uintptr_t(uint32_t(*word)), 0};
        return 1;
    }
    return 0;
}

uint8_t *Serialize(fw::WindowObject *object, uint32_t *size) {
    std::string data = WriteCommonDialogData(UnitOf(object).p);
    *size = uint32_t(data.size());
    auto *out = new uint8_t[data.size()];
    std::memcpy(out, data.data(), data.size());
    return out;
}

uint8_t *WalkTexts(const uint8_t *data, uint32_t *size, TextVisitor visitor, void *parameter) {
    CommonDialogProperties p;
    if (!size || !visitor || !ReadCommonDialogData(data, *size, p)) {
        if (size) *size = 0;
        return nullptr;
    }
    for (std::string *text : {&p.title, &p.fileName, &p.filter, &p.initialDir, &p.defaultExt, &p.faceName, &p.helpFile})
        visitor(*text, parameter);
    return HeapCopy(WriteCommonDialogData(p), size);
}

const void *Interface(int32_t request) {
    switch (request) {
    case kRequestCreate: return reinterpret_cast<const void *>(&Create);
    case kRequestWriteProperty: return reinterpret_cast<const void *>(&Write);
    case kRequestSerialize: return reinterpret_cast<const void *>(&Serialize);
    case kRequestReadProperty: return reinterpret_cast<const void *>(&Read);
    case kRequestWalkTexts: return reinterpret_cast<const void *>(&WalkTexts);
    default: return nullptr;
    }
}

bool OwnerLoaded(const CommonDialogUnit &u) {
    Window *window = FindWindow(u.windowId);
    return window && window->loaded && IsLive(window->units[0].record);
}

bool RunDialog(CommonDialogUnit &u) {
    HWND owner = GetAncestor(u.Handle(), GA_ROOT);
    switch (u.p.kind) {
    case kDialogOpen:
    case kDialogSave: return RunFileDialog(u.p, owner);
    case kDialogFont: return RunFontDialog(u.p, owner);
    default: return RunHelp(u.p, u.windowId, owner, OwnerLoaded(u));
    }
}

} // namespace

LRESULT CommonDialogUnit::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == rt::kMessageRunCommonDialog) return RunDialog(*this) ? 1 : 0;
    return Default(message, wParam, lParam);
}

void CommonDialogUnit::PostNcDestroy() {
    rt::RuntimeService(rt::kServiceUnitDestroyed, windowId, unitId);
    delete this;
}

UnitInterface CommonDialogInterface() { return &Interface; }

} // namespace units
