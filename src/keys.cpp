#include "keys.h"

namespace key {

SDLKey pause = SDLK_p;
SDLKey end = SDLK_ESCAPE;
SDLKey follow = SDLK_f;
SDLKey well = SDLK_SPACE;

std::map<std::string, SDLKey*> sdlMap;

void init()
{
    sdlMap["pause"] = &pause;
    sdlMap["end"] = &end;
    sdlMap["follow"] = &follow;
    sdlMap["well"] = &well;
}

}  // namespace key
