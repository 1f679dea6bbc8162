#include "CollisionInfo.h"

CollisionInfo::CollisionInfo() : point(), normal() {}
