#include "webShapes.h"

#include <GL/gl.h>

#include <cstddef>
#include <vector>

#include "Vector2.h"
#include "graphics.h"
#include "unitCircle.h"

namespace webShapes {

namespace {

// As the desktop's view places them: the circles at -1, the polygons at 0.
const float kCircleDepth = -1.0f;
const float kPolygonDepth = 0.0f;
// What one draw takes, inside the emulation's temporary buffers.
const std::size_t kMaxVertices = 60000;

struct Vertex {
    float x;
    float y;
    float z;
    unsigned char rgba[4];
};

std::vector<Vertex> s_vertices;
// A shape without a colour takes the last one given, as on the desktop.
float const* s_colour = cWhite;

void add(float x, float y, float z)
{
    Vertex vertex{x, y, z, {0, 0, 0, 255}};
    for (int c = 0; c < 3; ++c)
        vertex.rgba[c] = static_cast<unsigned char>(s_colour[c] * 255.0f);
    s_vertices.push_back(vertex);
}

// A convex polygon as the fan of triangles from its first corner, which is
// how OpenGL fills it.
template <typename Corner>
void addFan(int corners, Corner corner, float z, float const* colour)
{
    if (colour != nullptr)
        s_colour = colour;
    if (s_vertices.size() + 3 * static_cast<std::size_t>(corners) > kMaxVertices)
        flush();
    for (int i = 1; i + 1 < corners; ++i) {
        const Vector2 a = corner(0);
        const Vector2 b = corner(i);
        const Vector2 c = corner(i + 1);
        add(a.x, a.y, z);
        add(b.x, b.y, z);
        add(c.x, c.y, z);
    }
}

}  // namespace

void flush()
{
    if (s_vertices.empty())
        return;
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glEnableClientState(GL_VERTEX_ARRAY);
    glEnableClientState(GL_COLOR_ARRAY);
    glVertexPointer(3, GL_FLOAT, sizeof(Vertex), &s_vertices[0].x);
    glColorPointer(4, GL_UNSIGNED_BYTE, sizeof(Vertex), s_vertices[0].rgba);
    glDrawArrays(GL_TRIANGLES, 0, static_cast<GLsizei>(s_vertices.size()));
    glDisableClientState(GL_COLOR_ARRAY);
    glDisableClientState(GL_VERTEX_ARRAY);
    s_vertices.clear();
}

}  // namespace webShapes

namespace graphics {

void drawCircle(float radius, Vector2 const& centre, float const* colour)
{
    unitCircle::Vertices const& circle = unitCircle::vertices();
    webShapes::addFan(
        unitCircle::kVertices,
        [&](int i) { return Vector2(centre.x + radius * circle.x[i], centre.y + radius * circle.y[i]); },
        webShapes::kCircleDepth, colour);
}

void drawPolygon(std::vector<Vector2> const& vertices, float const* colour)
{
    webShapes::addFan(
        static_cast<int>(vertices.size()), [&](int i) { return vertices[static_cast<std::size_t>(i)]; },
        webShapes::kPolygonDepth, colour);
}

}  // namespace graphics
