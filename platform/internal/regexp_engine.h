// The regular-expression engine of the RegExp component: the script dialect (UTF-16 code
// units, '.' stopping at line breaks, '$' only at the very end unless multi-line) over PCRE2.
#pragma once

#include <memory>
#include <string>
#include <vector>

namespace ole {

struct RegexOptions {
    bool ignoreCase = false;
    bool global = false;
    bool multiline = false;
};

struct TextSpan {
    long start = 0;
    long length = 0;
    bool matched = false; // false for a group that took no part in the match
};

struct MatchRecord {
    TextSpan whole;
    std::vector<TextSpan> groups;
};

// What one execution found: the subject and every match, shared by the result objects.
struct MatchSet {
    std::u16string subject;
    std::vector<MatchRecord> matches;
};

class CompiledPattern;

// Compiles pattern with options; null when the pattern is not valid.
std::shared_ptr<CompiledPattern> CompilePattern(const std::u16string &pattern, const RegexOptions &options);

// Finds the first match, or every match when global; false when the engine fails.
bool FindMatches(const CompiledPattern &pattern, const std::u16string &subject, bool global,
                 std::vector<MatchRecord> &matches);

// The replacement text for one match: $1 .. $99, $&, $`, $' and $$ as the script engine reads them.
std::u16string ExpandReplacement(const std::u16string &replacement, const MatchRecord &match,
                                 const std::u16string &subject);

// The subject with the matches replaced.
std::u16string ReplaceMatches(const std::u16string &subject, const std::vector<MatchRecord> &matches,
                              const std::u16string &replacement);

} // namespace ole
