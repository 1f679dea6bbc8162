#include "sdlCompat.h"

#include <SDL.h>

namespace sdlCompat {

namespace {

// The compatibility implementation calls itself 1.2.50 and later; the
// classic library ended at 1.2.15.
const int kFirstCompatPatch = 50;

bool isCompatImplementation()
{
    const SDL_version* version = SDL_Linked_Version();
    return version->major == 1 && version->minor == 2 && version->patch >= kFirstCompatPatch;
}

}  // namespace

int classicKeyCode(int code)
{
    if (!isCompatImplementation())
        return code;
    switch (code) {
    case SDLK_LMETA:
        return SDLK_LSUPER;
    case SDLK_RMETA:
        return SDLK_RSUPER;
    default:
        return code;
    }
}

}  // namespace sdlCompat
