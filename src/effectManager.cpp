#include "effectManager.h"

#include <algorithm>
#include <functional>
#include <optional>
#include <vector>

#include "Effect.h"
#include "Grab.h"
#include "Gravity.h"
#include "GravityWell.h"
#include "PhysicsEntity.h"
#include "Screen.h"
#include "config.h"
#include "entityManager.h"
#include "inputManager.h"

namespace effect {

namespace {

// In ascending address order without repeats, the order of the sums.
std::vector<Effect*> active_Effects;
GravityWell* pMouseWell = nullptr;

// The effects in one block, in this order: their addresses, which order the
// sums, are the same in every run whatever the heap holds.
struct Effects {
    GravityWell well{Vector2(0.0f, 0.0f)};
    Screen screen;
    Gravity gravity;
    Grab grab;
};
std::optional<Effects> s_effects;

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
    s_effects.emplace();
    pMouseWell = &s_effects->well;
    activate(&s_effects->screen);
    activate(&s_effects->gravity);
}

void clean()
{
    active_Effects.clear();
    pMouseWell = nullptr;
    s_effects.reset();
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

    Grab& grab = s_effects->grab;
    if (input::mousePressed(input::Button::middle)) {
        PhysicsEntity const* body = manager::bodyAt(input::mousePosition());
        if (body != nullptr && body->kind() == Entity::Kind::ball) {
            grab.held = body;
            activate(&grab);
        }
    }
    if (!input::mouseMiddle())
        letGo(grab.held);
    grab.target = input::mousePosition();
}

Vector2 wellPosition()
{
    return pMouseWell->position;
}

bool wellOn()
{
    return std::binary_search(active_Effects.begin(), active_Effects.end(), pMouseWell, std::less<Effect*>());
}

void setWell(Vector2 const& position, bool on)
{
    pMouseWell->setPosition(position);
    if (on)
        activate(pMouseWell);
    else
        deactivate(pMouseWell);
}

// Declared for the tests alone (tests/held_ball.h): the program never asks.
PhysicsEntity const* held()
{
    return s_effects ? s_effects->grab.held : nullptr;
}

void letGo(Entity const* entity)
{
    if (!s_effects || entity == nullptr || s_effects->grab.held != entity)
        return;
    s_effects->grab.held = nullptr;
    deactivate(&s_effects->grab);
}

Hold hold()
{
    return {s_effects->grab.held, s_effects->grab.target};
}

void setHold(Hold const& hold)
{
    Grab& grab = s_effects->grab;
    letGo(grab.held);
    grab.held = hold.held;
    grab.target = hold.target;
    if (hold.held != nullptr)
        activate(&grab);
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
