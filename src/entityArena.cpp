#include "entityArena.h"

#include <sys/mman.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <string>
#include <vector>

#include "debug.h"
#include "errorLine.h"

#if defined(__SANITIZE_ADDRESS__)
#include <sanitizer/asan_interface.h>
#define ARENA_POISON(slot) ASAN_POISON_MEMORY_REGION((slot), kSlotBytes)
#define ARENA_UNPOISON(slot) ASAN_UNPOISON_MEMORY_REGION((slot), kSlotBytes)
#else
#define ARENA_POISON(slot) ((void)(slot))
#define ARENA_UNPOISON(slot) ((void)(slot))
#endif

namespace entityArena {

namespace {

// Reserved at the first take and kept to the end of the process; only the
// pages slots have used take memory.
unsigned char* s_pBase = nullptr;
std::size_t s_uNeverUsed = 0;
std::vector<std::size_t> s_free_Slots;

// Refused (a limit on the address space, ulimit -v), there is no world to
// build: the program says so and ends, during start-up, with the other
// thread perhaps still running.
unsigned char* base()
{
    if (s_pBase == nullptr) {
        void* reserved = mmap(nullptr, kSlots * kSlotBytes, PROT_READ | PROT_WRITE,
                              MAP_PRIVATE | MAP_ANONYMOUS | MAP_NORESERVE, -1, 0);
        if (reserved == MAP_FAILED) {
            errorLine::print("cannot reserve the world's " + std::to_string(kSlots * kSlotBytes >> 20) +
                             " MiB of address space: " + std::strerror(errno));
            debug::quit(1);
        }
        s_pBase = static_cast<unsigned char*>(reserved);
    }
    return s_pBase;
}

}  // namespace

void* take()
{
    std::size_t index;
    if (!s_free_Slots.empty()) {
        index = s_free_Slots.back();
        s_free_Slots.pop_back();
    } else if (s_uNeverUsed < kSlots) {
        index = s_uNeverUsed++;
    } else {
        return nullptr;
    }
    void* slot = base() + index * kSlotBytes;
    ARENA_UNPOISON(slot);
    return slot;
}

void give(void* slot)
{
    unsigned char* const at = static_cast<unsigned char*>(slot);
    DASSERT(s_pBase != nullptr && at >= s_pBase && at < s_pBase + kSlots * kSlotBytes);
    const auto offset = static_cast<std::size_t>(at - s_pBase);
    DASSERT(offset % kSlotBytes == 0);
    s_free_Slots.push_back(offset / kSlotBytes);
    // A body read after it was freed is a fault the sanitizer reports.
    ARENA_POISON(slot);
}

std::size_t used()
{
    return s_uNeverUsed - s_free_Slots.size();
}

std::size_t slotOf(void const* body)
{
    unsigned char const* const at = static_cast<unsigned char const*>(body);
    DASSERT(s_pBase != nullptr && at >= s_pBase && at < s_pBase + kSlots * kSlotBytes);
    return static_cast<std::size_t>(at - s_pBase) / kSlotBytes;
}

std::vector<std::size_t> freeSlots()
{
    return std::vector<std::size_t>(s_free_Slots.rbegin(), s_free_Slots.rend());
}

void layOut(std::vector<std::size_t> const& next, std::vector<std::size_t> const& free)
{
    DASSERT(used() == 0);
    base();
    std::vector<bool> listed;
    std::size_t mark = 0;
    for (std::vector<std::size_t> const* slots : {&next, &free})
        for (std::size_t slot : *slots) {
            DASSERT(slot < kSlots);
            mark = std::max(mark, slot + 1);
            if (listed.size() < mark)
                listed.resize(mark, false);
            DASSERT(!listed[slot]);
            listed[slot] = true;
        }
    // A stack: the slot taken first goes on last.
    s_free_Slots.clear();
    for (std::size_t slot = mark; slot-- > 0;)
        if (!listed[slot])
            s_free_Slots.push_back(slot);
    s_free_Slots.insert(s_free_Slots.end(), free.rbegin(), free.rend());
    s_free_Slots.insert(s_free_Slots.end(), next.rbegin(), next.rend());
    s_uNeverUsed = mark;
    for (std::size_t slot : s_free_Slots)
        ARENA_POISON(s_pBase + slot * kSlotBytes);
}

}  // namespace entityArena
