// The collector: the start button's handler, the driver thread that reads the keyword
// box, and one job thread per keyword that fetches its result pages and appends the
// sites to the result box.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

namespace app {

// Shared state; the counters change by atomic single steps and are read by one too.
extern volatile LONG KeywordsToCollect;
extern volatile LONG JobsStarted;
extern volatile LONG JobsRunning;

// A counter's value, read atomically (a compare-exchange that changes nothing).
inline LONG Current(volatile LONG &counter) { return InterlockedCompareExchange(&counter, 0, 0); }

// The start button's click: starts the driver thread, unless a collection is still
// running, in which case the press is ignored (see README).
void StartCollection();
uint32_t CollectionDriver(void *unused);
uint32_t KeywordJob(void *k);

struct RegexMatcher;
// Appends the site of every result entry of `page` to the result box, a line each.
void AppendSites(RegexMatcher *matcher, const std::string &page);

// Removes the lines that are empty or hold only white space.
std::string RemoveBlankLines(const std::string &text, bool initialiseCom);

// The service's mobile host: the application's constant, or SORVEL_HOST when set.
std::string ServiceHost();

} // namespace app
