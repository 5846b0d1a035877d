// The main window's handlers and the application's event routine table, which the
// image's code base points at (handler offsets of the window template index it).
#pragma once

#include <cstdint>
#include <string>

#include "image.h"
#include "skin.h"

namespace app {


void SaveResults();
void ClearResults();
void SelectAllResults();
void ExportResults();

// Written to path + ".txt" unless the name already ends in ".txt" (any case).
std::string ExportPath(const std::string &chosen);

extern const rt::EventRoutineTable ApplicationEventRoutines;

} // namespace app
