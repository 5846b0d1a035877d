// Per-thread COM state shared by the ole32 modules.
#pragma once

namespace ole {

// True when the calling thread has initialised COM and not yet uninitialised it.
bool ComInitializedOnThread();

} // namespace ole
