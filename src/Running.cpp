#include "Running.h"

#include "entityManager.h"

Running::Running()
{
    manager::init();
}

Running::~Running()
{
    manager::clean();
}

void Running::handleInput(bool top) const
{
    if (top)
        manager::handleInput();
}

void Running::update(float dt, bool top) const
{
    if (top)
        manager::update(dt);
}

void Running::draw(bool) const
{
    manager::draw();
}
