#include "raw_server.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <strings.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>

namespace wininet_test {
namespace {

bool WaitReadable(int fd, const std::atomic<bool> &stopping) {
    while (!stopping) {
        pollfd entry{fd, POLLIN, 0};
        int ready = ::poll(&entry, 1, 20);
        if (ready > 0) return true;
        if (ready < 0) return false;
    }
    return false;
}

size_t ContentLengthOf(const std::string &head) {
    size_t at = 0;
    while ((at = head.find("\r\n", at)) != std::string::npos) {
        at += 2;
        if (strncasecmp(head.c_str() + at, "Content-Length:", 15) == 0) return std::strtoul(head.c_str() + at + 15, nullptr, 10);
    }
    return 0;
}

// Head up to the blank line, then the body its Content-Length announces.
std::string ReadRequest(int fd, const std::atomic<bool> &stopping) {
    std::string data;
    char chunk[4096];
    size_t wanted = std::string::npos;
    while (data.size() < wanted && WaitReadable(fd, stopping)) {
        ssize_t got = ::recv(fd, chunk, sizeof chunk, 0);
        if (got <= 0) break;
        data.append(chunk, static_cast<size_t>(got));
        size_t end = data.find("\r\n\r\n");
        if (end != std::string::npos) wanted = end + 4 + ContentLengthOf(data.substr(0, end + 2));
    }
    return data;
}

}  // namespace

void Connection::Send(const std::string &bytes) const {
    ::send(fd, bytes.data(), bytes.size(), MSG_NOSIGNAL);
}

void Connection::Stall() const {
    while (!stopping) std::this_thread::sleep_for(std::chrono::milliseconds(20));
}

RawServer::RawServer(Responder responder) : responder_(std::move(responder)) {
    listener_ = ::socket(AF_INET, SOCK_STREAM, 0);
    int yes = 1;
    ::setsockopt(listener_, SOL_SOCKET, SO_REUSEADDR, &yes, sizeof yes);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    ::bind(listener_, reinterpret_cast<sockaddr *>(&address), sizeof address);
    ::listen(listener_, 16);
    socklen_t size = sizeof address;
    ::getsockname(listener_, reinterpret_cast<sockaddr *>(&address), &size);
    port_ = ntohs(address.sin_port);
    acceptor_ = std::thread(&RawServer::AcceptLoop, this);
}

RawServer::~RawServer() {
    stopping_ = true;
    acceptor_.join();
    for (std::thread &worker : workers_) worker.join();
    ::close(listener_);
}

void RawServer::AcceptLoop() {
    while (WaitReadable(listener_, stopping_)) {
        int fd = ::accept(listener_, nullptr, nullptr);
        if (fd >= 0) workers_.emplace_back(&RawServer::Serve, this, fd);
    }
}

void RawServer::Serve(int fd) {
    std::string request = ReadRequest(fd, stopping_);
    if (!request.empty()) {
        {
            std::lock_guard<std::mutex> guard(lock_);
            requests_.push_back(request);
        }
        responder_(Connection{fd, stopping_}, request);
    }
    ::shutdown(fd, SHUT_RDWR);
    ::close(fd);
}

std::vector<std::string> RawServer::Requests() {
    std::lock_guard<std::mutex> guard(lock_);
    return requests_;
}

std::string RawServer::FirstRequest() {
    std::vector<std::string> all = Requests();
    return all.empty() ? std::string() : all.front();
}

std::string Response(const std::string &status, const std::string &headerLines, const std::string &body) {
    return "HTTP/1.1 " + status + "\r\n" + headerLines + "Content-Length: " + std::to_string(body.size()) +
           "\r\nConnection: close\r\n\r\n" + body;
}

}  // namespace wininet_test
