// A loopback server that keeps every request's bytes exactly as they arrived and
// answers with whatever bytes a test scripts, one request per connection.
#pragma once

#include <atomic>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace wininet_test {

struct Connection {
    int fd;
    const std::atomic<bool> &stopping;
    void Send(const std::string &bytes) const;
    // Keeps the connection open without answering until the server stops.
    void Stall() const;
};

// Called with the full request (head and body); writes the answer.
using Responder = std::function<void(const Connection &, const std::string &request)>;

class RawServer {
public:
    explicit RawServer(Responder responder);
    ~RawServer();
    int Port() const { return port_; }
    std::vector<std::string> Requests();
    // The first request, or empty.
    std::string FirstRequest();

private:
    void AcceptLoop();
    void Serve(int fd);

    Responder responder_;
    int listener_ = -1;
    int port_ = 0;
    std::atomic<bool> stopping_{false};
    std::mutex lock_;
    std::vector<std::string> requests_;
    std::vector<std::thread> workers_;
    std::thread acceptor_;
};

// An answer with a Content-Length body and the given extra header lines.
std::string Response(const std::string &status, const std::string &headerLines, const std::string &body);

}  // namespace wininet_test
