#include "gridView.h"

#include <GL/gl.h>

#include <algorithm>

#include "collisionManager.h"
#include "liveStats.h"

namespace gridView {

namespace {

// Behind the circles (at -1) and inside the view (which ends at -1.01), with
// room for a depth buffer of only 8 bits between them.
const float kDepth = -1.009f;
// Cells holding this many bodies or more get the brightest shade.
const int kFullShade = 12;

}  // namespace

void draw()
{
    // Shapes without a colour of their own take the last one sent: the grid's
    // must not reach them.
    GLfloat colour[4];
    glGetFloatv(GL_CURRENT_COLOR, colour);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glBegin(GL_QUADS);
    for (int column = 0; column < collision::kColumns; ++column)
        for (int row = 0; row < collision::kRows; ++row) {
            const int bodies = liveStats::cellBodies(column, row);
            if (bodies == 0)
                continue;
            const float shade = static_cast<float>(std::min(bodies, kFullShade)) / kFullShade;
            glColor3f(0.1f + 0.25f * shade, 0.1f + 0.25f * shade, 0.16f + 0.4f * shade);
            // A pixel's gap on each side keeps neighbouring cells apart.
            const float left = collision::kCellWidth * static_cast<float>(column) + 1.0f;
            const float top = collision::kCellHeight * static_cast<float>(row) + 1.0f;
            const float right = left + collision::kCellWidth - 2.0f;
            const float bottom = top + collision::kCellHeight - 2.0f;
            glVertex3f(left, top, kDepth);
            glVertex3f(right, top, kDepth);
            glVertex3f(right, bottom, kDepth);
            glVertex3f(left, bottom, kDepth);
        }
    glEnd();
    glColor4fv(colour);
}

}  // namespace gridView
