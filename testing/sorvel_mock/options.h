// Command line of sorvel-mock.
#pragma once

#include <string>

namespace sorvel_mock {

struct MockOptions {
    std::string host = "127.0.0.1";
    int port = 18080;               // 0: any free port
    std::string logFile;            // JSON line per request, empty: no log
    std::string visitorId = "7f3a9c2e51d04b68";
    double slowSeconds = 0;         // delay before every response
    bool drop = false;              // cut the connection halfway through each page body
    bool bigHeaders = false;        // response header blocks over 5000 bytes
    bool lateCharset = false;       // the only utf-8 declaration after byte 500
    bool upperCharset = false;      // the only declaration "UTF-8", in the page head
    bool gbk = false;               // GBK pages
    int entries = 10;               // site entries per result page
};

// False (with a message on stderr) for an unknown switch or a bad value.
bool ParseOptions(int argc, char **argv, MockOptions &options);
void PrintUsage();

}  // namespace sorvel_mock
