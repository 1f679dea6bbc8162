// The desktop's shapes: each one polygon through OpenGL's immediate mode.
#include <GL/gl.h>

#include "Vector2.h"
#include "graphics.h"
#include "unitCircle.h"

namespace graphics {

namespace {

void glDrawCircle()
{
    unitCircle::Vertices const& circle = unitCircle::vertices();
    glBegin(GL_POLYGON);
    for (int i = 0; i < unitCircle::kVertices; ++i)
        glVertex3f(circle.x[i], circle.y[i], 0.0f);
    glEnd();
}

void glDrawPolygon(std::vector<Vector2> const& vertices)
{
    glBegin(GL_POLYGON);
    for (Vector2 const& v : vertices)
        glVertex3f(v.x, v.y, 0.0f);
    glEnd();
}

}  // namespace

void drawCircle(float radius, Vector2 const& centre, float const* colour)
{
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glTranslatef(centre.x, centre.y, -1.0f);
    glScalef(radius, radius, radius);
    if (colour != nullptr)
        glColor3fv(colour);
    glDrawCircle();
}

void drawPolygon(std::vector<Vector2> const& vertices, float const* colour)
{
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    if (colour != nullptr)
        glColor3fv(colour);
    glDrawPolygon(vertices);
}

}  // namespace graphics
