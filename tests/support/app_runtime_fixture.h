// Starts the runtime over the application's own image data (constant area, libraries,
// declared functions) but without windows, for tests of application routines.
#pragma once

namespace testsupport {

// Idempotent.
void StartApplicationRuntime();

} // namespace testsupport
