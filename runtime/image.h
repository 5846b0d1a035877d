// The application image: the header the runtime finds the application through, and
// the support-library records it lists.
#pragma once

#include <cstdint>

namespace rt {

struct TypedValue;
struct DataTypeInfo;

// Support-library notification: (code, parameter 1, parameter 2) -> result, -1 = not handled.
using NotifyFunction = intptr_t (*)(int32_t code, intptr_t p1, intptr_t p2);
// The application's entry routine (start-up routine).
using EntryRoutine = int (*)();

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
