// What a collection against sorvel-mock must give: the result lines, the status lines
// and the requests, written out from the collector's rules and the mock's pages.
#pragma once

#include <string>
#include <vector>

namespace e2e {

// The mock's visitor identifier (the mock's default).
inline constexpr const char *kVisitor = "7f3a9c2e51d04b68";

// The sites one keyword (GBK) gives with `pages` numbered pages: the first result page,
// then the numbered pages from offset 0 (page 1 repeats the first page). Each site is
// a GBK line ending in "\r\n". With `dropped`, only the entries whole in the first
// half of each page, as the mock's --drop sends them.
std::string ExpectedSites(const std::string &keyword, int pages, bool dropped = false);
std::string ExpectedStatus(const std::vector<std::string> &keywords, int pages);
std::string EndLine();

// The request targets of one keyword's job, in order: the home page, the first result
// page, then the numbered pages. `encoded` is the keyword as sent.
std::vector<std::string> ExpectedTargets(const std::string &encoded, int pages);

// One line of the mock's request log.
struct LoggedRequest {
    std::string path;
    std::string line;  // the whole JSON line
    bool HasHeader(const std::string &name, const std::string &value) const;
};
std::vector<LoggedRequest> ReadRequestLog(const std::string &file);

}  // namespace e2e
