#include <time.h>

#include <cerrno>

#include "winbase.h"

extern "C" DWORD WINAPI GetTickCount(void) {
    timespec now;
    clock_gettime(CLOCK_MONOTONIC, &now);
    return DWORD(uint64_t(now.tv_sec) * 1000 + uint64_t(now.tv_nsec) / 1000000);
}

extern "C" void WINAPI Sleep(DWORD milliseconds) {
    timespec wait{time_t(milliseconds / 1000), long(milliseconds % 1000) * 1000000L};
    while (nanosleep(&wait, &wait) != 0 && errno == EINTR) {
    }
}

extern "C" void WINAPI GetLocalTime(LPSYSTEMTIME out) {
    timespec now;
    clock_gettime(CLOCK_REALTIME, &now);
    tm local;
    localtime_r(&now.tv_sec, &local);
    out->wYear = WORD(local.tm_year + 1900);
    out->wMonth = WORD(local.tm_mon + 1);
    out->wDayOfWeek = WORD(local.tm_wday);
    out->wDay = WORD(local.tm_mday);
    out->wHour = WORD(local.tm_hour);
    out->wMinute = WORD(local.tm_min);
    out->wSecond = WORD(local.tm_sec > 59 ? 59 : local.tm_sec);
    out->wMilliseconds = WORD(now.tv_nsec / 1000000);
}
