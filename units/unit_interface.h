// What a unit type offers the unit framework: its property table and one interface
// routine that answers a request number with the routine serving it.
//
// What the framework expects of a unit type's window object:
// - It keeps its window and unit identifiers; after WM_NCDESTROY it calls service 2000
//   (window, unit; unit 0 for the window's own unit) and deletes itself.
// - The window's menu, accelerator table (Window::menu, Window::accelerators) and the
//   units' cursors belong to the framework: service 2000 destroys them.
// - The window unit's pre-filter calls CallMessageHooks and RaiseCommonEvent
//   (common_events.h) for messages of its window and units, and shows the window after
//   a load through request 7 (kWindowShowAfterLoad).
#pragma once

#include <cstdint>

#include "image.h"
#include "windows.h"

namespace fw {
class WindowObject;
}

namespace rt {

// One per property of a unit type (20 bytes on the original platform).
struct PropertyInfo {
    const char *name;
    const char *englishName;
    const char *explanation;
    uint16_t valueType;
    uint16_t state;
    const void *pickList;
};

} // namespace rt

namespace units {

using rt::PropertyInfo;

// The unit type's interface: request number -> routine, or null.
using UnitInterface = const void *(*)(int32_t request);

enum UnitRequest : int32_t {
    kRequestCreate = 1,
    kRequestWriteProperty = 4,
    kRequestSerialize = 5,
    kRequestReadProperty = 6,
    kRequestWindowService = 7,
    kRequestKeepsKey = 8,
    kRequestWalkTexts = 9,
    kRequestIsDefaultButton = 10,
    kRequestMessageHook = 11,
};

// Value record of requests 4 and 6: a 32-bit value and 0; a 64-bit value; a text
// pointer and 0; a byte pointer and length; a LOGFONT pointer and 60.
struct PropertyValue {
    uintptr_t first;
    uintptr_t second;
};

// Request 1. Returns the unit's window object or null.
struct CreateUnitArgs {
    const uint8_t *propertyData;
    uint32_t propertyDataSize;
    DWORD extraStyle;
    HWND parent;
    UINT_PTR controlId;
    HMENU menu;
    int left, top, width, height;
    uint32_t windowId;
    uint32_t unitId;
    uint32_t zero[2];
};
using CreateUnitRoutine = fw::WindowObject *(*)(const CreateUnitArgs &args);
// Request 4: (object, property - 8, value, optional output word) -> 1 to rebuild.
using WritePropertyRoutine = int (*)(fw::WindowObject *unit, int32_t property, const PropertyValue *value,
                                     uint32_t *output);
// Request 5: the unit's current properties as new property data (heap block owned by
// the caller, freed with delete[]); size out.
using SerializeRoutine = uint8_t *(*)(fw::WindowObject *unit, uint32_t *size);
// Request 6: (object, property - 8, value out) -> 1 when served.
using ReadPropertyRoutine = int (*)(fw::WindowObject *unit, int32_t property, PropertyValue *value);
// Request 7 (window unit only): a window service.
using WindowServiceRoutine = intptr_t (*)(fw::WindowObject *window, int32_t service, intptr_t parameter);
enum WindowServiceCode : int32_t {
    kWindowShowAfterLoad = 1,         // parameter: 1 on a reload
    kWindowIsMarkedForDestruction = 2, // answers 1 when marked
    kWindowMarkForDestruction = 3,     // the window goes once its queued messages are done
    kWindowSetTrayIcon = 4,            // parameter: an HICON the window takes over, or null to remove
};
// Request 8: whether the unit keeps the key for itself.
using KeepsKeyRoutine = int (*)(fw::WindowObject *unit, UINT key);
// Request 11: a message hook of the window's pre-filter; true when it consumed the message.
using MessageHookRoutine = int (*)(fw::WindowObject *unit, MSG *msg);

// Data-type flags.
enum : uint32_t {
    kFlagAlways = 0x80000000,
    kFlagMayRaiseEvents = 0x04,
    kFlagNeverRebuilt = 0x10,
    kFlagHasMessageHook = 0x20,
    kFlagWindowUnit = 0x40,
    kFlagMovesChildren = 0x80,
    kFlagPaged = 0x100,
    kFlagOption = 0x400,
    kFlagNeverShown = 0x8000,
    kFlagNoPageFocus = 0x10000,
    kFlagDocked = 0x100000,
    kFlagOwnsDescendants = 0x200200,
    kFlagDragsWindow = 0x04000000,
};

// Property value types.
enum PropertyValueType : uint16_t {
    kValueInteger = 1000,
    kValuePixels = 1001,
    kValueWide = 1002,
    kValueLogical = 1003,
    kValueWide2 = 1004,
    kValueText = 1005,
    kValuePick = 1006,
    kValuePicture = 1009,
    kValueIcon = 1010,
    kValuePointer = 1011,
    kValueSound = 1012,
    kValueFont = 1013,
    kValueColour = 1014,
    kValueColour2 = 1015,
    kValueFileName = 1016,
    kValueColourOrSystem = 1017,
    kValueSource = 1018,
    kValueColumn = 1020,
    kValueBytes1023 = 1023,
    kValueBytes1024 = 1024,
};

// Unit type codes of the core library.
enum : uint32_t {
    kTypeWindow = 0x10001,
    kTypeMenuItem = 0x10003,
    kTypeEditBox = 0x10005,
    kTypeLabel = 0x1000a,
    kTypeButton = 0x1000b,
    kTypeCommonDialog = 0x1001f,
    kTypeObject = 0x10030,
    kTypeVariant = 0x10031,
};

} // namespace units
