/* The Win32 subset of this platform. On Windows the SDK's own headers take its place. */
#ifndef SORVEL_PLATFORM_WINDOWS_H
#define SORVEL_PLATFORM_WINDOWS_H

#include "windef.h"
#include "winerror.h"
#include "winbase.h"
#include "winnls.h"
#include "winuser.h"
#include "wingdi.h"
#include "commdlg.h"
#include "commctrl.h"
#include "mmsystem.h"

#endif
