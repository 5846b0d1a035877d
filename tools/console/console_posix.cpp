#include "console.h"

#include <cstdlib>

namespace console {

std::vector<std::string> Utf8Arguments(int argc, char **argv) { return {argv + 1, argv + argc}; }

// Without a display the platform's MessageBoxA already writes to stderr.
void SetUpConsole() { setenv("QT_QPA_PLATFORM", "offscreen", 0); }

} // namespace console
