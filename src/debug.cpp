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

namespace debug {

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
    Autolock lock(muDPF);
    std::cout << text << std::endl;
}

void DASSERT(bool fBreak)
{
    // Asserted here, so the report names this function, never the caller.
    assert(fBreak);
}
