#include "obstacleDrawing.h"

#include <SDL_opengl.h>

#include "graphics.h"

namespace obstacleDrawing {

namespace {

// Half the side of a point's mark, and the depth of the marks: in front of
// the polygons (0) and the balls (-1).
const float kMarkHalf = 2.5f;
const float kMarkDepth = 0.005f;

}  // namespace

void draw(std::vector<polygon::Pixel> const& points)
{
    if (points.empty())
        return;
    const std::vector<polygon::Pixel> hull = polygon::hull(points);
    glPushAttrib(GL_CURRENT_BIT);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glColor3fv(cOrange);
    glBegin(GL_LINE_LOOP);
    for (polygon::Pixel const& p : hull)
        glVertex3f(static_cast<float>(p.x), static_cast<float>(p.y), kMarkDepth);
    glEnd();
    glColor3fv(cWhite);
    glBegin(GL_QUADS);
    for (polygon::Pixel const& p : points) {
        const float x = static_cast<float>(p.x);
        const float y = static_cast<float>(p.y);
        glVertex3f(x - kMarkHalf, y - kMarkHalf, kMarkDepth);
        glVertex3f(x + kMarkHalf, y - kMarkHalf, kMarkDepth);
        glVertex3f(x + kMarkHalf, y + kMarkHalf, kMarkDepth);
        glVertex3f(x - kMarkHalf, y + kMarkHalf, kMarkDepth);
    }
    glEnd();
    glPopAttrib();
}

}  // namespace obstacleDrawing
