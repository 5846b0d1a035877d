#include "transfer.h"

#include <winerror.h>
#include <wininet.h>

#include <cstring>

#include "cookie_store.h"
#include "curl_library.h"
#include "header_block.h"

namespace platform::wininet {
namespace {

using Clock = std::chrono::steady_clock;
constexpr int pollStepMs = 50;

std::string StripLineEnd(const char *data, size_t size) {
    while (size > 0 && (data[size - 1] == '\n' || data[size - 1] == '\r')) --size;
    return std::string(data, size);
}

int StatusOf(const std::string &statusLine) {
    size_t space = statusLine.find(' ');
    if (space == std::string::npos) return 0;
    return std::atoi(statusLine.c_str() + space + 1);
}

size_t OnHeader(char *data, size_t size, size_t count, void *user) {
    auto &transfer = *static_cast<Transfer *>(user);
    transfer.lastActivity = Clock::now();
    if (transfer.headComplete) return size * count;  // trailers of a chunked body
    std::string line = StripLineEnd(data, size * count);
    if (line.compare(0, 5, "HTTP/") == 0) {
        transfer.head = ResponseHead{line, {}, StatusOf(line)};
    } else if (line.empty()) {
        // An interim 1xx response is followed by the real one.
        transfer.headComplete = transfer.head.status >= 200 || transfer.head.status == 101;
    } else {
        transfer.head.lines.push_back(line);
    }
    return size * count;
}

size_t OnBody(char *data, size_t size, size_t count, void *user) {
    auto &transfer = *static_cast<Transfer *>(user);
    transfer.lastActivity = Clock::now();
    transfer.pending.append(data, size * count);
    return size * count;
}

int OnProgress(void *user, curl_off_t, curl_off_t, curl_off_t, curl_off_t uploaded) {
    auto &transfer = *static_cast<Transfer *>(user);
    if (uploaded != transfer.uploaded) {
        transfer.uploaded = uploaded;
        transfer.lastActivity = Clock::now();
    }
    return 0;
}

// libcurl sends its own Accept, Expect, Content-Type and Proxy-Connection lines unless
// told not to; a header with an empty value is written "Name;" in its list. It also puts
// a given Host line first unless the first Host entry of the list clears it, after which
// the next Host entry goes out where it stands.
curl_slist *HeaderListFor(const TransferPlan &plan) {
    curl_slist *list = Curl().slist_append(nullptr, "Host:");
    for (const std::string &line : plan.headers) {
        size_t colon = line.find(':');
        bool emptyValue = line.find_first_not_of(" \t", colon + 1) == std::string::npos;
        list = Curl().slist_append(list, emptyValue ? (line.substr(0, colon) + ";").c_str() : line.c_str());
    }
    for (const char *name : {"Accept", "Expect", "Content-Type", "Proxy-Connection", "Transfer-Encoding"})
        if (!HasHeader(plan.headers, name)) list = Curl().slist_append(list, (std::string(name) + ":").c_str());
    return list;
}

void SetMethod(CURL *easy, const TransferPlan &plan) {
    bool alwaysLength = plan.verb == "POST" || plan.verb == "PUT";
    if (plan.verb == "HEAD") {
        Curl().easy_setopt(easy, CURLOPT_NOBODY, 1L);
    } else if (plan.hasBody || alwaysLength) {
        Curl().easy_setopt(easy, CURLOPT_POSTFIELDSIZE_LARGE, static_cast<curl_off_t>(plan.body.size()));
        Curl().easy_setopt(easy, CURLOPT_COPYPOSTFIELDS, plan.body.data());
        if (plan.verb != "POST") Curl().easy_setopt(easy, CURLOPT_CUSTOMREQUEST, plan.verb.c_str());
    } else if (plan.verb != "GET") {
        Curl().easy_setopt(easy, CURLOPT_CUSTOMREQUEST, plan.verb.c_str());
    }
}

// The address libcurl matches cookies against; the request line itself comes from the
// target. A path its parser refuses is left out (cookies then match as for "/").
std::string CookieUrl(const TransferPlan &plan) {
    std::string full = plan.origin + plan.path;
    CURLU *url = Curl().url();
    bool parsed = url && Curl().url_set(url, CURLUPART_URL, full.c_str(), 0) == CURLUE_OK;
    Curl().url_cleanup(url);
    return parsed ? full : plan.origin + "/";
}

void SetConnection(CURL *easy, const TransferPlan &plan) {
    Curl().easy_setopt(easy, CURLOPT_URL, CookieUrl(plan).c_str());
    Curl().easy_setopt(easy, CURLOPT_REQUEST_TARGET, plan.target.c_str());
    Curl().easy_setopt(easy, CURLOPT_HTTP_VERSION, plan.http10 ? CURL_HTTP_VERSION_1_0 : CURL_HTTP_VERSION_1_1);
    // An empty proxy also keeps libcurl from taking one from the environment.
    Curl().easy_setopt(easy, CURLOPT_PROXY, plan.proxy.empty() ? "" : ("http://" + plan.proxy).c_str());
    Curl().easy_setopt(easy, CURLOPT_SUPPRESS_CONNECT_HEADERS, 1L);
    Curl().easy_setopt(easy, CURLOPT_HTTP_CONTENT_DECODING, 0L);
    Curl().easy_setopt(easy, CURLOPT_NOSIGNAL, 1L);
    Curl().easy_setopt(easy, CURLOPT_SSL_VERIFYPEER, plan.verifyPeer ? 1L : 0L);
    Curl().easy_setopt(easy, CURLOPT_SSL_VERIFYHOST, plan.verifyHost ? 2L : 0L);
    if (plan.connectMs != 0 && plan.connectMs != noTimeout)
        Curl().easy_setopt(easy, CURLOPT_CONNECTTIMEOUT_MS, static_cast<long>(plan.connectMs));
    if (plan.cookies) AttachCookieStore(easy);
}

void SetCallbacks(CURL *easy, Transfer &transfer) {
    Curl().easy_setopt(easy, CURLOPT_HEADERFUNCTION, OnHeader);
    Curl().easy_setopt(easy, CURLOPT_HEADERDATA, &transfer);
    Curl().easy_setopt(easy, CURLOPT_WRITEFUNCTION, OnBody);
    Curl().easy_setopt(easy, CURLOPT_WRITEDATA, &transfer);
    Curl().easy_setopt(easy, CURLOPT_XFERINFOFUNCTION, OnProgress);
    Curl().easy_setopt(easy, CURLOPT_XFERINFODATA, &transfer);
    Curl().easy_setopt(easy, CURLOPT_NOPROGRESS, 0L);
}

bool IsUnlimited(DWORD ms) {
    return ms == 0 || ms == noTimeout;
}

void Finish(Transfer &transfer, CURLcode result) {
    transfer.finished = true;
    transfer.result = result;
    Curl().multi_remove_handle(transfer.multi, transfer.easy);
}

// Once the connection stands, a pause longer than the send or receive time-out ends it.
void CheckIdle(Transfer &transfer) {
    if (!transfer.started) {
        curl_off_t pretransfer = 0;
        Curl().easy_getinfo(transfer.easy, CURLINFO_PRETRANSFER_TIME_T, &pretransfer);
        if (pretransfer <= 0) return;  // still connecting: the connect time-out applies
        transfer.started = true;
        transfer.lastActivity = Clock::now();
    }
    DWORD limit = transfer.uploaded < transfer.bodySize ? transfer.sendMs : transfer.receiveMs;
    if (IsUnlimited(limit)) return;
    auto idle = std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - transfer.lastActivity);
    if (idle.count() >= static_cast<long long>(limit)) Finish(transfer, CURLE_OPERATION_TIMEDOUT);
}

void Pump(Transfer &transfer) {
    int running = 0;
    Curl().multi_perform(transfer.multi, &running);
    int left = 0;
    while (CURLMsg *message = Curl().multi_info_read(transfer.multi, &left))
        if (message->msg == CURLMSG_DONE) Finish(transfer, message->data.result);
    if (transfer.finished) return;
    CheckIdle(transfer);
    if (!transfer.finished) Curl().multi_poll(transfer.multi, nullptr, 0, pollStepMs, nullptr);
}

}  // namespace

Transfer::~Transfer() {
    if (multi && easy && !finished) Curl().multi_remove_handle(multi, easy);
    if (easy) Curl().easy_cleanup(easy);
    if (multi) Curl().multi_cleanup(multi);
    Curl().slist_free_all(headerList);
}

std::unique_ptr<Transfer> StartTransfer(const TransferPlan &plan) {
    auto transfer = std::make_unique<Transfer>();
    transfer->easy = Curl().easy_init();
    transfer->multi = Curl().multi_init();
    if (!transfer->easy || !transfer->multi) return nullptr;
    transfer->headerList = HeaderListFor(plan);
    transfer->bodySize = static_cast<curl_off_t>(plan.body.size());
    transfer->sendMs = plan.sendMs;
    transfer->receiveMs = plan.receiveMs;
    SetConnection(transfer->easy, plan);
    SetMethod(transfer->easy, plan);
    SetCallbacks(transfer->easy, *transfer);
    Curl().easy_setopt(transfer->easy, CURLOPT_HTTPHEADER, transfer->headerList);
    if (Curl().multi_add_handle(transfer->multi, transfer->easy) != CURLM_OK) return nullptr;
    return transfer;
}

DWORD AwaitResponseHead(Transfer &transfer) {
    while (!transfer.headComplete && !transfer.finished) Pump(transfer);
    if (transfer.headComplete) return ERROR_SUCCESS;
    return transfer.result == CURLE_OK ? ERROR_HTTP_INVALID_SERVER_RESPONSE : ErrorFromCurl(transfer.result);
}

DWORD ReadBody(Transfer &transfer, char *buffer, DWORD size, DWORD &count) {
    count = 0;
    // The receive time-out bounds one wait; time the caller spent between reads is not it.
    transfer.lastActivity = Clock::now();
    while (count < size) {
        size_t available = transfer.pending.size() - transfer.pendingOffset;
        if (available > 0) {
            size_t take = std::min<size_t>(available, size - count);
            std::memcpy(buffer + count, transfer.pending.data() + transfer.pendingOffset, take);
            transfer.pendingOffset += take;
            count += static_cast<DWORD>(take);
            continue;
        }
        transfer.pending.clear();
        transfer.pendingOffset = 0;
        if (transfer.finished) break;
        Pump(transfer);
    }
    if (count > 0 || transfer.result == CURLE_OK) return ERROR_SUCCESS;
    return ErrorFromCurl(transfer.result);
}

DWORD ErrorFromCurl(CURLcode code) {
    switch (code) {
    case CURLE_OK: return ERROR_SUCCESS;
    case CURLE_COULDNT_RESOLVE_HOST:
    case CURLE_COULDNT_RESOLVE_PROXY: return ERROR_INTERNET_NAME_NOT_RESOLVED;
    case CURLE_COULDNT_CONNECT: return ERROR_INTERNET_CANNOT_CONNECT;
    case CURLE_OPERATION_TIMEDOUT: return ERROR_INTERNET_TIMEOUT;
    case CURLE_PARTIAL_FILE: return ERROR_INTERNET_CONNECTION_ABORTED;
    case CURLE_RECV_ERROR:
    case CURLE_SEND_ERROR: return ERROR_INTERNET_CONNECTION_RESET;
    case CURLE_GOT_NOTHING:
    case CURLE_WEIRD_SERVER_REPLY:
    case CURLE_UNSUPPORTED_PROTOCOL: return ERROR_HTTP_INVALID_SERVER_RESPONSE;
    case CURLE_PEER_FAILED_VERIFICATION: return ERROR_INTERNET_INVALID_CA;
    case CURLE_SSL_CONNECT_ERROR: return ERROR_INTERNET_SECURITY_CHANNEL_ERROR;
    case CURLE_URL_MALFORMAT: return ERROR_INTERNET_INVALID_URL;
    case CURLE_OUT_OF_MEMORY: return ERROR_NOT_ENOUGH_MEMORY;
    default: return ERROR_INTERNET_INTERNAL_ERROR;
    }
}

}  // namespace platform::wininet
