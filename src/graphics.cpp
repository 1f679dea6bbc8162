#include "graphics.h"

#include <GL/gl.h>
#include <SDL.h>
#include <cmath>
#include <cstdlib>
#include <iostream>

#include "Vector2.h"
#include "debug.h"

const float cCyan[3] = {0.0f, 1.0f, 1.0f};
const float cWhite[3] = {1.0f, 1.0f, 1.0f};
const float cGrey[3] = {0.5f, 0.5f, 0.5f};
const float cRed[3] = {1.0f, 0.0f, 0.0f};
const float cGreen[3] = {0.0f, 1.0f, 0.0f};
const float cBlue[3] = {0.0f, 0.0f, 1.0f};
const float cYellow[3] = {1.0f, 1.0f, 0.0f};
const float cMagenta[3] = {1.0f, 0.0f, 1.0f};
const float cOrange[3] = {1.0f, 0.5f, 0.0f};

namespace graphics {

namespace {

const int kCircleVertices = 32;

// Start-up failures happen while the update thread is still polling, so the
// process must end without running static destructors beside it.
[[noreturn]] void fail(const char* what)
{
    std::cerr << what << SDL_GetError() << std::endl;
    debug::quit(1);
}

void sdlInit()
{
    // Unless the user chose a video driver, take X11: the text-mode fallbacks
    // cannot give an OpenGL window and leave the terminal unusable.
    setenv("SDL_VIDEODRIVER", "x11", 0);
    if (SDL_Init(SDL_INIT_VIDEO) < 0)
        fail("SDL_Init failed: ");
    SDL_GL_SetAttribute(SDL_GL_DEPTH_SIZE, 8);
    SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);
    if (SDL_SetVideoMode(kWidth, kHeight, 16, SDL_OPENGL) == nullptr)
        fail("SDL_SetVideoMode failed: ");
}

void glInit()
{
    glClearColor(0.0f, 0.0f, 0.0f, 0.0f);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(0.0, static_cast<GLdouble>(kWidth), static_cast<GLdouble>(kHeight), 0.0, -0.01, 1.01);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glEnable(GL_DEPTH_TEST);
}

// The unit circle's vertices, computed once with the same float operations
// as on every call before.
struct UnitCircle {
    float x[kCircleVertices];
    float y[kCircleVertices];

    UnitCircle()
    {
        for (int i = 0; i < kCircleVertices; ++i) {
            const float angle = 6.2831855f * static_cast<float>(i) / static_cast<float>(kCircleVertices);
            x[i] = cosf(angle);
            y[i] = sinf(angle);
        }
    }
};

void glDrawCircle()
{
    static const UnitCircle circle;
    glBegin(GL_POLYGON);
    for (int i = 0; i < kCircleVertices; ++i)
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

void init()
{
    sdlInit();
    glInit();
}

void clean() {}

// Cleared after the swap rather than before drawing, so a frame is drawn
// into buffers made ready while the previous one was shown.
void present()
{
    SDL_GL_SwapBuffers();
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
}

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
