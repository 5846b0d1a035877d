// The pages of the mock Sorvel service: the home page with the visitor identifier and
// result pages of ten site entries that depend only on the keyword and the offset.
#pragma once

#include <string>
#include <vector>

namespace sorvel_mock {

inline constexpr const char *kResultPathStart = "/ssid=0/from=0/sv_page_type=1/uid=0/sorvelid=";
inline constexpr int kEntriesPerPage = 10;

struct PageStyle {
    bool gbk = false;          // GBK pages instead of UTF-8
    bool lateCharset = false;  // the only "utf-8" comes after byte 500, none in the headers
    bool upperCharset = false; // the only declaration is "UTF-8" in the head, none in the headers
    int entries = kEntriesPerPage;
};

// The sites of the page at offset (0, 10, 20 ...) for a keyword given as GBK bytes, in
// page order, as UTF-8 text. Some are Chinese names.
std::vector<std::string> SitesFor(const std::string &gbkKeyword, int offset, int count = kEntriesPerPage);
// Entries whose tags are written in capitals (the rank counts from 0 over all pages).
bool IsUpperCaseEntry(int rank);

std::string HomePage(const std::string &visitorId, const PageStyle &style);
// A page without entries when the visitor identifier is not one the home page gave.
std::string ResultPage(const std::string &visitorId, const std::string &gbkKeyword, int offset,
                       bool knownVisitor, const PageStyle &style);
std::string ContentTypeFor(const PageStyle &style);

}  // namespace sorvel_mock
