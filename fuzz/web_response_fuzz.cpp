// The response side of the collector's page fetch: each input is the whole answer
// (status line, header block, body) of a loopback source inside this process, read by
// FetchWebPage through the declared WinInet calls: cookies, Location, charset. The
// fetch never follows a redirect, so nothing leaves the machine.
#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <mutex>
#include <string>
#include <thread>

#include "app_runtime_fixture.h"
#include "fetch_web_page.h"

namespace {

class LoopbackSource {
public:
    LoopbackSource() {
        listener_ = socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t length = sizeof address;
        bind(listener_, reinterpret_cast<sockaddr *>(&address), length);
        listen(listener_, 16);
        getsockname(listener_, reinterpret_cast<sockaddr *>(&address), &length);
        port_ = ntohs(address.sin_port);
        std::thread([this] { Serve(); }).detach(); // lives as long as the process
    }
    std::string Address() const { return "http://127.0.0.1:" + std::to_string(port_) + "/page"; }
    void SetAnswer(std::string answer) {
        std::lock_guard<std::mutex> hold(lock_);
        answer_ = std::move(answer);
    }

private:
    void Serve() {
        for (;;) {
            int fd = accept(listener_, nullptr, nullptr);
            if (fd < 0) continue;
            ReadRequestHead(fd);
            std::string answer;
            {
                std::lock_guard<std::mutex> hold(lock_);
                answer = answer_;
            }
            for (size_t at = 0; at < answer.size();) {
                ssize_t n = send(fd, answer.data() + at, answer.size() - at, MSG_NOSIGNAL);
                if (n <= 0) break;
                at += size_t(n);
            }
            shutdown(fd, SHUT_RDWR);
            close(fd);
        }
    }
    static void ReadRequestHead(int fd) {
        std::string head;
        char buffer[4096];
        while (head.find("\r\n\r\n") == std::string::npos) {
            ssize_t n = recv(fd, buffer, sizeof buffer, 0);
            if (n <= 0) return;
            head.append(buffer, size_t(n));
        }
    }
    int listener_ = -1;
    int port_ = 0;
    std::mutex lock_;
    std::string answer_;
};

LoopbackSource *source = nullptr;

} // namespace

extern "C" int LLVMFuzzerInitialize(int *, char ***) {
    testsupport::StartApplicationRuntime();
    source = new LoopbackSource;
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    source->SetAnswer(std::string(reinterpret_cast<const char *>(data), size));
    std::string cookies = "a=1; b=2", responseCookies, redirect, raw;
    app::FetchWebPage(source->Address(), app::kMethodGet, {}, &cookies, &responseCookies, nullptr, &redirect,
                      true, nullptr, nullptr, &raw);
    return 0;
}
