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
                 "                   [--slow SECONDS] [--drop] [--big-headers] [--late-charset] [--gbk]\n"
                 "  --port 0 picks a free port; the port is printed first on stdout as \"PORT n\".\n");
}

bool ParseOptions(int argc, char **argv, MockOptions &options) {
    for (int i = 1; i < argc; ++i) {
        const char *name = argv[i];
        bool hasValue = i + 1 < argc;
        double number = 0;
        if (!std::strcmp(name, "--drop")) options.drop = true;
        else if (!std::strcmp(name, "--big-headers")) options.bigHeaders = true;
        else if (!std::strcmp(name, "--late-charset")) options.lateCharset = true;
        else if (!std::strcmp(name, "--gbk")) options.gbk = true;
        else if (!std::strcmp(name, "--port") && hasValue && ParseNumber(argv[i + 1], 0, 65535, number)) {
            options.port = static_cast<int>(number);
            ++i;
        } else if (!std::strcmp(name, "--slow") && hasValue && ParseNumber(argv[i + 1], 0, 3600, number)) {
            options.slowSeconds = number;
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
