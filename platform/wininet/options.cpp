// InternetSetOptionA and InternetQueryOptionA: time-outs and security flags. A null
// handle stands for the process, whose time-outs new sessions start with.
#include <winbase.h>

#include "internet_object.h"

using namespace platform::wininet;

namespace {

DWORD *TimeoutField(Timeouts &timeouts, DWORD option) {
    switch (option) {
    case INTERNET_OPTION_CONNECT_TIMEOUT: return &timeouts.connectMs;
    case INTERNET_OPTION_SEND_TIMEOUT:
    case INTERNET_OPTION_DATA_SEND_TIMEOUT: return &timeouts.sendMs;
    case INTERNET_OPTION_RECEIVE_TIMEOUT:
    case INTERNET_OPTION_DATA_RECEIVE_TIMEOUT: return &timeouts.receiveMs;
    default: return nullptr;
    }
}

bool Fail(DWORD error) {
    SetLastError(error);
    return false;
}

// The DWORD an option of the object (or of the process) refers to.
DWORD *OptionField(InternetObject *object, Timeouts &process, DWORD option) {
    if (option == INTERNET_OPTION_SECURITY_FLAGS)
        return object && object->kind == ObjectKind::Request ? &object->securityFlags : nullptr;
    return TimeoutField(object ? object->timeouts : process, option);
}

}  // namespace

extern "C" BOOL WINAPI InternetSetOptionA(HINTERNET hInternet, DWORD dwOption, LPVOID lpBuffer,
                                          DWORD dwBufferLength) {
    ObjectRef object = hInternet ? LookUpAnyInternetObject(hInternet) : nullptr;
    if (hInternet && !object) return FALSE;
    if (!lpBuffer) return Fail(ERROR_INVALID_PARAMETER);
    if (dwBufferLength < sizeof(DWORD)) return Fail(ERROR_INTERNET_BAD_OPTION_LENGTH);
    Timeouts process = DefaultTimeouts();
    std::unique_lock<std::mutex> guard;
    if (object) guard = std::unique_lock<std::mutex>(object->lock);
    DWORD *field = OptionField(object.get(), process, dwOption);
    if (!field) return Fail(ERROR_INTERNET_INVALID_OPTION);
    *field = *static_cast<DWORD *>(lpBuffer);
    if (!object) SetDefaultTimeouts(process);
    return TRUE;
}

extern "C" BOOL WINAPI InternetQueryOptionA(HINTERNET hInternet, DWORD dwOption, LPVOID lpBuffer,
                                            LPDWORD lpdwBufferLength) {
    ObjectRef object = hInternet ? LookUpAnyInternetObject(hInternet) : nullptr;
    if (hInternet && !object) return FALSE;
    if (!lpdwBufferLength) return Fail(ERROR_INVALID_PARAMETER);
    Timeouts process = DefaultTimeouts();
    std::unique_lock<std::mutex> guard;
    if (object) guard = std::unique_lock<std::mutex>(object->lock);
    DWORD *field = OptionField(object.get(), process, dwOption);
    if (!field) return Fail(ERROR_INTERNET_INVALID_OPTION);
    if (!lpBuffer || *lpdwBufferLength < sizeof(DWORD)) {
        *lpdwBufferLength = sizeof(DWORD);
        return Fail(ERROR_INSUFFICIENT_BUFFER);
    }
    *static_cast<DWORD *>(lpBuffer) = *field;
    *lpdwBufferLength = sizeof(DWORD);
    return TRUE;
}
