#pragma once

#include <vector>

class Vector2;

// The scene's colours: read-only RGB triples that entities point to.
extern const float cCyan[3];
extern const float cWhite[3];
extern const float cGrey[3];
extern const float cRed[3];
extern const float cGreen[3];
extern const float cBlue[3];
extern const float cYellow[3];
extern const float cMagenta[3];
// The obstacles a person draws.
extern const float cOrange[3];

namespace graphics {

// The window's size in pixels, which is the world's too: the walls stand at
// its edges.
const int kWidth = 800;
const int kHeight = 600;

// Opens the kWidth x kHeight OpenGL window and sets up the view; on failure prints
// one line on standard error and ends the process with status 1.
void init();
void clean();
// Ends a frame: shows what was drawn and clears both buffers for the next.
void present();

// A null colour keeps the colour of the previous draw call.
void drawCircle(float radius, Vector2 const& centre, float const* colour);
void drawPolygon(std::vector<Vector2> const& vertices, float const* colour);

}  // namespace graphics
