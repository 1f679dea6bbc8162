#include "config.h"

#include "inputManager.h"
#include "keys.h"
#include "reader.h"

namespace cfg {

namespace {

bool fPaused = false;
bool fEndGame = false;
bool fWellFollow = false;
bool fWellOn = false;
bool fWellOff = false;
const bool fShowFPS = true;
const bool fShowUPS = true;

}  // namespace

void init()
{
    key::init();
    readConfigs();
}

void clean() {}

void handleInput()
{
    if (input::wasPressed(key::pause))
        fPaused = !fPaused;
    fEndGame = input::wasReleased(key::end);
    fWellFollow = input::isPressed(key::follow);
    fWellOn = input::wasPressed(key::well);
    fWellOff = input::wasReleased(key::well);
}

bool paused()
{
    return fPaused;
}

bool endGame()
{
    return fEndGame;
}

bool mouseWellFollow()
{
    return fWellFollow;
}

bool mouseWellOn()
{
    return fWellOn;
}

bool mouseWellOff()
{
    return fWellOff;
}

bool showFPS()
{
    return fShowFPS;
}

bool showUPS()
{
    return fShowUPS;
}

}  // namespace cfg
