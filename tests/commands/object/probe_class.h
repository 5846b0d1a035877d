// A test-only automation class with optional, out and variadic parameters, a variable,
// an enumeration parameter and members that fail, registered under kProbeClassText.
#pragma once

#include <ole2.h>

#include <atomic>

namespace objtest {

// "{…}" of the class; registered by RegisterProbeClass (once per process).
extern const char kProbeClassText[];
void RegisterProbeClass();

// What the last call on any probe saw, for the tests to look at.
struct ProbeRecord {
    std::atomic<int> sumCalls{0};
    std::atomic<bool> sawMissing{false};
    std::atomic<int> lastArgumentType{0};
    std::atomic<int> objects{0}; // live probe objects
    std::atomic<int> lastPutFlags{0};
};
ProbeRecord &Probes();

// An object that offers IUnknown only, and one whose IDispatch has no type information.
IUnknown *NewPlainObject();
IUnknown *NewBlindDispatch();

// Record information that counts what is done to one record (`original`, made with
// new char[8]; destroying it deletes it).
struct RecordCounts {
    void *original = nullptr;
    std::atomic<int> cleared{0}, destroyed{0}, copied{0}, refs{1};
};
IRecordInfo *NewCountingRecordInfo(RecordCounts &counts);

} // namespace objtest
