// The page runs every tick and every frame on one thread, so a lock has
// nothing to wait for. Emscripten's SDL gives no mutex at all (a null
// handle), which Mutex takes for a lock used outside its life and aborts on;
// these stand in for SDL's so that Mutex keeps its checks in the page.
#include <SDL.h>

namespace {
// One object serves as every mutex: no state is kept.
char s_cMutex;
}  // namespace

extern "C" {

SDL_mutex* SDL_CreateMutex(void)
{
    return reinterpret_cast<SDL_mutex*>(&s_cMutex);
}

void SDL_DestroyMutex(SDL_mutex*) {}

int SDL_mutexP(SDL_mutex*)
{
    return 0;
}

int SDL_mutexV(SDL_mutex*)
{
    return 0;
}

}  // extern "C"
