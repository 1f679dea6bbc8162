#pragma once

class Mutex;

// Serialises DPF lines; its platform mutex lives from debug::init to debug::clean.
extern Mutex muDPF;

namespace debug {
void init();
void clean();

// Ends the process with `status` while other threads may still run: flushes
// the standard streams and skips static destructors.
[[noreturn]] void quit(int status);

// While one lives, DPF prints nothing on this thread: ticks of the world
// run again, as rewinding does, say nothing twice.
class Muted {
public:
    Muted();
    ~Muted();
    Muted(Muted const&) = delete;
    Muted& operator=(Muted const&) = delete;
};
}  // namespace debug

// One status line on standard output; the level is accepted and ignored.
void DPF(int level, const char* text);

// Always-active assertion: aborts the process when fBreak is false.
void DASSERT(bool fBreak);
