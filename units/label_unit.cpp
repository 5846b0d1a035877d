#include "label_unit.h"
#include "property_texts.h"

#include "button_unit.h"
#include "event_dispatch.h"
#include "gbk.h"
#include "runtime_interface.h"
#include "unit_thread_call.h"

namespace units {
namespace {

constexpr char kLabelClass[] = "KZLabel";
constexpr int32_t kMinFrameWidth = 5;
constexpr DWORD kBorderExStyles = WS_EX_CLIENTEDGE | WS_EX_DLGMODALFRAME | WS_EX_STATICEDGE;

const DataLayout &Layout() {
    static const DataLayout layout{
        2,
        {{Field::Word, 9},  {Field::Word, 11}, {Field::Word, 10}, {Field::Word, 12}, {Field::Word, 13},
         {Field::Word, 14}, {Field::Word, 16}, {Field::Word, 17}, {Field::Word, 19}, {Field::Word, 20},
         {Field::Word, 21}, {Field::Word, 22}, {Field::Word, 23}, {Field::Word, 24}, {Field::Word, 26},
         {Field::Word, 25}, {Field::Bytes, 15}, {Field::Bytes, 18}, {Field::Text, 8}, {Field::Text, 27, 2},
         {Field::Text, 28, 2}}};
    return layout;
}

void RegisterLabelClass() {
    HINSTANCE instance = GetModuleHandleA(nullptr);
    WNDCLASSA wc{};
    if (GetClassInfoA(instance, kLabelClass, &wc)) return;
    wc.style = CS_VREDRAW | CS_HREDRAW | CS_DBLCLKS;
    wc.lpfnWndProc = DefWindowProcA;
    wc.hInstance = instance;
    wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    wc.lpszClassName = kLabelClass;
    RegisterClassA(&wc);
}

void ApplyBorder(LabelUnit &unit) {
    DWORD style, ex;
    LabelBorderStyles(unit.props.number[kLabelBorder], style, ex);
    HWND h = unit.Handle();
    SetWindowLongA(h, GWL_STYLE, LONG((DWORD(GetWindowLongA(h, GWL_STYLE)) & ~WS_BORDER) | style));
    SetWindowLongA(h, GWL_EXSTYLE, LONG((DWORD(GetWindowLongA(h, GWL_EXSTYLE)) & ~kBorderExStyles) | ex));
    SetWindowPos(h, nullptr, 0, 0, 0, 0, SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void ApplyFont(LabelUnit &unit) {
    if (unit.font) DeleteObject(unit.font);
    unit.font = FontFromData(unit.props.data[kLabelFont]);
}

int32_t MaxPick(int index) {
    switch (index + 8) {
    case kLabelEffect: return 3;
    case kLabelBorder: return 6;
    case kLabelLayout:
    case kLabelAlign:
    case kLabelVAlign: return 2;
    case kLabelGradient: return 8;
    default: return -1;
    }
}

// Every write repaints at once, so a caption written just before the thread sleeps
// is on the screen during the sleep.
int WriteOnWindowThread(fw::WindowObject *object, int32_t index, const PropertyValue *value, uint32_t *output) {
    auto &unit = static_cast<LabelUnit &>(*object);
    if (output) *output = 0;
    Store(unit.props, kTypeLabel, index, *value, MaxPick(index));
    HWND h = unit.Handle();
    switch (index + 8) {
    case kLabelCaption: SetWindowTextA(h, unit.props.data[kLabelCaption].c_str()); break;
    case kLabelBorder: ApplyBorder(unit); break;
    case kLabelFrameWidth:
        if (unit.props.number[kLabelFrameWidth] < kMinFrameWidth) unit.props.number[kLabelFrameWidth] = kMinFrameWidth;
        break;
    case kLabelFont: ApplyFont(unit); break;
    case kLabelPicture:
        ReleasePicture(unit.picture);
        unit.pictureTried = false;
        break;
    default: break;
    }
    InvalidateRect(h, nullptr, TRUE);
    UpdateWindow(h);
    return 0;
}

// Writes run on the window's thread, so painting never sees a half-changed record.
int WriteProperty(fw::WindowObject *object, int32_t index, const PropertyValue *value, uint32_t *output) {
    int result = 0;
    RunOnWindowThread(object->Handle(), [&] { result = WriteOnWindowThread(object, index, value, output); });
    return result;
}

int ReadProperty(fw::WindowObject *object, int32_t index, PropertyValue *value) {
    if (index < 0 || index + 8 > kLabelColumn) return 0;
    *value = ValueOf(static_cast<LabelUnit &>(*object).props, kTypeLabel, index);
    return 1;
}

uint8_t *Serialize(fw::WindowObject *object, uint32_t *size) {
    return WritePropertyData(Layout(), static_cast<LabelUnit &>(*object).props, size);
}

fw::WindowObject *Create(const CreateUnitArgs &a) {
    auto *unit = new LabelUnit;
    unit->windowId = a.windowId;
    unit->unitId = a.unitId;
    SetLabelDefaults(unit->props);
    if (!ReadPropertyData(Layout(), a.propertyData, a.propertyDataSize, unit->props)) {
        delete unit;
        return nullptr;
    }
    RegisterLabelClass();
    DWORD style, ex;
    LabelBorderStyles(unit->props.number[kLabelBorder], style, ex);
    HWND h = CreateWindowExA(ex, kLabelClass, unit->props.data[kLabelCaption].c_str(),
                             WS_CHILD | WS_CLIPSIBLINGS | a.extraStyle | style, a.left, a.top, a.width, a.height,
                             a.parent, reinterpret_cast<HMENU>(a.controlId), GetModuleHandleA(nullptr), nullptr);
    if (!h || !unit->SubclassWindow(h)) {
        if (h) DestroyWindow(h);
        delete unit;
        return nullptr;
    }
    ApplyFont(*unit);
    return unit;
}

} // namespace

LabelUnit::~LabelUnit() {
    if (font) DeleteObject(font);
    ReleasePicture(picture);
}

LRESULT LabelUnit::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_ERASEBKGND: return 1;
    case WM_PAINT: {
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(hwnd_, &ps);
        PaintLabel(*this, dc);
        EndPaint(hwnd_, &ps);
        return 0;
    }
    default: return Default(message, wParam, lParam);
    }
}

void LabelUnit::PostNcDestroy() {
    rt::RuntimeService(rt::kServiceUnitDestroyed, windowId, unitId);
    delete this;
}

void SetLabelDefaults(StoredProperties &p) {
    p = StoredProperties{};
    p.data[kLabelCaption] = rt::GbkLiteral("标签");
    p.number[kLabelFrameWidth] = 8;
    p.number[kLabelFrameColour1] = p.number[kLabelFrameColour3] = 0x808080;
    p.number[kLabelFrameColour2] = 0xffffff;
    p.number[kLabelBackground] = int32_t(0xff000000);
    p.number[kLabelLayout] = 1;
    p.number[kLabelGradientColour1] = p.number[kLabelGradientColour3] = 0x808080;
    p.number[kLabelGradientColour2] = 0xffffff;
    p.number[kLabelVAlign] = 1;
}

std::vector<COLORREF> UsedColours(const StoredProperties &p, int first) {
    std::vector<COLORREF> used;
    for (int i = first; i < first + 3; ++i)
        if (uint32_t(p.number[i]) != 0xff000000) used.push_back(COLORREF(uint32_t(p.number[i]) & 0xffffff));
    return used;
}

void LabelBorderStyles(int border, DWORD &style, DWORD &ex) {
    style = 0;
    ex = 0;
    switch (border) {
    case 1: ex = WS_EX_CLIENTEDGE; break;
    case 2: ex = WS_EX_DLGMODALFRAME; break;
    case 3: ex = WS_EX_STATICEDGE; break;
    case 4: ex = WS_EX_CLIENTEDGE | WS_EX_DLGMODALFRAME; break;
    case 5: style = WS_BORDER; break;
    default: break;
    }
}

static uint8_t *WalkLabelTexts(const uint8_t *data, uint32_t *size, TextVisitor visitor, void *parameter) {
    StoredProperties defaults;
    SetLabelDefaults(defaults);
    return WalkLayoutTexts(Layout(), defaults, data, size, visitor, parameter);
}

const void *LabelUnitInterface(int32_t request) {
    switch (request) {
    case kRequestCreate: return reinterpret_cast<const void *>(&Create);
    case kRequestWriteProperty: return reinterpret_cast<const void *>(&WriteProperty);
    case kRequestSerialize: return reinterpret_cast<const void *>(&Serialize);
    case kRequestReadProperty: return reinterpret_cast<const void *>(&ReadProperty);
    case kRequestWalkTexts: return reinterpret_cast<const void *>(&WalkLabelTexts);
    default: return nullptr;
    }
}

} // namespace units
