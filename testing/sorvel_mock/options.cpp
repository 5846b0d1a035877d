#include "sorvel_mock/options.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace sorvel_mock {
namespace {

bool ParseNumber(const char *text, double low, double high, double &value) {
    char *end = nullptr;
    value = std::strtod(text, &end);
    return end != text && *end == '\0' && value >= low && value <= high;
}

}  // namespace

void PrintUsage() {
    std::fprintf(stderr,
                 "usage: sorvel-mock [--port N] [--host ADDRESS] [--log FILE] [--visitor-id ID]\n"
                 "                   [--slow SECONDS] [--drop] [--big-headers] [--late-charset]\n"
                 "                   [--upper-charset] [--gbk] [--entries N]\n"
                 "  --port 0 picks a free port; the port is printed first on stdout as \"PORT n\".\n"
                 "  --log FILE        one JSON line per request: method, target, headers in order, body\n"
                 "  --slow SECONDS    wait before every answer\n"
                 "  --drop            cut the connection halfway through every page\n"
                 "  --big-headers     answer with a header block over 5000 bytes\n"
                 "  --late-charset    declare utf-8 only after byte 500, not in the headers\n"
                 "  --upper-charset   declare only charset=\"UTF-8\" in the page head, not in the headers\n"
                 "  --gbk             GBK pages instead of UTF-8\n"
                 "  --entries N       site entries per result page (10; more make large pages)\n"
                 "Pages: / (home, holds \"sorvelid=<id>/\") and the result addresses under\n"
                 "/ssid=0/from=0/sv_page_type=1/uid=0/sorvelid=<id>/...; /echo and /redirect help tests.\n");
}

bool ParseOptions(int argc, char **argv, MockOptions &options) {
    for (int i = 1; i < argc; ++i) {
        const char *name = argv[i];
        bool hasValue = i + 1 < argc;
        double number = 0;
        if (!std::strcmp(name, "--drop")) options.drop = true;
        else if (!std::strcmp(name, "--big-headers")) options.bigHeaders = true;
        else if (!std::strcmp(name, "--late-charset")) options.lateCharset = true;
        else if (!std::strcmp(name, "--upper-charset")) options.upperCharset = true;
        else if (!std::strcmp(name, "--gbk")) options.gbk = true;
        else if (!std::strcmp(name, "--port") && hasValue && ParseNumber(argv[i + 1], 0, 65535, number)) {
            options.port = static_cast<int>(number);
            ++i;
        } else if (!std::strcmp(name, "--slow") && hasValue && ParseNumber(argv[i + 1], 0, 3600, number)) {
            options.slowSeconds = number;
            ++i;
        } else if (!std::strcmp(name, "--entries") && hasValue && ParseNumber(argv[i + 1], 1, 100000, number)) {
            options.entries = static_cast<int>(number);
            ++i;
        } else if (!std::strcmp(name, "--host") && hasValue) options.host = argv[++i];
        else if (!std::strcmp(name, "--log") && hasValue) options.logFile = argv[++i];
        else if (!std::strcmp(name, "--visitor-id") && hasValue && std::strpbrk(argv[i + 1], "/\r\n") == nullptr)
            options.visitorId = argv[++i];
        else {
            std::fprintf(stderr, "sorvel-mock: bad argument \"%s\"\n", name);
            return false;
        }
    }
    return true;
}

}  // namespace sorvel_mock
