#include "expected_pages.h"

#include <fstream>

#include "gbk.h"
#include "sorvel_mock/pages.h"

namespace e2e {
namespace {

const std::string kSiteOpen = "<span class=\"site\">";
const std::string kSiteClose = "</span>";

std::string Lower(std::string text) {
    for (char &c : text)
        if (c >= 'A' && c <= 'Z') c = char(c - 'A' + 'a');
    return text;
}

// The sites of a page whose entries end within `length` bytes (UTF-8 page).
std::string SitesWithin(const std::string &page, size_t length) {
    std::string lower = Lower(page.substr(0, length)), sites;
    for (size_t at = lower.find(kSiteOpen); at != std::string::npos; at = lower.find(kSiteOpen, at + 1)) {
        size_t start = at + kSiteOpen.size(), end = lower.find(kSiteClose, start);
        if (end == std::string::npos) break;
        sites += rt::ToGbk(page.substr(start, end - start)) + "\r\n";
    }
    return sites;
}

std::string PageSites(const std::string &keyword, int offset, bool dropped) {
    if (!dropped) {
        std::string sites;
        for (const std::string &site : sorvel_mock::SitesFor(keyword, offset)) sites += rt::ToGbk(site) + "\r\n";
        return sites;
    }
    sorvel_mock::PageStyle style;
    std::string home = sorvel_mock::HomePage(kVisitor, style);
    bool known = home.substr(0, home.size() / 2).find(std::string("sorvelid=") + kVisitor + "/") != std::string::npos;
    std::string page = sorvel_mock::ResultPage(kVisitor, keyword, offset, known, style);
    return SitesWithin(page, page.size() / 2);
}

std::string JsonField(const std::string &line, const std::string &name) {
    std::string key = "\"" + name + "\":\"";
    size_t start = line.find(key);
    if (start == std::string::npos) return "";
    start += key.size();
    return line.substr(start, line.find('"', start) - start);
}

}  // namespace

std::string ExpectedSites(const std::string &keyword, int pages, bool dropped) {
    std::string sites = PageSites(keyword, 0, dropped);
    for (int p = 1; p <= pages; ++p) sites += PageSites(keyword, (p - 1) * 10, dropped);
    return sites;
}

std::string ExpectedStatus(const std::vector<std::string> &keywords, int pages) {
    std::string status;
    for (const std::string &k : keywords) {
        status += rt::ToGbk("====正在采集") + k + rt::ToGbk("====\r\n");
        for (int p = 1; p <= pages; ++p) status += rt::ToGbk("正在采集Sorvel第" + std::to_string(p) + "页\r\n");
    }
    return status + EndLine();
}

std::string EndLine() { return rt::ToGbk("采集结束，感谢您的使用\r\n"); }

std::vector<std::string> ExpectedTargets(const std::string &encoded, int pages) {
    const std::string start = std::string("/ssid=0/from=0/sv_page_type=1/uid=0/sorvelid=") + kVisitor;
    std::vector<std::string> targets = {
        "/",
        start + "/s?word=" + encoded +
            "&uc_param_str=upssntdnvelami&sa=ib&st_1=111041&st_2=102041&pu=sz%40224_220%2Cta%40middle____"
            "&idx=20000&tn_1=middle&tn_2=middle&ct_1=%E6%90%9C%E7%BD%91%E9%A1%B5"};
    for (int p = 1; p <= pages; ++p)
        targets.push_back(start + "/pu=sz%40224_220%2Cta%40middle____/sorvelid=" + kVisitor +
                          "/s?ref=www_colorful&lid=14303942485872487892&word=" + encoded + "&pn=" +
                          std::to_string(p - 1) + "0&rn=10&tn=middle&prest=111081&st=111081&usm=2&sa=np");
    return targets;
}

bool LoggedRequest::HasHeader(const std::string &name, const std::string &value) const {
    return line.find("[\"" + name + "\",\"" + value + "\"]") != std::string::npos;
}

std::vector<LoggedRequest> ReadRequestLog(const std::string &file) {
    std::ifstream log(file);
    std::vector<LoggedRequest> requests;
    for (std::string line; std::getline(log, line);) requests.push_back({JsonField(line, "path"), line});
    return requests;
}

}  // namespace e2e
