#pragma once

#include <SDL.h>
#include <map>
#include <string>

// The four key bindings, with built-in defaults; only the key file changes them.
namespace key {

extern SDLKey pause;
extern SDLKey end;
extern SDLKey follow;
extern SDLKey well;

// Binding name (case-sensitive) to the binding it sets.
extern std::map<std::string, SDLKey*> sdlMap;

void init();

}  // namespace key
