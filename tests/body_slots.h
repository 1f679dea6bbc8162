#pragma once

// Bodies built in consecutive slots of one block, so that their address
// order, the order in which the grid and the manager visit them, is the order
// in which they were made. They are destroyed with the block.

#include <cstddef>
#include <cstdlib>
#include <new>
#include <utility>
#include <vector>

#include "PhysicsEntity.h"
#include "Vector2.h"

class BodySlots {
public:
    explicit BodySlots(std::size_t capacity = 16) : slots(capacity) {}

    BodySlots(BodySlots const&) = delete;
    BodySlots& operator=(BodySlots const&) = delete;

    ~BodySlots()
    {
        for (PhysicsEntity* body : bodies)
            body->~PhysicsEntity();
    }

    // A body of class T in the next slot.
    template <typename T, typename... Args>
    T* add(Args&&... args)
    {
        static_assert(sizeof(T) <= sizeof(Slot), "slot too small");
        // Past the block a body would overwrite other memory.
        if (bodies.size() >= slots.size())
            std::abort();
        T* body = new (slots[bodies.size()].bytes) T(std::forward<Args>(args)...);
        bodies.push_back(body);
        return body;
    }

    // Every body, in slot order.
    std::vector<PhysicsEntity*> const& all() const { return bodies; }

private:
    struct alignas(std::max_align_t) Slot {
        unsigned char bytes[256];
    };

    std::vector<Slot> slots;
    std::vector<PhysicsEntity*> bodies;
};

// The corners of the axis-aligned rectangle from (minX, minY) to (maxX, maxY).
inline std::vector<Vector2> rectangle(float minX, float minY, float maxX, float maxY)
{
    return {Vector2(minX, minY), Vector2(maxX, minY), Vector2(maxX, maxY), Vector2(minX, maxY)};
}
