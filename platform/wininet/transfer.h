// One HTTP exchange driven by libcurl: the request goes out as given, the response
// head is collected, and the body is handed out as the caller reads it.
#pragma once

#include <windef.h>

#include <chrono>
#include <memory>
#include <string>
#include <vector>

#include <curl/curl.h>

namespace platform::wininet {

constexpr DWORD noTimeout = 0xFFFFFFFF;  // 0 means the same

struct TransferPlan {
    std::string origin;   // scheme://host:port, where to connect
    std::string path;     // origin-form path and query, for cookie matching
    std::string target;   // request target, sent as it is
    std::string verb;
    bool http10 = false;
    std::vector<std::string> headers;  // complete "Name: value" lines in wire order
    bool hasBody = false;
    std::string body;
    std::string proxy;    // host:port, empty = direct
    bool cookies = false;
    bool verifyPeer = true;
    bool verifyHost = true;
    DWORD connectMs = 0;
    DWORD sendMs = 0;
    DWORD receiveMs = 0;
};

struct ResponseHead {
    std::string statusLine;
    std::vector<std::string> lines;  // header lines as received, without line ends
    int status = 0;
};

struct Transfer {
    CURLM *multi = nullptr;
    CURL *easy = nullptr;
    curl_slist *headerList = nullptr;
    ResponseHead head;
    bool headComplete = false;
    std::string pending;  // body bytes received and not yet read
    size_t pendingOffset = 0;
    bool finished = false;
    CURLcode result = CURLE_OK;
    bool started = false;  // connected and sending: the idle clock runs
    std::chrono::steady_clock::time_point lastActivity;
    curl_off_t bodySize = 0;
    curl_off_t uploaded = 0;
    DWORD sendMs = 0;
    DWORD receiveMs = 0;

    ~Transfer();
};

std::unique_ptr<Transfer> StartTransfer(const TransferPlan &plan);
// Waits for the final response head. Returns 0 or a WinInet error.
DWORD AwaitResponseHead(Transfer &transfer);
// Fills up to size bytes, fewer only at the end of the body. Returns 0 or a WinInet
// error; an error is reported only once the bytes before it have been read.
DWORD ReadBody(Transfer &transfer, char *buffer, DWORD size, DWORD &count);
DWORD ErrorFromCurl(CURLcode code);

}  // namespace platform::wininet
