#include "effectManager.h"

#include <set>

#include "Effect.h"
#include "Gravity.h"
#include "GravityWell.h"
#include "Screen.h"
#include "config.h"
#include "inputManager.h"

namespace effect {

namespace {

std::set<Effect*> active_Effects;
GravityWell* pMouseWell = nullptr;

template <typename Contribution>
Vector2 sum(Contribution contribution)
{
    Vector2 total(0.0f, 0.0f);
    for (Effect const* e : active_Effects)
        total += contribution(e);
    return total;
}

}  // namespace

void init()
{
    pMouseWell = new GravityWell(Vector2(0.0f, 0.0f));
    active_Effects.insert(new Screen());
    active_Effects.insert(new Gravity());
}

void clean()
{
    // Nothing uses the effects after this; freeing them keeps leak checks clean.
    active_Effects.erase(pMouseWell);
    for (Effect* e : active_Effects)
        delete e;
    active_Effects.clear();
    delete pMouseWell;
    pMouseWell = nullptr;
}

void update(float) {}

void handleInput()
{
    if (cfg::mouseWellFollow())
        pMouseWell->setPosition(input::mousePosition());
    if (cfg::mouseWellOn())
        active_Effects.insert(pMouseWell);
    if (cfg::mouseWellOff())
        active_Effects.erase(pMouseWell);
}

Vector2 positionDelta(PhysicsEntity const* e, float dt)
{
    return sum([&](Effect const* effect) { return effect->positionDelta(e, dt); });
}

Vector2 velocityDelta(PhysicsEntity const* e, float dt)
{
    return sum([&](Effect const* effect) { return effect->velocityDelta(e, dt); });
}

Vector2 forceDelta(PhysicsEntity const* e, float dt)
{
    return sum([&](Effect const* effect) { return effect->forceDelta(e, dt); });
}

}  // namespace effect
