#pragma once

#include <SDL.h>

#include <array>
#include <map>
#include <set>
#include <string>

// The key bindings. Each starts at its default; at start-up the key file
// moves them, or, in a replay, the recording's header does.
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
extern SDLKey shape;
extern SDLKey save;
extern SDLKey rewind;

// A binding without a key: outside the key table, so never pressed.
const SDLKey unbound = SDLK_LAST;

// One binding: the name key files, recordings and --help know it by, the
// variable holding its key, that key's default, whether it is a tool (a tool
// came after the first key files, so its default yields to a key the file
// chose, see dropCollidingDefaults), and what it does.
struct Binding {
    const char* name;
    SDLKey* key;
    SDLKey defaultKey;
    bool tool;
    const char* effect;
};

// Every binding, once, in the order --help lists them. Adding a binding is a
// row here and the variable it sets.
inline constexpr std::array kBindings{
    Binding{"pause", &pause, SDLK_p, false, "pause, or resume"},
    Binding{"end", &end, SDLK_ESCAPE, false, "end the program (on release)"},
    Binding{"follow", &follow, SDLK_f, false, "while held, the gravity well follows the pointer"},
    Binding{"well", &well, SDLK_SPACE, false, "while held, the gravity well pulls every body"},
    Binding{"step", &step, SDLK_n, true, "while paused, run one tick"},
    Binding{"reset", &reset, SDLK_r, true, "back to the starting scene"},
    Binding{"slower", &slower, SDLK_MINUS, true, "halve the ticks per second (down to 12.5)"},
    Binding{"faster", &faster, SDLK_EQUALS, true, "double the ticks per second (up to 200)"},
    Binding{"grid", &grid, SDLK_g, true, "show or hide the collision grid"},
    Binding{"hud", &hud, SDLK_h, true, "show or hide the statistics overlay"},
    Binding{"shape", &shape, SDLK_d, true, "draw an obstacle: the left button places corners; again to make it"},
    Binding{"save", &save, SDLK_F5, true, "save the world as a scene"},
    Binding{"rewind", &rewind, SDLK_BACKSPACE, true, "while held, the world runs backwards"},
};

// Binding name (case-sensitive) to the variable it sets; filled by init from
// kBindings. Iterated, it gives the bindings in the order of their names.
extern std::map<std::string, SDLKey*> sdlMap;

void init();

// The tools came after the first key files: a tool whose default key a key
// file chose for another binding loses that default, so such a file behaves
// as before. `chosen` names the bindings the file set.
void dropCollidingDefaults(std::set<std::string> const& chosen);

}  // namespace key
