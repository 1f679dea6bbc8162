#include "webShapes.h"

#include <GL/gl.h>

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <vector>

#include "Polygon.h"
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
// A software renderer pays for every triangle: a ball is one square (two
// triangles rather than the thirty of its polygon), cut to the unit circle's
// polygon by a mask texture and the alpha test. The mask reaches a little
// beyond the polygon so that its edge never meets the texture's.
const int kMaskTexels = 128;
const float kMaskHalf = 1.0625f;
// Texels of ramp on either side of the polygon's edge: the mask holds the
// distance to the edge, which blending between texels keeps straight at any
// scale.
const float kMaskRamp = 4.0f;

struct Vertex {
    float x;
    float y;
    float z;
    unsigned char rgba[4];
    float u;
    float v;
};

// Each kind in its own draw; the depths, not the order, put the kinds over
// one another, and within a kind the order is kept.
std::vector<Vertex> s_circles;
std::vector<Vertex> s_polygons;
// A shape without a colour takes the last one given, as on the desktop.
float const* s_colour = cWhite;
GLuint s_mask = 0;

void add(std::vector<Vertex>& to, float x, float y, float z, float u = 0.0f, float v = 0.0f)
{
    Vertex vertex{x, y, z, {0, 0, 0, 255}, u, v};
    for (int c = 0; c < 3; ++c)
        vertex.rgba[c] = static_cast<unsigned char>(s_colour[c] * 255.0f);
    to.push_back(vertex);
}

void takeColour(float const* colour, std::size_t adding)
{
    if (colour != nullptr)
        s_colour = colour;
    if (std::max(s_circles.size(), s_polygons.size()) + adding > kMaxVertices)
        flush();
}

// White texels whose alpha is the signed distance to the unit circle's
// polygon (inside positive): one half on its edge, ramping to 0 and 1 over
// kMaskRamp texels either side.
std::vector<unsigned char> maskTexels()
{
    unitCircle::Vertices const& circle = unitCircle::vertices();
    std::vector<unsigned char> texels(4 * kMaskTexels * kMaskTexels, 255);
    const float texel = 2.0f * kMaskHalf / kMaskTexels;
    for (int row = 0; row < kMaskTexels; ++row)
        for (int column = 0; column < kMaskTexels; ++column) {
            const Vector2 p(-kMaskHalf + (column + 0.5f) * texel, -kMaskHalf + (row + 0.5f) * texel);
            float inside = 1e9f;
            for (int i = 0; i < unitCircle::kVertices; ++i) {
                const int j = (i + 1) % unitCircle::kVertices;
                const Vector2 a(circle.x[i], circle.y[i]);
                const Vector2 b(circle.x[j], circle.y[j]);
                const float edge = std::hypot(b.x - a.x, b.y - a.y);
                inside = std::min(inside, polygon::cross<float>(a, b, p) / edge);
            }
            const float alpha = std::clamp(0.5f + inside / texel / (2.0f * kMaskRamp), 0.0f, 1.0f);
            texels[4 * (row * kMaskTexels + column) + 3] = static_cast<unsigned char>(std::lround(alpha * 255.0f));
        }
    return texels;
}

void bindMask()
{
    if (s_mask == 0) {
        glGenTextures(1, &s_mask);
        glBindTexture(GL_TEXTURE_2D, s_mask);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
        glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, kMaskTexels, kMaskTexels, 0, GL_RGBA, GL_UNSIGNED_BYTE,
                     maskTexels().data());
    }
    glBindTexture(GL_TEXTURE_2D, s_mask);
}

void draw(std::vector<Vertex>& vertices, bool textured)
{
    if (vertices.empty())
        return;
    glVertexPointer(3, GL_FLOAT, sizeof(Vertex), &vertices[0].x);
    glColorPointer(4, GL_UNSIGNED_BYTE, sizeof(Vertex), vertices[0].rgba);
    if (textured) {
        bindMask();
        glEnable(GL_TEXTURE_2D);
        glEnable(GL_ALPHA_TEST);
        glAlphaFunc(GL_GREATER, 0.5f);
        glEnableClientState(GL_TEXTURE_COORD_ARRAY);
        glTexCoordPointer(2, GL_FLOAT, sizeof(Vertex), &vertices[0].u);
    }
    glDrawArrays(GL_TRIANGLES, 0, static_cast<GLsizei>(vertices.size()));
    if (textured) {
        glDisableClientState(GL_TEXTURE_COORD_ARRAY);
        glDisable(GL_ALPHA_TEST);
        glDisable(GL_TEXTURE_2D);
        glBindTexture(GL_TEXTURE_2D, 0);
    }
    vertices.clear();
}

// The square around the circle, its corners mapped onto the mask's.
void addCircle(float radius, Vector2 const& centre, float const* colour)
{
    static const float kCorners[6][2] = {{-1, -1}, {1, -1}, {1, 1}, {-1, -1}, {1, 1}, {-1, 1}};
    takeColour(colour, 6);
    const float half = radius * kMaskHalf;
    for (auto const& corner : kCorners)
        add(s_circles, centre.x + half * corner[0], centre.y + half * corner[1], kCircleDepth,
            0.5f + 0.5f * corner[0], 0.5f + 0.5f * corner[1]);
}

// A convex polygon as the fan of triangles from its first corner, which is
// how OpenGL fills it.
void addPolygon(std::vector<Vector2> const& corners, float const* colour)
{
    takeColour(colour, 3 * corners.size());
    for (std::size_t i = 1; i + 1 < corners.size(); ++i)
        for (Vector2 const& corner : {corners[0], corners[i], corners[i + 1]})
            add(s_polygons, corner.x, corner.y, kPolygonDepth);
}

}  // namespace

void flush()
{
    if (s_circles.empty() && s_polygons.empty())
        return;
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glEnableClientState(GL_VERTEX_ARRAY);
    glEnableClientState(GL_COLOR_ARRAY);
    draw(s_circles, true);
    draw(s_polygons, false);
    glDisableClientState(GL_COLOR_ARRAY);
    glDisableClientState(GL_VERTEX_ARRAY);
}

}  // namespace webShapes

namespace graphics {

void drawCircle(float radius, Vector2 const& centre, float const* colour)
{
    webShapes::addCircle(radius, centre, colour);
}

void drawPolygon(std::vector<Vector2> const& vertices, float const* colour)
{
    webShapes::addPolygon(vertices, colour);
}

}  // namespace graphics
