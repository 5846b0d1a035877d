// RegexMatcher: one regular-expression object and the match collection of its last
// execution, reached through the object commands. Callers use the method table.
#pragma once

#include <cstdint>
#include <string>

#include "com_variables.h"

namespace app {

struct RegexMatcher;

struct MatchOptions {
    bool caseSensitive = false;
    bool multiLine = true;
    bool global = true;
    bool quotePlaceholder = false; // "#引号" in the pattern stands for a double quote
};

// The operations in slot order. Match and sub-match indexes count from 1. A position
// asked for is the 0-based byte offset of the returned text in the subject.
struct RegexMatcherMethods {
    void (*destroy)(RegexMatcher *self);                                                                       // 0
    RegexMatcher *(*copy)(const RegexMatcher *self);                                                           // 1
    bool (*execute)(RegexMatcher *self, const std::string &pattern, const std::string &subject,
                    const MatchOptions &options);                                                              // 2
    void (*nothing)(RegexMatcher *self);                                                                       // 3
    std::string (*patternText)(const RegexMatcher *self);                                                      // 4
    std::string (*replace)(const RegexMatcher *self, const std::string &replacement);                          // 5
    int32_t (*matchCount)(const RegexMatcher *self);                                                           // 6
    std::string (*matchText)(const RegexMatcher *self, int32_t i, int32_t *position, bool wantPosition);       // 7
    std::string (*subMatchText)(const RegexMatcher *self, int32_t i, int32_t j, int32_t *position,
                                bool wantPosition);                                                            // 8
    int32_t (*subMatchCount)(const RegexMatcher *self);                                                        // 9
};

extern const RegexMatcherMethods kRegexMatcherMethods;

struct RegexMatcher {
    const RegexMatcherMethods *methods;
    ObjectVariable expression; // empty until the first execution
    ObjectVariable matches;    // the last execution's collection
    std::string subject;       // the last execution's text
};

// Empty fields; initialises COM on this thread until the matcher is destroyed (slot 0).
RegexMatcher *NewRegexMatcher();

} // namespace app
