#pragma once

#include <cstddef>
#include <vector>

#include "Polygon.h"
#include "effectManager.h"
#include "entityCreator.h"
#include "inputManager.h"
#include "scene.h"

// The whole state a tick of the world depends on, between two ticks: the
// world as a scene (bodies in their slots, the right button's queue, the
// well, the arena's free slots), the parts the creator's bodies play, the
// state stack, the pause, the middle button's hold and a drawing in
// progress. Built back, the world goes on as it would have, bit for bit.
namespace worldState {

struct Snapshot {
    scene::Scene world;
    creator::Order order;
    std::vector<int> states;
    bool paused = false;
    bool drawing = false;
    effect::Hold hold;
    std::vector<polygon::Pixel> points;
    // The pointer of the tick that left the world so: the next tick finds
    // the buttons' presses against it.
    input::Pointer pointer;
};

Snapshot capture();
// The world, the states, the flags, the hold and the drawing as they stood;
// no frame draws the world half built. The input is the caller's.
void restore(Snapshot const& snapshot);
// The memory a snapshot holds, counted from what it holds in the sizes of
// a 64-bit desktop build: the same count on every run of a session and on
// every platform, so that a recording's rewinds reach as far when replayed
// elsewhere (a page's on the desktop).
const std::size_t kSnapshotBytes = 200;
const std::size_t kBodyBytes = 88;
// A corner, a slot, a state's place, a point being drawn.
const std::size_t kItemBytes = 8;
std::size_t bytes(Snapshot const& snapshot);

}  // namespace worldState
