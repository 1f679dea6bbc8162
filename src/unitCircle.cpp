#include "unitCircle.h"

#include <cmath>

namespace unitCircle {

namespace {

Vertices computed()
{
    Vertices circle;
    for (int i = 0; i < kVertices; ++i) {
        const float angle = 6.2831855f * static_cast<float>(i) / static_cast<float>(kVertices);
        circle.x[i] = cosf(angle);
        circle.y[i] = sinf(angle);
    }
    return circle;
}

}  // namespace

Vertices const& vertices()
{
    static const Vertices circle = computed();
    return circle;
}

}  // namespace unitCircle
