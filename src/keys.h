#pragma once

#include <SDL.h>
#include <map>
#include <set>
#include <string>

// The key bindings, with built-in defaults; only the key file changes them.
namespace key {

extern SDLKey pause;
extern SDLKey end;
extern SDLKey follow;
extern SDLKey well;

// The sandbox's tools.
extern SDLKey step;
extern SDLKey reset;
extern SDLKey slower;
extern SDLKey faster;
extern SDLKey grid;
extern SDLKey hud;

// A binding without a key: outside the key table, so never pressed.
const SDLKey unbound = SDLK_LAST;

// Binding name (case-sensitive) to the binding it sets.
extern std::map<std::string, SDLKey*> sdlMap;

void init();

// The tools came after the first key files: a tool whose default key a key
// file chose for another binding loses that default, so such a file behaves
// as before. `chosen` names the bindings the file set.
void dropCollidingDefaults(std::set<std::string> const& chosen);

}  // namespace key
