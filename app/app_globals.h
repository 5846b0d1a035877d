// The program's globals, emptied at start and released at exit.
#pragma once

namespace app {

// The keywords to collect: a one-dimensional Text array.
extern void *KeywordList;

void CreateGlobals();
void ReleaseGlobals();

// A one-dimensional array block without elements.
void *NewEmptyArray();
// Frees KeywordList's texts and block, leaving it null.
void ReleaseKeywordList();

} // namespace app
