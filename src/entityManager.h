#pragma once

#include <cstdint>

class Entity;
class PhysicsEntity;
class Vector2;

// The live world, shared by the update and draw threads. Additions and
// removals wait in pending sets and are merged, under the family's lock, by
// whichever thread next updates or draws.
namespace manager {

void init();
void clean();
void add(Entity* entity);
void remove(Entity* entity);
void update(float dt);
void draw();
void handleInput();

// Update thread: the body drawn at a point, the one a person sees there,
// pending changes merged: a polygon when one holds the point (polygons are
// drawn over balls), else the first ball in drawing order whose disc holds
// it; null when there is none.
PhysicsEntity* bodyAt(Vector2 const& point);

// The live world, pending changes merged, as one 64-bit number: every
// entity's kind, position, velocity and radius (0 but for balls), by their
// bits, the particles and then the bodies, each family in its set order.
// Equal worlds give equal hashes on every run and build.
std::uint64_t worldHash();

// Update thread: the pending additions and removals merged now. Around
// deleting every body and building a world anew, it keeps each removal and
// addition from searching a pending change of every body for its own.
void settle();

// Update thread: while one lives, no frame copies the world, so that a
// change of every body at once (rewinding builds the world anew) is drawn
// whole or not at all. It holds the family's lock, which the update thread
// may take again meanwhile; no world step may run under it.
class FrameHold {
public:
    FrameHold();
    ~FrameHold();
    FrameHold(FrameHold const&) = delete;
    FrameHold& operator=(FrameHold const&) = delete;
};

// Not called by the program: for tests. Whether a frame is waiting for the
// physics lock, to be let in before the next physics pass.
bool frameWaiting();

}  // namespace manager
