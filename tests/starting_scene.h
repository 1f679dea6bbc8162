#pragma once

// The starting scene as a test sees it. Only the creator holds its bodies,
// so they are found where the last grid pass entered them.

#include <set>
#include <vector>

#include "collisionManager.h"
#include "debug.h"
#include "effectManager.h"
#include "entityCreator.h"
#include "entityManager.h"
#include "world.h"

// Start-up without the game states: effects, scene, manager.
inline void buildStartingScene()
{
    debug::init();
    effect::init();
    world::build();
    manager::init();
}

// Every body the last update entered in at least one cell, in address order.
inline std::set<PhysicsEntity*> placedBodies()
{
    return std::set<PhysicsEntity*>(collision::placed.begin(), collision::placed.end());
}
