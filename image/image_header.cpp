// The header through which the runtime finds the application.
#include "image.h"
#include "image_data.h"
#include "libraries.h"
#include "main_window.h"
#include "MainWindowSet.h"
#include "window_set.h"
#include "window_services.h"

extern const rt::ImageHeader ApplicationImageHeader = {
    3,                                           // image kind
    0,                                           // reserved word A
    158506,                                      // reserved word B
    reinterpret_cast<uintptr_t>(&app::ApplicationEventRoutines), // code base: the event routine table
    image::ConstantArea,
    image::kConstantAreaSize,
    image::MainWindowSet,
    image::kMainWindowSetSize,
    image::kLibraryCount,
    image::LibraryPointers(),
    image::kDeclaredFunctionCount,
    image::DeclaredDllNames,
    image::DeclaredFunctionNames,
};

// The unit framework's window-set table.
extern const rt::WindowSetOperations *const ApplicationWindowSet = &units::WindowSetTable;
