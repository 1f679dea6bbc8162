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
}  // namespace debug

// One status line on standard output; the level is accepted and ignored.
void DPF(int level, const char* text);

// Always-active assertion: aborts the process when fBreak is false.
void DASSERT(bool fBreak);
