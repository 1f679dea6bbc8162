#pragma once

// Microseconds from a monotonic clock as a wrapping signed 32-bit count.
// Only differences of two readings mean anything.
int tickCountMicro();
// Not called by the program: for tests and benchmarks.
int tickCountMilli();
// Not called by the program: for tests and benchmarks.
int tickCountSec();

// Difference of two readings in 32-bit two's-complement arithmetic, exact
// across the wrap for readings less than 2^31 microseconds apart.
int tickDifference(int later, int earlier);

// One pacing step of a worker loop: deposits what is left of the 10 ms budget
// after `elapsedMicro` into `bank` and returns the milliseconds to sleep now
// (a whole multiple of 20, or 0).
int pacingSleepMillis(float& bank, int elapsedMicro);
