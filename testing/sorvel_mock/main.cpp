// sorvel-mock: serves the Sorvel mobile pages on loopback. See options.h for switches.
#include <cstdio>
#include <string>

#include "sorvel_mock/options.h"
#include "sorvel_mock/recording_server.h"
#include "sorvel_mock/request_log.h"
#include "sorvel_mock/routes.h"

int main(int argc, char **argv) {
    sorvel_mock::MockOptions options;
    if (argc == 2 && (std::string(argv[1]) == "--help" || std::string(argv[1]) == "-h")) {
        sorvel_mock::PrintUsage();
        return 0;
    }
    if (!sorvel_mock::ParseOptions(argc, argv, options)) {
        sorvel_mock::PrintUsage();
        return 2;
    }
    if (!options.logFile.empty() && !sorvel_mock::OpenRequestLog(options.logFile)) {
        std::fprintf(stderr, "sorvel-mock: cannot open log \"%s\"\n", options.logFile.c_str());
        return 2;
    }
    sorvel_mock::RecordingServer server;
    sorvel_mock::AddRoutes(server, options);
    int port = options.port;
    bool bound = port == 0 ? (port = server.bind_to_any_port(options.host)) > 0 : server.bind_to_port(options.host, port);
    if (!bound) {
        std::fprintf(stderr, "sorvel-mock: cannot listen on %s:%d\n", options.host.c_str(), options.port);
        return 1;
    }
    std::printf("PORT %d\n", port);
    std::fflush(stdout);
    std::fprintf(stderr, "sorvel-mock: http://%s:%d/\n", options.host.c_str(), port);
    return server.listen_after_bind() ? 0 : 1;
}
