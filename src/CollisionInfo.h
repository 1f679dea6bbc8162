#pragma once

#include "Vector2.h"

// One contact: where it is, and the (not normalised) normal pointing towards
// the body that the response pushes away.
class CollisionInfo {
public:
    Vector2 point;
    Vector2 normal;

    CollisionInfo();
    CollisionInfo(Vector2 const& point, Vector2 const& normal);
    ~CollisionInfo();
};
