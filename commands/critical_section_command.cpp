#include <mutex>

#include "multithreading_library.h"
#include "runtime_interface.h"
#include "windows.h"

namespace cmd {
namespace {

// The critical section sits at the node's start, so the node's address is a handle
// the system's enter and leave functions take as it is.
struct CriticalSectionNode {
    CRITICAL_SECTION section;
    CriticalSectionNode *next;
};

CriticalSectionNode *head = nullptr;
// Worker threads create critical sections too; the list is never linked concurrently.
std::mutex listLock;

void DeleteAll() {
    std::lock_guard lock(listLock);
    while (CriticalSectionNode *node = head) {
        head = node->next;
        ::DeleteCriticalSection(&node->section);
        ::HeapFree(::GetProcessHeap(), 0, node);
    }
}

} // namespace

void CreateCriticalSection(rt::TypedValue *result, int32_t, rt::TypedValue *) {
    auto *node = static_cast<CriticalSectionNode *>(
        ::HeapAlloc(::GetProcessHeap(), HEAP_ZERO_MEMORY, sizeof(CriticalSectionNode)));
    if (!node) return; // no handle: the result stays 0
    ::InitializeCriticalSection(&node->section);
    {
        std::lock_guard lock(listLock);
        node->next = head;
        head = node;
    }
    result->SetPointer(node);
    result->type = rt::kTypeInteger;
}

intptr_t MultithreadingNotify(int32_t code, intptr_t, intptr_t) {
    if (code == rt::kNotifyStart) return 0;
    if (code != rt::kNotifyEnd) return -1;
    DeleteAll();
    return 0;
}

int32_t LiveCriticalSectionCount() {
    std::lock_guard lock(listLock);
    int32_t n = 0;
    for (CriticalSectionNode *node = head; node; node = node->next) ++n;
    return n;
}

const CommandEntry kMultithreadingCommands[] = {
    {"CreateCriticalSection", CreateCriticalSection, 5},
    {nullptr, nullptr, 0},
};

} // namespace cmd
