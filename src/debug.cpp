// DASSERT stays active whatever the build type says.
#undef NDEBUG

#include "debug.h"

#include <cassert>
#include <cstdlib>
#include <iostream>
#include <unistd.h>

#include "Autolock.h"
#include "Mutex.h"

Mutex muDPF;

namespace {

thread_local bool s_bMuted = false;

}  // namespace

namespace debug {

Muted::Muted()
{
    s_bMuted = true;
}

Muted::~Muted()
{
    s_bMuted = false;
}

void init()
{
    muDPF.init();
}

void clean()
{
    muDPF.clean();
}

void quit(int status)
{
    std::cout.flush();
    std::cerr.flush();
    _exit(status);
}

}  // namespace debug

void DPF(int, const char* text)
{
    if (s_bMuted)
        return;
    Autolock lock(muDPF);
    std::cout << text << std::endl;
}

void DASSERT(bool fBreak)
{
    // Asserted here, so the report names this function, never the caller.
    assert(fBreak);
}
