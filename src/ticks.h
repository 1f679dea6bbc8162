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

// The budget of one iteration of either worker loop.
const float kIterationBudgetMicro = 10000.0f;

// One pacing step of a worker loop: deposits what is left of the budget after
// `elapsedMicro` into `bank` and returns the milliseconds to sleep now (a
// whole multiple of 20, or 0). A longer or shorter budget runs the loop
// slower or faster.
int pacingSleepMillis(float& bank, int elapsedMicro, float budgetMicro = kIterationBudgetMicro);
