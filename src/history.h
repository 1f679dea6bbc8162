#pragma once

#include <cstddef>

#include "inputManager.h"

// The world's past, so that it can run backwards: a snapshot of the whole
// state every few ticks and the input of every tick, within a memory cap.
// The world is deterministic, so the ticks between two snapshots are run
// again from their input: each tick shown while rewinding is bit for bit
// the world that tick showed going forwards. Update thread only.
namespace history {

// At most the last 60 seconds of world time.
const long kMostTicks = 6000;
// A snapshot every this many ticks: the ticks run again to show one tick
// back stay within one tick's time for a world of a few thousand balls.
const long kTicksPerSnapshot = 3;

// Runs one tick of the world from its input: the input applied, the world's
// flags, the game's input and update, nothing else.
using Step = void (*)(input::Frame const& in);

// After the world is built, with the cap in bytes (0: no history, and no
// rewinding); the world as it stands is the oldest tick kept.
void start(std::size_t capBytes, Step step);
void clean();
bool kept();

// A tick ran forwards with this input. After rewinding, the world goes on
// from the tick it stands at: what had come after it is gone.
void ranForward(input::Frame const& in);
// A tick rewinding: the world as it stood one tick earlier, when `back` is
// set and the history reaches that far (else a line says why, once per
// hold), the person's pause kept. Then the world as it stands is where a
// tick forwards would go on from.
void rewind(bool back);

// How many ticks back from the newest the world stands: 0 while it runs.
long ticksBack();
// How many ticks back the oldest kept tick is from the newest one.
long reach();
// The memory the history holds by the count the cap applies to: every
// snapshot and every tick's input; not the few ticks rewinding runs again
// and keeps while it goes through them.
std::size_t bytes();

}  // namespace history
