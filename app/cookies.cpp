#include "cookies.h"

#include <vector>

#include "literals.h"
#include "text_calls.h"
#include "text_pieces.h"

namespace app {
namespace {

// The text before the first "=", or the whole item; trimmed.
std::string CookieName(const std::string &item) {
    int32_t equals = TextPosition(item, Literal(image::kEqualsSign));
    return TrimSpaces(equals > 0 ? TextLeft(item, equals - 1) : item);
}

bool HasName(const std::vector<std::string> &items, const std::string &name) {
    for (const std::string &item : items)
        if (CookieName(item) == name) return true;
    return false;
}

bool IsDeleted(const std::string &item) {
    std::string end = Literal(image::kDeletedCookieEnd);
    return TextRight(item, TextLength(end)) == end;
}

} // namespace

std::string MergeCookies(std::string &cookies, std::string &newCookies) {
    cookies = RemoveAllSpaces(cookies);
    newCookies = RemoveAllSpaces(newCookies);
    std::vector<std::string> oldItems = SplitText(cookies, Literal(image::kSemicolon));
    std::vector<std::string> newItems = SplitText(newCookies, Literal(image::kSemicolon));
    for (const std::string &item : oldItems)
        if (!HasName(newItems, CookieName(item))) newItems.push_back(item);
    cookies.clear();
    for (const std::string &item : newItems)
        if (!IsDeleted(item)) cookies += item + Literal(image::kItemSeparator);
    cookies = TextLeft(cookies, TextLength(cookies) - 2);
    cookies = RemoveDuplicateItems(cookies, Literal(image::kItemSeparator));
    return cookies;
}

} // namespace app
