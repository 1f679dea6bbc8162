#pragma once

#include <cstddef>
#include <new>
#include <utility>
#include <vector>

// The world's bodies in one contiguous reservation of equal slots. A body's
// address, and with it its place in every set ordered by address, then
// follows from the order in which bodies were made and freed, never from
// what else the process allocated before, on either thread: a session run
// again from the same input builds the same world.
namespace entityArena {

// Room for any body of the world.
const std::size_t kSlotBytes = 128;
// More bodies than the world step could move in its budget.
const std::size_t kSlots = std::size_t(1) << 20;

// A free slot: the one freed last, else the lowest never used; null once
// every slot is in use. The first take reserves the arena; when the system
// refuses, the program ends with one line on standard error and status 1.
void* take();
void give(void* slot);
// Slots in use.
std::size_t used();

// The slot a body stands in.
std::size_t slotOf(void const* body);
// The free slots below the highest ever used, in the order take() hands
// them out.
std::vector<std::size_t> freeSlots();
// An empty arena laid out afresh: the next takes hand out `next` in order,
// then `free` in order, then the other slots below the highest of both,
// lowest first, then the slots above. Slots must be distinct and in range.
void layOut(std::vector<std::size_t> const& next, std::vector<std::size_t> const& free);

template <typename T, typename... Args>
T* make(Args&&... args)
{
    static_assert(sizeof(T) <= kSlotBytes && alignof(T) <= alignof(std::max_align_t), "no room in a slot");
    void* slot = take();
    return slot == nullptr ? nullptr : new (slot) T(std::forward<Args>(args)...);
}

template <typename T>
void destroy(T* body)
{
    body->~T();
    give(body);
}

}  // namespace entityArena
