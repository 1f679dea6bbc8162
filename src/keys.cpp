#include "keys.h"

namespace key {

namespace {

// The table's default for a binding, found when the program is compiled, so
// that every binding holds its default before any code runs.
constexpr SDLKey defaultOf(SDLKey const* binding)
{
    for (Binding const& row : kBindings)
        if (row.key == binding)
            return row.defaultKey;
    return unbound;
}

}  // namespace

SDLKey pause = defaultOf(&pause);
SDLKey end = defaultOf(&end);
SDLKey follow = defaultOf(&follow);
SDLKey well = defaultOf(&well);
SDLKey step = defaultOf(&step);
SDLKey reset = defaultOf(&reset);
SDLKey slower = defaultOf(&slower);
SDLKey faster = defaultOf(&faster);
SDLKey grid = defaultOf(&grid);
SDLKey hud = defaultOf(&hud);
SDLKey shape = defaultOf(&shape);
SDLKey save = defaultOf(&save);
SDLKey rewind = defaultOf(&rewind);

std::map<std::string, SDLKey*> sdlMap;

void init()
{
    for (Binding const& binding : kBindings)
        sdlMap[binding.name] = binding.key;
}

void dropCollidingDefaults(std::set<std::string> const& chosen)
{
    for (Binding const& tool : kBindings) {
        if (!tool.tool || chosen.count(tool.name) != 0 || *tool.key != tool.defaultKey)
            continue;
        for (std::string const& name : chosen)
            if (*sdlMap.at(name) == tool.defaultKey)
                *tool.key = unbound;
    }
}

}  // namespace key
