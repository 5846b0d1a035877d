// Icons the runtime keeps: the entries of the icon-record list (services 2019 to 2021)
// and the program's default icons (service 1000).
#pragma once

#include "runtime_app.h"

namespace rt {

// Destroys the icon an entry begins with, then frees the entry.
void FreeIconRecord(void *record);
// Destroys the default program icons if they were loaded; a later request loads them again.
void DestroyDefaultIcons(RuntimeApp &app);

} // namespace rt
