#pragma once

// Scheduling priority of the calling thread: ticks are the contract, frames
// are best effort, so when the processors are short the draw side gives way.
namespace threadPriority {

// Raises the calling thread's nice value by `steps` (capped at the lowest
// priority). Threads it starts afterwards inherit the new value. Needs no
// privileges; false, with nothing changed, when the system refuses.
bool lowerCurrentThread(int steps);

}  // namespace threadPriority
