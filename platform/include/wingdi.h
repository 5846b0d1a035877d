/* gdi32: fonts and device contexts (the window layer implements these). */
#ifndef SORVEL_PLATFORM_WINGDI_H
#define SORVEL_PLATFORM_WINGDI_H

#include "windef.h"

#ifdef __cplusplus
extern "C" {
#endif

#define LF_FACESIZE 32
typedef struct tagLOGFONTA {
    LONG lfHeight;
    LONG lfWidth;
    LONG lfEscapement;
    LONG lfOrientation;
    LONG lfWeight;
    BYTE lfItalic;
    BYTE lfUnderline;
    BYTE lfStrikeOut;
    BYTE lfCharSet;
    BYTE lfOutPrecision;
    BYTE lfClipPrecision;
    BYTE lfQuality;
    BYTE lfPitchAndFamily;
    CHAR lfFaceName[LF_FACESIZE];
} LOGFONTA, *PLOGFONTA, *LPLOGFONTA;

#define FW_NORMAL 400
#define FW_BOLD 700
#define DEFAULT_CHARSET 1
#define OUT_DEFAULT_PRECIS 0
#define CLIP_DEFAULT_PRECIS 0
#define PROOF_QUALITY 2
#define DEFAULT_GUI_FONT 17
#define LOGPIXELSX 88
#define LOGPIXELSY 90

int WINAPI GetObjectA(HANDLE h, int c, LPVOID pv);
int WINAPI GetDeviceCaps(HDC hdc, int index);
HDC WINAPI GetDC(HWND hWnd);
int WINAPI ReleaseDC(HWND hWnd, HDC hDC);

#ifdef __cplusplus
}
#endif

#endif
