// An httplib server that keeps the bytes of each request as they arrived, so that the
// request line and the header lines can be logged in their own order.
#pragma once

#include <httplib.h>

#include <string>

namespace sorvel_mock {

class RecordingServer : public httplib::Server {
private:
    bool process_and_close_socket(socket_t sock) override;
};

// The bytes of the request being handled on this thread: request line, header lines
// and the blank line, as received.
const std::string &CurrentRawHead();

}  // namespace sorvel_mock
