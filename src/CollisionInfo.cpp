#include "CollisionInfo.h"

CollisionInfo::CollisionInfo() : point(), normal() {}

CollisionInfo::CollisionInfo(Vector2 const& where, Vector2 const& towards) : point(where), normal(towards) {}

CollisionInfo::~CollisionInfo() {}
