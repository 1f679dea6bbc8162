#pragma once

// The circle every ball is drawn with: its vertices on the unit circle.
namespace unitCircle {

const int kVertices = 32;

struct Vertices {
    float x[kVertices];
    float y[kVertices];
};

// Computed once, with the same float operations as ever.
Vertices const& vertices();

}  // namespace unitCircle
