#pragma once

#include "Vector2.h"

// One contact: where it is, and the (not normalised) normal pointing towards
// the body that the response pushes away.
class CollisionInfo {
public:
    Vector2 point;
    Vector2 normal;

    CollisionInfo();
    // Inline: the ball-ball response makes one for every contact.
    CollisionInfo(Vector2 const& where, Vector2 const& towards) : point(where), normal(towards) {}
    ~CollisionInfo() {}
};
