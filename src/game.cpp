#include "game.h"

#include <algorithm>
#include <vector>

#include "Autolock.h"
#include "CreatingPolygon.h"
#include "GameState.h"
#include "Mutex.h"
#include "Paused.h"
#include "Running.h"
#include "config.h"
#include "debug.h"
#include "effectManager.h"
#include "entityCreator.h"
#include "world.h"

namespace game {

namespace {

std::vector<GameState*> s_possible_States;
std::vector<GameState*> s_active_States;
bool s_bPopState = false;
GameState* s_pPushState = nullptr;

// The draw thread copies the stack while the update thread pushes and pops:
// the copy and every change hold this lock, which is never held while a
// state draws, so no tick waits for a frame. States are deleted only after
// the draw thread's last frame.
Mutex muStates;
// The draw thread's copy, with room for every state from init on.
std::vector<GameState*> s_drawn_States;

}  // namespace

void init()
{
    s_bPopState = false;
    s_pPushState = nullptr;
    muStates.init();
    effect::init();
    s_possible_States.push_back(new Running());
    s_possible_States.push_back(new Paused());
    s_possible_States.push_back(new CreatingPolygon());
    s_drawn_States.reserve(s_possible_States.size());
    {
        Autolock lock(muStates);
        s_active_States.push_back(s_possible_States[0]);
    }
    DPF(0, "World Created");
}

void handleInput()
{
    if (cfg::resetWorld())
        world::reset();
    // Drawing takes the mouse buttons; the obstacle is made before they act
    // in the tick drawing ends.
    CreatingPolygon::followShapeKey();
    if (!CreatingPolygon::drawing())
        creator::handleInput();
    GameState* top = s_active_States.back();
    for (GameState* state : s_possible_States)
        if (state != top && state->pushMe())
            s_pPushState = state;
    const std::size_t count = s_active_States.size();
    for (std::size_t i = 0; i + 1 < count; ++i)
        s_active_States[i]->handleInput(false);
    if (top->popMe())
        s_bPopState = true;
    else
        top->handleInput(true);
}

void update(float dt)
{
    if (s_bPopState || s_pPushState != nullptr) {
        Autolock lock(muStates);
        if (s_bPopState) {
            s_active_States.pop_back();
            s_bPopState = false;
        }
        if (s_pPushState != nullptr) {
            s_active_States.push_back(s_pPushState);
            s_pPushState = nullptr;
        }
    }
    const std::size_t count = s_active_States.size();
    for (std::size_t i = 0; i < count; ++i)
        s_active_States[i]->update(dt, i + 1 == count);
}

void draw()
{
    {
        Autolock lock(muStates);
        s_drawn_States.assign(s_active_States.begin(), s_active_States.end());
    }
    const std::size_t count = s_drawn_States.size();
    for (std::size_t i = 0; i < count; ++i)
        s_drawn_States[i]->draw(i + 1 == count);
}

std::vector<int> stateStack()
{
    std::vector<int> stack;
    for (GameState* state : s_active_States)
        stack.push_back(static_cast<int>(
            std::find(s_possible_States.begin(), s_possible_States.end(), state) - s_possible_States.begin()));
    return stack;
}

void setStateStack(std::vector<int> const& stack)
{
    Autolock lock(muStates);
    s_active_States.clear();
    for (int place : stack)
        s_active_States.push_back(s_possible_States[static_cast<std::size_t>(place)]);
}

void clean()
{
    effect::clean();
    creator::clean();
    for (GameState* state : s_possible_States)
        delete state;
    {
        Autolock lock(muStates);
        s_possible_States.clear();
        s_active_States.clear();
    }
    s_drawn_States.clear();
    muStates.clean();
}

}  // namespace game
