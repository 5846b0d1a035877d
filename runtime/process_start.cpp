// Process start: static construction makes the one runtime application object from
// the program's image, entry routine and window set; the framework then runs it.
#include "runtime_app.h"

extern const rt::ImageHeader ApplicationImageHeader;
extern const rt::WindowSetOperations *const ApplicationWindowSet;
int ApplicationEntry();

namespace {
rt::RuntimeApp theApp(&ApplicationImageHeader, &ApplicationEntry, ApplicationWindowSet);
}

// The process ends as soon as the framework's exit step is done: worker threads may
// still run, and static destruction must not pull their ground away.
int main() { ExitProcess(UINT(fw::FrameworkMain())); }
