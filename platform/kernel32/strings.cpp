#include <cstring>

#include "winbase.h"

extern "C" int WINAPI lstrlenA(LPCSTR s) { return s ? int(std::strlen(s)) : 0; }
