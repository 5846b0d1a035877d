// The doors into the runtime: the command call convention, the 13 helper slots, the
// 7 handlers and the service entry with its codes.
#pragma once

#include <cstdint>

#include "value.h"
#include "windows.h"

namespace rt {

// A command: (zeroed result record, argument count, first argument record).
using CommandRoutine = void (*)(TypedValue *result, int32_t count, TypedValue *args);

// The runtime service entry handed to every support library with notify code 1.
using ServiceEntry = intptr_t (*)(int32_t code, intptr_t p1, intptr_t p2);

// Handler arguments travel as machine words; the result is a 64-bit pair.
using HandlerRoutine = uint64_t (*)(const uintptr_t *args);

struct RuntimeHelperTable {
    void (*reportErrorByNumber)(int32_t number);                                        // 0
    // Declared function `number` with its argument words; the result register.
    uint64_t (*callDeclared)(int32_t number, const uintptr_t *args, int32_t count);   // 1
    TypedValue (*callLibraryCommand)(CommandRoutine, int32_t count, TypedValue *args);  // 2
    TypedValue (*callCoreCommand)(CommandRoutine, int32_t count, TypedValue *args);     // 3
    uint64_t (*readUnitProperty)(uint32_t window, uint32_t unit, int32_t property, int32_t index); // 4
    void (*writeUnitProperty)(uint32_t window, uint32_t unit, int32_t property, int32_t index,
                              uint32_t low, uint32_t high);                             // 5
    void *(*allocate)(intptr_t bytes);                                                  // 6
    void *(*reallocate)(void *block, intptr_t bytes);                                   // 7
    void (*free)(void *block);                                                          // 8
    void (*exit)(int32_t code);                                                         // 9
    void (*runMainLoop)();                                                              // 10
    void (*loadStartupWindow)(uint32_t window);                                         // 11
    uint64_t (*handler)(int32_t number, const uintptr_t *args);                         // 12
};

// The table the application reaches the runtime through.
extern const RuntimeHelperTable RuntimeHelpers;

enum HandlerNumber : int32_t {
    kHandlerFindNextFile = 0,
    kHandlerEndFileSearch = 1,
    kHandlerMakeArrayWritable = 2,
    kHandlerRegisterCleanUp = 3,
    kHandlerReadObjectProperty = 4,
    kHandlerWriteObjectProperty = 5,
    kHandlerInitialize = 6,
};

enum NotifyCode : int32_t {
    kNotifyStart = 1,
    kNotifyEnd = 6,
    kNotifyTypeInterface = 8,
    kNotifyPlaySound = 13, // the core library's own: as service 2015
};

enum ServiceCode : int32_t {
    kServiceDefaultIcon = 1000,
    kServiceWindowList = 1001,
    kServiceDataTypeInfo = 1002,
    kServicePictureToBitmap = 1003,
    kServiceConstant1 = 1004,
    kServiceConstant5 = 1005,
    kServicePath = 1006,
    kServiceWindowObjectOfHandle = 1007,
    kServiceDestroyWindowObject = 1008,
    kServiceDetachWindowObject = 1009,
    kServiceHandleOfWindowObject = 1010,
    kServiceAttachWindowObject = 1011,
    kServiceRegisterIdle = 1012,
    kServiceUnregisterIdle = 1013,
    kServiceIsUnitWindow = 1014,
    kServiceUnitDestroyed = 2000,
    kServiceToInteger = 2001,
    kServiceNone2002 = 2002,
    kServiceRunDirectory = 2003,
    kServiceExecutableName = 2004,
    kServiceLoadWindow = 2005,
    kServiceUnitObject = 2006,
    kServiceUnitObjectOrReport = 2007,
    kServiceRaiseEvent = 2008,
    kServiceSuppressEvents = 2009,
    kServiceResumeEvents = 2010,
    kServiceRegistryQuery = 2011,
    kServiceRegistryAdd = 2012,
    kServiceRegistryRemove = 2013,
    kServiceNotifyObjects = 2014,
    kServicePlaySound = 2015,
    kServiceStopSound = 2016,
    kServiceEventSource = 2017,
    kServiceProcessMessages = 2018,
    kServiceIconRecordAdd = 2019,
    kServiceIconRecordRemove = 2020,
    kServiceIconRecordTest = 2021,
    kServiceUnitType = 2022,
    kServiceFreeArray = 2023,
    kServiceAllocate = 2024,
    kServiceFree = 2025,
    kServiceReallocate = 2026,
    kServiceReportError = 2027,
    kServiceExit = 2028,
    kServiceDataTypeKind = 2029,
    kServiceImageKind = 2030,
    kServiceRaiseTypedEvent = 2031,
    kServiceWindowCount = 2032,
    kServiceWindowHandleAt = 2033,
    kServiceBitmapToPicture = 2034,
    kServiceClearObject = 2035,
    kServiceInterfaceId = 2036,
    kServiceWindowSet2037 = 2037,
    kServiceWindowSet2038 = 2038,
    kServiceWindowSet2039 = 2039,
    kServiceWindowSet2040 = 2040,
};

// Sound data for service 2015 (p1 points to it; p2 is the play mode).
struct SoundData {
    const uint8_t *bytes;
    uint32_t sizeBytes;
};

// Service 2005's argument record (p1 points to it).
struct LoadWindowRequest {
    uint32_t window;
    int32_t reload;
    int32_t modal;
    HWND owner; // null: no owner; ignored by a modal load
};

// The runtime's service entry (the routine handed out with notify code 1).
intptr_t RuntimeService(int32_t code, intptr_t p1, intptr_t p2);

} // namespace rt
