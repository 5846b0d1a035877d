// PCRE2 (16-bit code units, no UTF checks) under the script regular-expression dialect.
#define PCRE2_CODE_UNIT_WIDTH 16
#include "regexp_engine.h"

#include <pcre2.h>

namespace ole {

class CompiledPattern {
public:
    explicit CompiledPattern(pcre2_code *code) : code_(code) {}
    ~CompiledPattern() { pcre2_code_free(code_); }
    CompiledPattern(const CompiledPattern &) = delete;
    CompiledPattern &operator=(const CompiledPattern &) = delete;
    pcre2_code *code() const { return code_; }

private:
    pcre2_code *code_;
};

namespace {

PCRE2_SPTR Units(const std::u16string &s) { return reinterpret_cast<PCRE2_SPTR>(s.data()); }

uint32_t CompileOptions(const RegexOptions &options) {
    // An empty class "[]" never matches and "[^]" matches anything; \uhhhh is a code unit.
    uint32_t flags = PCRE2_ALLOW_EMPTY_CLASS | PCRE2_ALT_BSUX;
    if (options.ignoreCase) flags |= PCRE2_CASELESS;
    flags |= options.multiline ? PCRE2_MULTILINE : PCRE2_DOLLAR_ENDONLY;
    return flags;
}

MatchRecord ReadMatch(pcre2_match_data *data, uint32_t groups) {
    PCRE2_SIZE *ovector = pcre2_get_ovector_pointer(data);
    MatchRecord m;
    m.whole = {long(ovector[0]), long(ovector[1] - ovector[0]), true};
    for (uint32_t g = 1; g <= groups; ++g) {
        PCRE2_SIZE from = ovector[2 * g], to = ovector[2 * g + 1];
        if (from == PCRE2_UNSET || to < from) m.groups.push_back({0, 0, false});
        else m.groups.push_back({long(from), long(to - from), true});
    }
    return m;
}

// Appends the text of group n (0 the whole match); false when n names no group.
bool AppendGroup(std::u16string &out, const MatchRecord &m, const std::u16string &subject, size_t n) {
    if (n > m.groups.size()) return false;
    const TextSpan &span = n == 0 ? m.whole : m.groups[n - 1];
    if (span.matched) out.append(subject, size_t(span.start), size_t(span.length));
    return true;
}

bool IsDigit(char16_t c) { return c >= u'0' && c <= u'9'; }

} // namespace

std::shared_ptr<CompiledPattern> CompilePattern(const std::u16string &pattern, const RegexOptions &options) {
    pcre2_compile_context *context = pcre2_compile_context_create(nullptr);
    if (!context) return nullptr;
    // Line breaks are CR, LF and CRLF: '.' stops at them and multi-line anchors meet them.
    pcre2_set_newline(context, PCRE2_NEWLINE_ANYCRLF);
    int error = 0;
    PCRE2_SIZE offset = 0;
    pcre2_code *code = pcre2_compile(Units(pattern), pattern.size(), CompileOptions(options), &error, &offset, context);
    pcre2_compile_context_free(context);
    if (!code) return nullptr;
    pcre2_jit_compile(code, PCRE2_JIT_COMPLETE); // falls back to the interpreter when JIT is unavailable
    return std::make_shared<CompiledPattern>(code);
}

bool FindMatches(const CompiledPattern &pattern, const std::u16string &subject, bool global,
                 std::vector<MatchRecord> &matches) {
    pcre2_match_data *data = pcre2_match_data_create_from_pattern(pattern.code(), nullptr);
    if (!data) return false;
    uint32_t groups = 0;
    pcre2_pattern_info(pattern.code(), PCRE2_INFO_CAPTURECOUNT, &groups);
    bool ok = true;
    PCRE2_SIZE start = 0;
    while (start <= subject.size()) {
        int rc = pcre2_match(pattern.code(), Units(subject), subject.size(), start, 0, data, nullptr);
        // Deep backtracking can outgrow the JIT stack; the interpreter keeps its frames on the heap.
        if (rc == PCRE2_ERROR_JIT_STACKLIMIT)
            rc = pcre2_match(pattern.code(), Units(subject), subject.size(), start, PCRE2_NO_JIT, data, nullptr);
        if (rc == PCRE2_ERROR_NOMATCH) break;
        if (rc < 0) {
            ok = false;
            break;
        }
        matches.push_back(ReadMatch(data, groups));
        const TextSpan &whole = matches.back().whole;
        if (!global) break;
        // After an empty match the search goes on one unit further, as the script engine does.
        start = PCRE2_SIZE(whole.start + whole.length) + (whole.length == 0 ? 1 : 0);
    }
    pcre2_match_data_free(data);
    return ok;
}

std::u16string ExpandReplacement(const std::u16string &replacement, const MatchRecord &match,
                                 const std::u16string &subject) {
    std::u16string out;
    size_t n = replacement.size();
    for (size_t i = 0; i < n; ++i) {
        char16_t c = replacement[i];
        if (c != u'$' || i + 1 == n) {
            out += c;
            continue;
        }
        char16_t next = replacement[i + 1];
        size_t end = size_t(match.whole.start + match.whole.length);
        if (next == u'$') out += u'$', ++i;
        else if (next == u'&') out.append(subject, size_t(match.whole.start), size_t(match.whole.length)), ++i;
        else if (next == u'`') out.append(subject, 0, size_t(match.whole.start)), ++i;
        else if (next == u'\'') out.append(subject, end, std::u16string::npos), ++i;
        else if (IsDigit(next) && next != u'0') {
            // Two digits win when they name a group; otherwise one digit; otherwise the text stays.
            size_t one = size_t(next - u'0');
            size_t two = i + 2 < n && IsDigit(replacement[i + 2]) ? one * 10 + size_t(replacement[i + 2] - u'0') : 0;
            if (two && AppendGroup(out, match, subject, two)) i += 2;
            else if (AppendGroup(out, match, subject, one)) i += 1;
            else out += c;
        } else out += c;
    }
    return out;
}

std::u16string ReplaceMatches(const std::u16string &subject, const std::vector<MatchRecord> &matches,
                              const std::u16string &replacement) {
    std::u16string out;
    size_t at = 0;
    for (const MatchRecord &m : matches) {
        out.append(subject, at, size_t(m.whole.start) - at);
        out += ExpandReplacement(replacement, m, subject);
        at = size_t(m.whole.start + m.whole.length);
    }
    out.append(subject, at, std::u16string::npos);
    return out;
}

} // namespace ole
