#include "sorvel_mock/routes.h"

#include <chrono>
#include <cstdlib>
#include <thread>

#include "sorvel_mock/pages.h"
#include "sorvel_mock/request_log.h"

namespace sorvel_mock {
namespace {

using Handler = httplib::Server::Handler;

const char kResultPattern[] =
    "/ssid=0/from=0/sv_page_type=1/uid=0/sorvelid=([^/]*)/(?:pu=[^/]*/sorvelid=([^/]*)/)?s";

PageStyle StyleOf(const MockOptions &options) {
    return PageStyle{options.gbk, options.lateCharset, options.upperCharset, options.entries};
}

void AddPaddingHeaders(httplib::Response &res) {
    std::string filler(100, 'x');
    for (int i = 0; i < 60; ++i) res.set_header("X-Sorvel-Padding-" + std::to_string(i), filler);
}

// The page body; with --drop the connection is cut after half of it.
void SetPage(httplib::Response &res, const std::string &body, const std::string &type, bool drop) {
    if (!drop) {
        res.set_content(body, type);
        return;
    }
    res.set_content_provider(body.size(), type, [body](size_t offset, size_t, httplib::DataSink &sink) {
        if (offset > 0) return false;
        sink.write(body.data(), body.size() / 2);
        return true;
    });
}

// Every route logs its request, waits when asked to, and may pad its headers.
Handler Wrapped(const MockOptions &options, Handler inner) {
    return [&options, inner](const httplib::Request &req, httplib::Response &res) {
        LoggedRequest logged = ParseRawHead(CurrentRawHead());
        logged.body = req.body;
        WriteRequestLog(logged);
        if (options.slowSeconds > 0)
            std::this_thread::sleep_for(std::chrono::duration<double>(options.slowSeconds));
        res.set_header("Server", "sorvel-mock");
        if (options.bigHeaders) AddPaddingHeaders(res);
        inner(req, res);
    };
}

void HomeRoute(const MockOptions &options, const httplib::Request &, httplib::Response &res) {
    res.set_header("Set-Cookie", "SVID=" + options.visitorId + "; path=/");
    res.set_header("Set-Cookie", "SVLANG=zh-cn; path=/; HttpOnly");
    SetPage(res, HomePage(options.visitorId, StyleOf(options)), ContentTypeFor(StyleOf(options)), options.drop);
}

void ResultRoute(const MockOptions &options, const httplib::Request &req, httplib::Response &res) {
    std::string first = req.matches[1], second = req.matches[2];
    bool known = first == options.visitorId && (!req.matches[2].matched || second == options.visitorId);
    int offset = req.has_param("pn") ? std::atoi(req.get_param_value("pn").c_str()) : 0;
    std::string page = ResultPage(options.visitorId, req.get_param_value("word"), offset < 0 ? 0 : offset, known,
                                  StyleOf(options));
    SetPage(res, page, ContentTypeFor(StyleOf(options)), options.drop);
}

void EchoRoute(const httplib::Request &req, httplib::Response &res) {
    res.set_content(CurrentRawHead() + req.body, "text/plain");
}

void RedirectRoute(const httplib::Request &req, httplib::Response &res) {
    int code = req.has_param("code") ? std::atoi(req.get_param_value("code").c_str()) : 302;
    res.set_redirect(req.has_param("to") ? req.get_param_value("to") : "/", code);
}

void NotFoundRoute(const httplib::Request &, httplib::Response &res) {
    res.status = 404;
    res.set_content("<!DOCTYPE html>\n<html><body><p>404</p></body></html>\n", "text/html; charset=utf-8");
}

}  // namespace

void AddRoutes(RecordingServer &server, const MockOptions &options) {
    using namespace std::placeholders;
    server.Get("/", Wrapped(options, std::bind(HomeRoute, std::cref(options), _1, _2)));
    server.Get(kResultPattern, Wrapped(options, std::bind(ResultRoute, std::cref(options), _1, _2)));
    server.Get("/echo", Wrapped(options, EchoRoute));
    server.Post("/echo", Wrapped(options, EchoRoute));
    server.Get("/redirect", Wrapped(options, RedirectRoute));
    server.Post("/redirect", Wrapped(options, RedirectRoute));
    server.Get(".*", Wrapped(options, NotFoundRoute));
    server.Post(".*", Wrapped(options, NotFoundRoute));
}

}  // namespace sorvel_mock
