#include "sdlCompat.h"

#include <SDL.h>

#include <utility>

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

#ifdef __EMSCRIPTEN__
// Emscripten's SDL numbers the keys past ASCII as SDL 2 does; these are the
// ones a key file can name, and the default keys. Its Meta and Super keys are
// one (the classic library's Super, as the compatibility implementation's).
const std::pair<int, int> kPlatform_Classic[] = {
    {SDLK_UP, 273},      {SDLK_DOWN, 274},     {SDLK_RIGHT, 275},  {SDLK_LEFT, 276},  {SDLK_INSERT, 277},
    {SDLK_HOME, 278},    {SDLK_END, 279},      {SDLK_PAGEUP, 280}, {SDLK_PAGEDOWN, 281}, {SDLK_F1, 282},
    {SDLK_F2, 283},      {SDLK_F3, 284},       {SDLK_F4, 285},     {SDLK_F5, 286},    {SDLK_F6, 287},
    {SDLK_F7, 288},      {SDLK_F8, 289},       {SDLK_F9, 290},     {SDLK_F10, 291},   {SDLK_F11, 292},
    {SDLK_F12, 293},     {SDLK_CAPSLOCK, 301}, {SDLK_RSHIFT, 303}, {SDLK_LSHIFT, 304}, {SDLK_RCTRL, 305},
    {SDLK_LCTRL, 306},   {SDLK_RALT, 307},     {SDLK_LALT, 308},   {SDLK_RSUPER, 312}, {SDLK_LSUPER, 311},
    {SDLK_RMETA, 309},   {SDLK_LMETA, 310},    {SDLK_LAST, kClassicUnbound},
};
// ASCII is numbered alike.
const int kFirstNumberedApart = 128;

// `key` in the other numbering, the classic one or the platform's; a key it
// has not binds nothing.
int renumber(int key, bool toClassic)
{
    if (key < kFirstNumberedApart)
        return key;
    for (auto const& [platform, classic] : kPlatform_Classic)
        if ((toClassic ? platform : classic) == key)
            return toClassic ? classic : platform;
    return toClassic ? kClassicUnbound : SDLK_LAST;
}
#else
static_assert(SDLK_LAST == kClassicUnbound, "the desktop numbers its keys as the classic library");

int renumber(int key, bool)
{
    return key;
}
#endif

}  // namespace

int recordedKeyCode(int key)
{
    return renumber(key, true);
}

int platformKeyCode(int recorded)
{
    return renumber(recorded, false);
}

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
