#pragma once

#include <cstdint>

class Entity;

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

// The live world, pending changes merged, as one 64-bit number: every
// entity's kind, position, velocity and radius (0 but for balls), by their
// bits, the particles and then the bodies, each family in its set order.
// Equal worlds give equal hashes on every run and build.
std::uint64_t worldHash();

// Not called by the program: for tests. Whether a frame is waiting for the
// physics lock, to be let in before the next physics pass.
bool frameWaiting();

}  // namespace manager
