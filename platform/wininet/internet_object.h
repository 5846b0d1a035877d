// The records behind HINTERNET handles and the table that maps handles to them.
#pragma once

#include <wininet.h>

#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "proxy_config.h"
#include "redirect.h"
#include "transfer.h"

namespace platform::wininet {

struct Timeouts {
    DWORD connectMs;
    DWORD sendMs;
    DWORD receiveMs;
};

enum class ObjectKind { Session, Connection, Request };

struct RequestState {
    std::string verb;
    bool http10 = false;
    DWORD flags = 0;
    std::vector<std::string> openHeaders;  // Referer and Accept given when the request was opened
    Target target;
    std::unique_ptr<Transfer> transfer;     // null until sent, or after a failed send
};

struct InternetObject {
    ObjectKind kind;
    std::mutex lock;  // one caller at a time per handle
    Timeouts timeouts;
    DWORD securityFlags = 0;
    // Session
    std::string agent;
    ProxyConfig proxy;
    // Connection (and copied into requests)
    std::string host;
    INTERNET_PORT port = 0;
    // Request
    RequestState request;
};

using ObjectRef = std::shared_ptr<InternetObject>;

HINTERNET RegisterInternetObject(ObjectRef object);
// The object of a live handle of the given kind; null with the last error set otherwise.
ObjectRef LookUpInternetObject(HINTERNET handle, ObjectKind kind);
ObjectRef LookUpAnyInternetObject(HINTERNET handle);
bool CloseInternetObject(HINTERNET handle);

// Process-wide time-outs that new sessions start with.
Timeouts DefaultTimeouts();
void SetDefaultTimeouts(const Timeouts &timeouts);

}  // namespace platform::wininet
