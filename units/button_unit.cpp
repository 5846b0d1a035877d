#include "button_unit.h"
#include "property_texts.h"

#include <cstring>

#include "event_dispatch.h"
#include "gbk.h"
#include "picture_data.h"
#include "runtime_interface.h"
#include "unit_thread_call.h"
#include "window_unit.h"

namespace units {
namespace {

constexpr UINT kReflectedCommand = 0x2000 + WM_COMMAND;
constexpr DWORD kButtonBits = BS_TYPEMASK | BS_ICON | BS_BITMAP | BS_CENTER | BS_VCENTER;

const DataLayout &Layout() {
    static const DataLayout layout{
        1, {{Field::Word, 9}, {Field::Word, 11}, {Field::Word, 12}, {Field::Bytes, 8}, {Field::Bytes, 13},
            {Field::Text, 10}}};
    return layout;
}

// Decodes the picture; undecodable data are dropped and the caption shows.
void LoadPicture(ButtonUnit &unit) {
    std::string &d = unit.props.data[kButtonPicture];
    unit.picture = PictureFromData(d);
    if (!unit.picture) {
        d.clear();
        unit.image = nullptr;
        unit.imageType = -1;
        return;
    }
    unit.image = rt::PictureHandle(unit.picture);
    unit.imageType = rt::IsIconPicture(unit.picture) ? IMAGE_ICON : IMAGE_BITMAP;
}

void ApplyFont(ButtonUnit &unit) {
    HFONT font = FontFromData(unit.props.data[kButtonFont]);
    HGDIOBJ shown = font ? static_cast<HGDIOBJ>(font) : GetStockObject(DEFAULT_GUI_FONT);
    SendMessageA(unit.Handle(), WM_SETFONT, reinterpret_cast<WPARAM>(shown), TRUE);
    if (unit.font) DeleteObject(unit.font);
    unit.font = font;
}

void ApplyStyle(ButtonUnit &unit) {
    HWND h = unit.Handle();
    DWORD style = (DWORD(GetWindowLongA(h, GWL_STYLE)) & ~kButtonBits) | ButtonStyle(unit.props, unit.imageType);
    SetWindowLongA(h, GWL_STYLE, LONG(style));
    SetWindowPos(h, nullptr, 0, 0, 0, 0, SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    InvalidateRect(h, nullptr, TRUE);
}

int32_t MaxPick(int index) { return index + 8 == kButtonKind ? 1 : 2; }

int WriteOnWindowThread(fw::WindowObject *object, int32_t index, const PropertyValue *value, uint32_t *output) {
    auto &unit = static_cast<ButtonUnit &>(*object);
    if (output) *output = 0;
    Store(unit.props, kTypeButton, index, *value, MaxPick(index));
    switch (index + 8) {
    case kButtonPicture: return 1;
    case kButtonCaption: SetWindowTextA(unit.Handle(), unit.props.data[kButtonCaption].c_str()); break;
    case kButtonFont: ApplyFont(unit); break;
    default: ApplyStyle(unit); break;
    }
    return 0;
}

// Writes run on the window's thread, so painting never sees a half-changed record.
int WriteProperty(fw::WindowObject *object, int32_t index, const PropertyValue *value, uint32_t *output) {
    int result = 0;
    RunOnWindowThread(object->Handle(), [&] { result = WriteOnWindowThread(object, index, value, output); });
    return result;
}

int ReadProperty(fw::WindowObject *object, int32_t index, PropertyValue *value) {
    if (index < 0 || index + 8 > kButtonFont) return 0;
    *value = ValueOf(static_cast<ButtonUnit &>(*object).props, kTypeButton, index);
    return 1;
}

uint8_t *Serialize(fw::WindowObject *object, uint32_t *size) {
    return WritePropertyData(Layout(), static_cast<ButtonUnit &>(*object).props, size);
}

int IsDefault(fw::WindowObject *object) {
    return (DWORD(GetWindowLongA(object->Handle(), GWL_STYLE)) & BS_TYPEMASK) == BS_DEFPUSHBUTTON;
}

fw::WindowObject *Create(const CreateUnitArgs &a) {
    auto *unit = new ButtonUnit;
    unit->windowId = a.windowId;
    unit->unitId = a.unitId;
    SetButtonDefaults(unit->props);
    if (!ReadPropertyData(Layout(), a.propertyData, a.propertyDataSize, unit->props)) {
        delete unit;
        return nullptr;
    }
    LoadPicture(*unit);
    DWORD style = WS_CHILD | a.extraStyle | ButtonStyle(unit->props, unit->imageType);
    HWND h = CreateWindowExA(0, "BUTTON", unit->props.data[kButtonCaption].c_str(), style, a.left, a.top, a.width,
                             a.height, a.parent, reinterpret_cast<HMENU>(a.controlId), GetModuleHandleA(nullptr),
                             nullptr);
    if (!h || !unit->SubclassWindow(h)) {
        if (h) DestroyWindow(h);
        delete unit;
        return nullptr;
    }
    if (unit->image) SendMessageA(h, BM_SETIMAGE, WPARAM(unit->imageType), reinterpret_cast<LPARAM>(unit->image));
    ApplyFont(*unit);
    return unit;
}

} // namespace

ButtonUnit::~ButtonUnit() {
    if (font) DeleteObject(font);
    ReleasePicture(picture);
}

LRESULT ButtonUnit::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case kReflectedCommand:
        if (HIWORD(wParam) == BN_CLICKED) Raise(windowId, unitId, 0);
        return 0;
    case WM_SETFOCUS: Raise(windowId, unitId, -7); break;
    case WM_KILLFOCUS: Raise(windowId, unitId, -8); break;
    default: break;
    }
    return Default(message, wParam, lParam);
}

void ButtonUnit::PostNcDestroy() {
    rt::RuntimeService(rt::kServiceUnitDestroyed, windowId, unitId);
    delete this;
}

void SetButtonDefaults(StoredProperties &p) {
    p = StoredProperties{};
    p.number[kButtonAlign] = 1;
    p.number[kButtonVAlign] = 1;
    p.data[kButtonCaption] = rt::GbkLiteral("按钮");
}

DWORD ButtonStyle(const StoredProperties &p, int imageType) {
    static const DWORD horizontal[] = {BS_LEFT, BS_CENTER, BS_RIGHT};
    static const DWORD vertical[] = {BS_TOP, BS_VCENTER, BS_BOTTOM};
    DWORD style = LimitPick(p.number[kButtonKind], 1) ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON;
    style |= horizontal[LimitPick(p.number[kButtonAlign], 2)] | vertical[LimitPick(p.number[kButtonVAlign], 2)];
    if (imageType == IMAGE_BITMAP) style |= BS_BITMAP;
    else if (imageType > 0) style |= BS_ICON;
    return style;
}

HFONT FontFromData(const std::string &data) {
    if (data.size() != sizeof(LOGFONTA)) return nullptr;
    LOGFONTA font;
    std::memcpy(&font, data.data(), sizeof font);
    font.lfCharSet = 1;
    font.lfOutPrecision = 0;
    font.lfClipPrecision = 0;
    font.lfQuality = 2;
    font.lfPitchAndFamily = 0;
    return CreateFontIndirectA(&font);
}

static uint8_t *WalkButtonTexts(const uint8_t *data, uint32_t *size, TextVisitor visitor, void *parameter) {
    StoredProperties defaults;
    SetButtonDefaults(defaults);
    return WalkLayoutTexts(Layout(), defaults, data, size, visitor, parameter);
}

const void *ButtonUnitInterface(int32_t request) {
    switch (request) {
    case kRequestCreate: return reinterpret_cast<const void *>(&Create);
    case kRequestWriteProperty: return reinterpret_cast<const void *>(&WriteProperty);
    case kRequestSerialize: return reinterpret_cast<const void *>(&Serialize);
    case kRequestReadProperty: return reinterpret_cast<const void *>(&ReadProperty);
    case kRequestIsDefaultButton: return reinterpret_cast<const void *>(&IsDefault);
    case kRequestWalkTexts: return reinterpret_cast<const void *>(&WalkButtonTexts);
    default: return nullptr;
    }
}

} // namespace units
