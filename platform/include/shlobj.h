/* The shell's folder locations (shell32). */
#pragma once

#include "windows.h"

#define CSIDL_LOCAL_APPDATA 0x001c
#define CSIDL_FLAG_CREATE 0x8000
#define SHGFP_TYPE_CURRENT 0

#ifdef __cplusplus
extern "C" {
#endif
HRESULT WINAPI SHGetFolderPathA(HWND hwnd, int csidl, HANDLE hToken, DWORD dwFlags, LPSTR pszPath);
#ifdef __cplusplus
}
#endif
