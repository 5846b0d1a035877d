/* mmsystem: waveform sounds through PlaySound. */
#ifndef SORVEL_PLATFORM_MMSYSTEM_H
#define SORVEL_PLATFORM_MMSYSTEM_H

#include "windef.h"

#define SND_SYNC 0x0000
#define SND_ASYNC 0x0001
#define SND_NODEFAULT 0x0002
#define SND_MEMORY 0x0004
#define SND_LOOP 0x0008
#define SND_NOSTOP 0x0010
#define SND_NOWAIT 0x00002000L
#define SND_ALIAS 0x00010000L
#define SND_FILENAME 0x00020000L
#define SND_RESOURCE 0x00040004L
#define SND_PURGE 0x0040

#define WAVE_FORMAT_PCM 1
#define WAVE_FORMAT_IEEE_FLOAT 3
#define WAVE_FORMAT_EXTENSIBLE 0xFFFE

#ifdef __cplusplus
extern "C" {
#endif

BOOL WINAPI PlaySoundA(LPCSTR pszSound, HMODULE hmod, DWORD fdwSound);
BOOL WINAPI sndPlaySoundA(LPCSTR pszSound, UINT fuSound);

#ifdef __cplusplus
}
#endif

#endif
