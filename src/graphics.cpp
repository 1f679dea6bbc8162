#include "graphics.h"

#include <GL/gl.h>
#include <SDL.h>
#include <cstdlib>
#include <iostream>

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

}  // namespace graphics
