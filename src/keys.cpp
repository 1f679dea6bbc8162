#include "keys.h"

namespace key {

namespace {

struct ToolDefault {
    const char* name;
    SDLKey code;
};

const ToolDefault kStep = {"step", SDLK_n};
const ToolDefault kReset = {"reset", SDLK_r};
const ToolDefault kSlower = {"slower", SDLK_MINUS};
const ToolDefault kFaster = {"faster", SDLK_EQUALS};
const ToolDefault kGrid = {"grid", SDLK_g};
const ToolDefault kHud = {"hud", SDLK_h};
const ToolDefault kTools[] = {kStep, kReset, kSlower, kFaster, kGrid, kHud};

}  // namespace

SDLKey pause = SDLK_p;
SDLKey end = SDLK_ESCAPE;
SDLKey follow = SDLK_f;
SDLKey well = SDLK_SPACE;

SDLKey step = kStep.code;
SDLKey reset = kReset.code;
SDLKey slower = kSlower.code;
SDLKey faster = kFaster.code;
SDLKey grid = kGrid.code;
SDLKey hud = kHud.code;

std::map<std::string, SDLKey*> sdlMap;

void init()
{
    sdlMap["pause"] = &pause;
    sdlMap["end"] = &end;
    sdlMap["follow"] = &follow;
    sdlMap["well"] = &well;
    sdlMap[kStep.name] = &step;
    sdlMap[kReset.name] = &reset;
    sdlMap[kSlower.name] = &slower;
    sdlMap[kFaster.name] = &faster;
    sdlMap[kGrid.name] = &grid;
    sdlMap[kHud.name] = &hud;
}

void dropCollidingDefaults(std::set<std::string> const& chosen)
{
    for (ToolDefault const& tool : kTools) {
        SDLKey* const binding = sdlMap.at(tool.name);
        if (chosen.count(tool.name) != 0 || *binding != tool.code)
            continue;
        for (std::string const& name : chosen)
            if (*sdlMap.at(name) == tool.code)
                *binding = unbound;
    }
}

}  // namespace key
