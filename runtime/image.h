// The application image: the header the runtime finds the application through, and
// the support-library records it lists.
#pragma once

#include <cstdint>

namespace rt {

struct TypedValue;
struct PropertyInfo;

// One record per data type of a support library (56 bytes on the original platform;
// pointer fields are pointer-sized here).
struct DataTypeInfo {
    const char *name;
    const char *englishName;
    const char *explanation;
    uint32_t memberCommandCount;
    const int32_t *memberCommands;
    uint32_t flags;
    uint32_t eventDescription[3];
    uint32_t propertyCount;
    const PropertyInfo *properties;
    const void *unitInterface; // the unit type's interface routine, or null
    uint32_t elementDescription[2];
};

// Data-type flags the runtime reads.
enum : uint32_t {
    kTypeFlagMayRaiseEvents = 0x04,
    kTypeFlagWindowUnit = 0x40,
    kTypeFlagObjectLike = 0x01000000,
};

// Support-library notification: (code, parameter 1, parameter 2) -> result, -1 = not handled.
using NotifyFunction = intptr_t (*)(int32_t code, intptr_t p1, intptr_t p2);
// The application's entry routine (start-up routine).
using EntryRoutine = int (*)();

// An application event routine: the arguments in order, one 64-bit word each; returns
// 1 when it returned a value, which it stores in *result, 0 when it returned none.
using EventRoutine = int (*)(const uint64_t *args, int32_t count, uint64_t *result);

// The image's code base points at the application's routine table; a window
// template's handler offset is an index into it.
struct EventRoutineTable {
    uint32_t count;
    const EventRoutine *routines;
};

// Addresses are pointer-sized; counts and sizes stay 32-bit words.
struct ImageHeader {
    uint32_t imageKind;
    uint32_t reservedA;
    uint32_t reservedB;
    uintptr_t codeBase;
    const uint8_t *constantArea;
    uint32_t constantAreaSize;
    const uint8_t *windowTemplates;
    uint32_t windowTemplateSize;
    uint32_t libraryCount;
    const struct LibraryInfo *const *libraries;
    uint32_t declaredFunctionCount;
    const char *const *declaredDllNames;
    const char *const *declaredFunctionNames;
};

constexpr uint32_t kLibraryRecordMarker = 20000101;

struct LibraryInfo {
    uint32_t marker;
    const char *identifier;
    uint32_t majorVersion;
    uint32_t minorVersion;
    uint32_t buildNumber;
    uint32_t furtherVersions[4];
    const char *name;
    uint32_t one;
    const char *text;
    uint32_t flags;
    const char *texts[8];
    uint32_t dataTypeCount;
    const DataTypeInfo *dataTypes;
    uint32_t reserved1[2];
    uint32_t commandCount;
    uint32_t reserved2;
    const void *const *commands;
    uint32_t reserved3[2];
    NotifyFunction notify;
};

} // namespace rt
