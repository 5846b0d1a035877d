#include "sorvel_mock/recording_server.h"

#include <arpa/inet.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cstring>

namespace sorvel_mock {
namespace {

constexpr int kReadTimeoutMs = 5000;
constexpr int kKeepAliveMs = 5000;
constexpr int kMaxRequestsPerConnection = 100;

thread_local std::string currentRawHead;

bool WaitFor(int fd, short events, int timeoutMs) {
    pollfd entry{fd, events, 0};
    return ::poll(&entry, 1, timeoutMs) > 0;
}

void AddressOf(int fd, bool peer, std::string &ip, int &port) {
    sockaddr_storage address{};
    socklen_t size = sizeof address;
    int result = peer ? getpeername(fd, reinterpret_cast<sockaddr *>(&address), &size)
                      : getsockname(fd, reinterpret_cast<sockaddr *>(&address), &size);
    if (result != 0 || address.ss_family != AF_INET) return;
    auto *in = reinterpret_cast<sockaddr_in *>(&address);
    char text[INET_ADDRSTRLEN] = {};
    inet_ntop(AF_INET, &in->sin_addr, text, sizeof text);
    ip = text;
    port = ntohs(in->sin_port);
}

class RecordingStream : public httplib::Stream {
public:
    explicit RecordingStream(int fd) : fd_(fd) {}

    bool is_readable() const override { return offset_ < buffer_.size() || WaitFor(fd_, POLLIN, kReadTimeoutMs); }
    bool is_writable() const override { return WaitFor(fd_, POLLOUT, kReadTimeoutMs); }

    ssize_t read(char *ptr, size_t size) override {
        if (offset_ == buffer_.size() && !Refill()) return -1;
        size_t take = std::min(size, buffer_.size() - offset_);
        std::memcpy(ptr, buffer_.data() + offset_, take);
        offset_ += take;
        captured.append(ptr, take);
        return static_cast<ssize_t>(take);
    }

    ssize_t write(const char *ptr, size_t size) override {
        if (!is_writable()) return -1;
        return ::send(fd_, ptr, size, MSG_NOSIGNAL);
    }

    void get_remote_ip_and_port(std::string &ip, int &port) const override { AddressOf(fd_, true, ip, port); }
    void get_local_ip_and_port(std::string &ip, int &port) const override { AddressOf(fd_, false, ip, port); }
    socket_t socket() const override { return fd_; }

    bool HasBuffered() const { return offset_ < buffer_.size(); }

    std::string captured;

private:
    bool Refill() {
        if (!WaitFor(fd_, POLLIN, kReadTimeoutMs)) return false;
        char chunk[4096];
        ssize_t got = ::recv(fd_, chunk, sizeof chunk, 0);
        if (got <= 0) return false;
        buffer_.assign(chunk, static_cast<size_t>(got));
        offset_ = 0;
        return true;
    }

    int fd_;
    std::string buffer_;
    size_t offset_ = 0;
};

}  // namespace

bool RecordingServer::process_and_close_socket(socket_t sock) {
    RecordingStream stream(sock);
    bool closed = false;
    for (int served = 0; served < kMaxRequestsPerConnection && !closed; ++served) {
        if (!stream.HasBuffered() && !WaitFor(sock, POLLIN, kKeepAliveMs)) break;
        stream.captured.clear();
        bool last = served + 1 == kMaxRequestsPerConnection;
        bool ok = process_request(stream, last, closed, [&stream](httplib::Request &) {
            size_t end = stream.captured.find("\r\n\r\n");
            currentRawHead = end == std::string::npos ? stream.captured : stream.captured.substr(0, end + 4);
        });
        if (!ok) break;
    }
    ::shutdown(sock, SHUT_RDWR);
    ::close(sock);
    return true;
}

const std::string &CurrentRawHead() {
    return currentRawHead;
}

}  // namespace sorvel_mock
