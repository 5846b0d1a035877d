#include "sorvel_mock/pages.h"

#include <cstdint>
#include <cstdio>

#include "sorvel_mock/charset.h"

namespace sorvel_mock {
namespace {

const char *const kLatinWords[] = {"news", "shop", "travel", "music", "games",
                                   "books", "health", "sports", "food", "tech"};
const char *const kChineseWords[] = {"新闻", "百科", "地图", "图片", "视频", "贴吧", "知道", "文库"};

uint32_t HashOf(const std::string &bytes) {
    uint32_t hash = 2166136261u;
    for (unsigned char c : bytes) hash = (hash ^ c) * 16777619u;
    return hash;
}

std::string SiteAt(uint32_t seed, int rank) {
    if (rank % 4 == 3) return std::string(kChineseWords[(seed + rank) % 8]) + std::to_string(rank) + ".cn";
    return "www." + std::string(kLatinWords[((seed >> 3) + rank * 7u) % 10]) + std::to_string(seed % 97 + rank) + ".com";
}

std::string HtmlEscaped(const std::string &text) {
    std::string out;
    for (char c : text) {
        switch (c) {
        case '<': out += "&lt;"; break;
        case '>': out += "&gt;"; break;
        case '&': out += "&amp;"; break;
        case '"': out += "&quot;"; break;
        default: out += c;
        }
    }
    return out;
}

std::string PercentEncoded(const std::string &bytes) {
    std::string out;
    char hex[4];
    for (unsigned char c : bytes) {
        bool plain = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-' ||
                     c == '.' || c == '_' || c == '~';
        std::snprintf(hex, sizeof hex, "%%%02X", c);
        out += plain ? std::string(1, static_cast<char>(c)) : std::string(hex);
    }
    return out;
}

// The document head; with a late charset its declaration is pushed past byte 500.
std::string Head(const std::string &title, const PageStyle &style) {
    std::string head = "<!DOCTYPE html>\n<html>\n<head>\n";
    if (style.gbk) return head + "<meta charset=\"gbk\">\n<title>" + title + "</title>\n</head>\n";
    if (style.upperCharset) return head + "<meta charset=\"UTF-8\">\n<title>" + title + "</title>\n</head>\n";
    if (!style.lateCharset) return head + "<meta charset=\"utf-8\">\n<title>" + title + "</title>\n</head>\n";
    head += "<title>" + title + "</title>\n<!-- ";
    while (head.size() < 540) head += "padding ";
    return head + "-->\n<meta charset=\"utf-8\">\n</head>\n";
}

std::string Finish(const std::string &utf8Page, const PageStyle &style) {
    return style.gbk ? Utf8ToGbk(utf8Page) : utf8Page;
}

std::string SearchForm(const std::string &visitorId, const std::string &keywordUtf8) {
    return "<form action=\"" + std::string(kResultPathStart) + visitorId +
           "/s\" method=\"get\" accept-charset=\"gbk\">\n<input name=\"word\" value=\"" + HtmlEscaped(keywordUtf8) +
           "\">\n<input type=\"submit\" value=\"搜索\">\n</form>\n";
}

std::string Entry(const std::string &site, int rank, const std::string &keywordUtf8) {
    std::string title = HtmlEscaped(keywordUtf8) + " 结果 " + std::to_string(rank + 1);
    if (IsUpperCaseEntry(rank))
        return "<DIV CLASS=\"result\"><H3 CLASS=\"title\">" + title + "</H3>\n<SPAN CLASS=\"site\">" + site +
               "</SPAN> <SPAN CLASS=\"time\">2026-12-07</SPAN></DIV>\n";
    return "<div class=\"result\"><h3 class=\"title\">" + title + "</h3>\n<span class=\"site\">" + site +
           "</span> <span class=\"time\">2026-12-07</span></div>\n";
}

std::string NextPageLink(const std::string &visitorId, const std::string &gbkKeyword, int next) {
    std::string path = std::string(kResultPathStart) + visitorId + "/pu=sz%40224_220%2Cta%40middle____/sorvelid=" +
                       visitorId + "/s?ref=www_colorful&lid=14303942485872487892&word=" + PercentEncoded(gbkKeyword) +
                       "&pn=" + std::to_string(next) + "&rn=10&tn=middle&prest=111081&st=111081&usm=2&sa=np";
    return "<a class=\"next\" href=\"" + HtmlEscaped(path) + "\">下一页</a>\n";
}

}  // namespace

std::vector<std::string> SitesFor(const std::string &gbkKeyword, int offset, int count) {
    uint32_t seed = HashOf(gbkKeyword);
    std::vector<std::string> sites;
    for (int i = 0; i < count; ++i) sites.push_back(SiteAt(seed, offset + i));
    return sites;
}

bool IsUpperCaseEntry(int rank) {
    return rank % 3 == 1;
}

std::string HomePage(const std::string &visitorId, const PageStyle &style) {
    std::string page = Head("Sorvel 搜索", style) + "<body>\n<h1>Sorvel 搜索</h1>\n" + SearchForm(visitorId, "") +
                       "<p><a href=\"" + kResultPathStart + visitorId +
                       "/s?word=%D0%C2%CE%C5\">新闻</a></p>\n</body>\n</html>\n";
    return Finish(page, style);
}

std::string ResultPage(const std::string &visitorId, const std::string &gbkKeyword, int offset,
                       bool knownVisitor, const PageStyle &style) {
    std::string keyword = GbkToUtf8OrEscaped(gbkKeyword);
    std::string page = Head(HtmlEscaped(keyword) + " - Sorvel 搜索", style) + "<body>\n" + SearchForm(visitorId, keyword);
    if (!knownVisitor) return Finish(page + "<p class=\"notice\">访客标识无效</p>\n</body>\n</html>\n", style);
    std::vector<std::string> sites = SitesFor(gbkKeyword, offset, style.entries);
    for (int i = 0; i < style.entries; ++i) page += Entry(sites[i], offset + i, keyword);
    page += NextPageLink(visitorId, gbkKeyword, offset + style.entries) + "</body>\n</html>\n";
    return Finish(page, style);
}

std::string ContentTypeFor(const PageStyle &style) {
    if (style.gbk) return "text/html; charset=gbk";
    return style.lateCharset || style.upperCharset ? "text/html" : "text/html; charset=utf-8";
}

}  // namespace sorvel_mock
