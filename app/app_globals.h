// The program's globals, emptied at start and released at exit.
#pragma once

namespace app {

// The keywords to collect: a one-dimensional Text array.
extern void *KeywordList;

void CreateGlobals();
void ReleaseGlobals();

} // namespace app
