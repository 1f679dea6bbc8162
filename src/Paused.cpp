#include "Paused.h"

#include "config.h"

void Paused::handleInput(bool) const {}

void Paused::update(float, bool) const {}

void Paused::draw(bool) const {}

bool Paused::pushMe() const
{
    return cfg::paused();
}

bool Paused::popMe() const
{
    return !cfg::paused();
}
