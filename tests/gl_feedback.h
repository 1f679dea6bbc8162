#pragma once

// What OpenGL is sent, caught in feedback mode instead of being drawn.

#include <gtest/gtest.h>

#include <GL/gl.h>
#include <cstddef>
#include <functional>
#include <vector>

// Everything OpenGL was sent while `draw` ran, as feedback tokens and values:
// for each shape its token, its vertex count and its vertices, each as x, y,
// z in window coordinates (y up) and RGBA. Empty, with a failure, when the
// buffer overflows.
inline std::vector<GLfloat> feedbackOf(std::function<void()> const& draw)
{
    std::vector<GLfloat> buffer(1 << 22);
    glFeedbackBuffer(static_cast<GLsizei>(buffer.size()), GL_3D_COLOR, buffer.data());
    glRenderMode(GL_FEEDBACK);
    draw();
    const GLint used = glRenderMode(GL_RENDER);
    EXPECT_GE(used, 0) << "feedback buffer overflow";
    buffer.resize(used > 0 ? static_cast<std::size_t>(used) : 0);
    return buffer;
}
