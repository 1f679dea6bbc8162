#include "effectManager.h"

#include <algorithm>
#include <functional>
#include <vector>

#include "Effect.h"
#include "Gravity.h"
#include "GravityWell.h"
#include "Screen.h"
#include "config.h"
#include "inputManager.h"

namespace effect {

namespace {

// In ascending address order without repeats, the order of the sums.
std::vector<Effect*> active_Effects;
GravityWell* pMouseWell = nullptr;

void activate(Effect* effect)
{
    const auto at = std::lower_bound(active_Effects.begin(), active_Effects.end(), effect, std::less<Effect*>());
    if (at == active_Effects.end() || *at != effect)
        active_Effects.insert(at, effect);
}

void deactivate(Effect* effect)
{
    const auto at = std::lower_bound(active_Effects.begin(), active_Effects.end(), effect, std::less<Effect*>());
    if (at != active_Effects.end() && *at == effect)
        active_Effects.erase(at);
}

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
    activate(new Screen());
    activate(new Gravity());
}

void clean()
{
    // Nothing uses the effects after this; freeing them keeps leak checks clean.
    deactivate(pMouseWell);
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
        activate(pMouseWell);
    if (cfg::mouseWellOff())
        deactivate(pMouseWell);
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

EffectSums sums(PhysicsEntity const* e, float dt)
{
    EffectSums totals;
    for (Effect const* effect : active_Effects)
        effect->addTo(totals, e, dt);
    return totals;
}

}  // namespace effect
