// The searching commands find matches without visiting every character. These tests
// compare them with a plain character-by-character walk over random texts full of
// two-byte characters whose trail bytes look like the sought bytes.
#include <random>

#include "text_test_support.h"

namespace texttest {
namespace {

using namespace cmd;
using Parts = std::vector<std::string>;

bool Lead(char c) { return uint8_t(c) >= 0x80; }
bool SameAt(const std::string &text, size_t at, const std::string &sought, bool ignoreCase) {
    for (size_t i = 0; i < sought.size(); ++i) {
        char a = text[at + i], b = sought[i];
        if (ignoreCase && a >= 'A' && a <= 'Z') a = char(a | 0x20);
        if (ignoreCase && b >= 'A' && b <= 'Z') b = char(b | 0x20);
        if (a != b) return false;
    }
    return true;
}
// One step of the walk; 0 when a lead byte without trail byte ends it.
size_t Step(const std::string &text, size_t at) {
    if (!Lead(text[at])) return 1;
    return at + 1 < text.size() ? 2 : 0;
}

int32_t WalkFind(const std::string &text, const std::string &sought, size_t from, size_t end, bool forward,
                 bool ignoreCase) {
    if (from >= end) return -1;
    if (sought.empty()) return 1;
    int32_t last = -1;
    for (size_t at = from; at + sought.size() <= end;) {
        if (SameAt(text, at, sought, ignoreCase)) {
            if (forward) return int32_t(at + 1);
            last = int32_t(at + 1);
        }
        size_t step = Step(text, at);
        if (!step) break;
        at += step;
    }
    return last;
}

std::string WalkReplace(const std::string &text, const std::string &sought, const std::string &with, size_t start,
                        int32_t limit, bool ignoreCase) {
    if (text.empty() || sought.empty() || start >= text.size() || limit == 0) return text;
    std::string out = text.substr(0, start);
    size_t at = start;
    while (at + sought.size() <= text.size()) {
        if (SameAt(text, at, sought, ignoreCase)) {
            out += with;
            at += sought.size();
            if (limit != -1 && --limit == 0) break;
            continue;
        }
        size_t step = Step(text, at);
        if (!step) return out;
        out.append(text, at, step);
        at += step;
    }
    return out + text.substr(at);
}

Parts WalkSplit(const std::string &text, const std::string &delimiter, int32_t parts) {
    Parts out;
    if (text.empty() || parts == 0) return out;
    size_t cut = 0, at = 0;
    while (at + delimiter.size() <= text.size()) {
        if (SameAt(text, at, delimiter, false)) {
            out.push_back(text.substr(cut, at - cut));
            at = cut = at + delimiter.size();
            if (parts > 0 && --parts == 0) return out;
            continue;
        }
        size_t step = Step(text, at);
        if (!step) break;
        at += step;
    }
    if (cut < text.size()) out.push_back(text.substr(cut));
    return out;
}

// Bytes that are both single characters and trail bytes, and lead bytes; every
// fourth text is made mostly of lead bytes, so characters pair up over long runs.
std::string RandomText(std::mt19937 &random, size_t length) {
    static const char kBytes[] = {'a', 'b', 'A', ',', ' ', '\xB0', '\xA1', '\xD6'};
    static const char kHighBytes[] = {'\xB0', '\xB0', '\xA1', '\xA1', '\xB0', '\xA1', '\xB0', 'a'};
    const char *alphabet = random() % 4 ? kBytes : kHighBytes;
    std::string text;
    for (size_t i = 0; i < length; ++i) text += alphabet[random() % sizeof kBytes];
    return text;
}

std::string RandomSought(std::mt19937 &random, const std::string &text) {
    size_t n = 1 + random() % 4;
    if (text.size() > n && random() % 2) return text.substr(random() % (text.size() - n), n);
    return RandomText(random, n);
}

TEST_F(TextCommands, SearchesAgreeWithTheCharacterWalk) {
    std::mt19937 random(7);
    for (int round = 0; round < 3000; ++round) {
        size_t length = round % 10 == 0 ? 600 + random() % 400 : random() % 24;
        std::string text = RandomText(random, length);
        std::string sought = RandomSought(random, text);
        bool ignoreCase = random() % 3 == 0;
        int32_t start = int32_t(random() % (length + 3)) - 1;
        rt::TypedValue flag = MakeBoolean(ignoreCase);
        SCOPED_TRACE(testing::Message() << "round " << round << " start " << start);
        size_t b = size_t(std::max(start - 1, 0));
        EXPECT_EQ(CallInteger(FindText, {TextArg(text), TextArg(sought), MakeInteger(start), flag}),
                  WalkFind(text, sought, std::min(b, text.size()), text.size(), true, ignoreCase));
        EXPECT_EQ(CallInteger(FindTextReverse, {TextArg(text), TextArg(sought), MakeInteger(start), flag}),
                  WalkFind(text, sought, 0, std::min(b, text.size()), false, ignoreCase));
        EXPECT_EQ(CallInteger(FindTextReverse, {TextArg(text), TextArg(sought), Omitted(), flag}),
                  WalkFind(text, sought, 0, text.size(), false, ignoreCase));
    }
}

TEST_F(TextCommands, ReplaceAndSplitAgreeWithTheCharacterWalk) {
    std::mt19937 random(11);
    for (int round = 0; round < 3000; ++round) {
        size_t length = round % 10 == 0 ? 600 + random() % 400 : random() % 24;
        std::string text = RandomText(random, length);
        std::string sought = RandomSought(random, text);
        std::string with = RandomText(random, random() % 3);
        int32_t start = int32_t(random() % (length + 3)) - 1;
        int32_t limit = int32_t(random() % 5) - 2;
        bool caseSensitive = random() % 3 != 0;
        SCOPED_TRACE(testing::Message() << "round " << round << " start " << start << " limit " << limit);
        EXPECT_EQ(CallText(ReplaceSubtext, {TextArg(text), TextArg(sought), TextArg(with), MakeInteger(start),
                                            MakeInteger(limit), MakeBoolean(caseSensitive)}),
                  WalkReplace(text, sought, with, size_t(std::max(start - 1, 0)), limit < -1 ? -1 : limit,
                              !caseSensitive));
        EXPECT_EQ(CallSplit({TextArg(text), TextArg(sought), MakeInteger(limit)}),
                  WalkSplit(text, sought, std::max(limit, 0)));
        EXPECT_EQ(CallSplit({TextArg(text), TextArg(sought)}), WalkSplit(text, sought, -1));
    }
}

// Sought texts of every length up to past two vector widths, at the very start, at the
// very end, behind a lead byte and across 16 KiB, in texts full of their first byte (and of its
// other case) where a scan for the first byte alone finds a candidate at every step.
TEST_F(TextCommands, SoughtTextsOfEveryLengthAgreeWithTheCharacterWalk) {
    std::mt19937 random(5);
    static const char kBytes[] = {'a', 'a', 'A', '\xB0', 'b'};
    auto randomText = [&](size_t n) {
        std::string t;
        while (t.size() < n) t += kBytes[random() % sizeof kBytes];
        return t;
    };
    for (size_t n = 1; n <= 70; ++n) {
        std::string sought = "a" + randomText(n - 1);
        std::string filler = randomText(90 + random() % 60);
        // The last one straddles where a long text's first measured piece ends.
        const std::string texts[] = {sought + filler, filler + sought, filler + "\xB0" + sought + filler,
                                     filler + "\xB0\xB0" + sought, randomText(16384 - n / 2) + sought + filler};
        for (const std::string &text : texts) {
            for (bool ignoreCase : {false, true}) {
                SCOPED_TRACE(testing::Message() << "length " << n << " ignoring case " << ignoreCase);
                rt::TypedValue flag = MakeBoolean(ignoreCase);
                EXPECT_EQ(CallInteger(FindText, {TextArg(text), TextArg(sought), Omitted(), flag}),
                          WalkFind(text, sought, 0, text.size(), true, ignoreCase));
                EXPECT_EQ(CallInteger(FindTextReverse, {TextArg(text), TextArg(sought), Omitted(), flag}),
                          WalkFind(text, sought, 0, text.size(), false, ignoreCase));
            }
        }
    }
}

} // namespace
} // namespace texttest
