#include "Paused.h"

#include "config.h"
#include "entityManager.h"

void Paused::handleInput(bool) const {}

// The step key runs the very tick the running state runs, once per press.
void Paused::update(float dt, bool top) const
{
    if (top && cfg::stepWorld())
        manager::update(dt);
}

void Paused::draw(bool) const {}

bool Paused::pushMe() const
{
    return cfg::paused();
}

bool Paused::popMe() const
{
    return !cfg::paused();
}
