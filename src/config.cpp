#include "config.h"

#include <algorithm>
#include <atomic>

#include "debug.h"
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
bool fStep = false;
bool fReset = false;
const float kTimeScales[] = {0.125f, 0.25f, 0.5f, 1.0f, 2.0f};
const int kLastScale = sizeof kTimeScales / sizeof kTimeScales[0] - 1;
const int kNormalScale = 3;
int s_iTimeScale = kNormalScale;
bool fShape = false;
bool fSave = false;
std::atomic<bool> fShowGrid{false};
std::atomic<bool> fShowHud{false};
bool fRewinding = false;
bool fRewindable = false;

void toggle(std::atomic<bool>& flag)
{
    flag.store(!flag.load());
}

// The shape key, before the pause key of the same tick is counted.
void handleShape()
{
    fShape = false;
    if (!input::wasPressed(key::shape))
        return;
    if (fPaused)
        DPF(0, "shape: the world is paused; resume it first");
    else
        fShape = true;
}

// While rewinding the world keys do nothing; the step key steps back.
void handleRewindInput()
{
    fShape = false;
    if (input::wasPressed(key::pause))
        fPaused = !fPaused;
    fWellFollow = false;
    fWellOn = false;
    fWellOff = false;
    fStep = input::wasPressed(key::step);
    fReset = false;
}

}  // namespace

void init()
{
    key::init();
    readConfigs();
}

void clean() {}

void handleWorldInput()
{
    handleShape();
    if (input::wasPressed(key::pause))
        fPaused = !fPaused;
    fWellFollow = input::isPressed(key::follow);
    fWellOn = input::wasPressed(key::well);
    fWellOff = input::wasReleased(key::well);
    fStep = input::wasPressed(key::step);
    fReset = input::wasPressed(key::reset);
}

void handleInput()
{
    if (input::wasPressed(key::rewind) && !fRewindable)
        DPF(0, "rewind: off: the world keeps no history (--history 0)");
    fRewinding = fRewindable && input::isPressed(key::rewind);
    if (fRewinding)
        handleRewindInput();
    else
        handleWorldInput();
    fEndGame = input::wasReleased(key::end);
    fSave = input::wasPressed(key::save);
    if (input::wasPressed(key::slower))
        s_iTimeScale = std::max(s_iTimeScale - 1, 0);
    if (input::wasPressed(key::faster))
        s_iTimeScale = std::min(s_iTimeScale + 1, kLastScale);
    if (input::wasPressed(key::grid))
        toggle(fShowGrid);
    if (input::wasPressed(key::hud))
        toggle(fShowHud);
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

bool stepWorld()
{
    return fStep;
}

bool resetWorld()
{
    return fReset;
}

float timeScale()
{
    return kTimeScales[s_iTimeScale];
}

bool showGrid()
{
    return fShowGrid.load();
}

bool showHud()
{
    return fShowHud.load();
}

bool shapeAsked()
{
    return fShape;
}

bool saveAsked()
{
    return fSave;
}

bool rewinding()
{
    return fRewinding;
}

void setRewindable(bool rewindable)
{
    fRewindable = rewindable;
}

void setPaused(bool paused)
{
    fPaused = paused;
}

}  // namespace cfg
