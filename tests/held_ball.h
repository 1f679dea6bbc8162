#pragma once

// The ball the middle button holds; null when none. Defined in
// effectManager.cpp and declared for the tests alone: the program never
// asks.

class PhysicsEntity;

namespace effect {
PhysicsEntity const* held();
}
