#include <gtest/gtest.h>

#include <GL/gl.h>
#include <SDL.h>
#include <cmath>
#include <cstdlib>
#include <ostream>
#include <vector>

#include "Vector2.h"
#include "graphics.h"

namespace {

const int kWidth = 800;
const int kHeight = 600;

struct Rgb {
    int r;
    int g;
    int b;
};

std::ostream& operator<<(std::ostream& out, Rgb const& c)
{
    return out << '(' << c.r << ", " << c.g << ", " << c.b << ')';
}

// Channels are compared loosely: the window may be 16 bits deep.
bool near(Rgb const& actual, float const* colour)
{
    const int want[3] = {static_cast<int>(std::lround(colour[0] * 255.0f)),
                         static_cast<int>(std::lround(colour[1] * 255.0f)),
                         static_cast<int>(std::lround(colour[2] * 255.0f))};
    return std::abs(actual.r - want[0]) <= 10 && std::abs(actual.g - want[1]) <= 10 &&
           std::abs(actual.b - want[2]) <= 10;
}

const float kBlack[3] = {0.0f, 0.0f, 0.0f};

std::vector<Vector2> rectangle(float left, float top, float right, float bottom)
{
    return {Vector2(left, top), Vector2(right, top), Vector2(right, bottom), Vector2(left, bottom)};
}

// Every test opens its own window (each runs in its own process) and reads
// back what was drawn into the back buffer, before any swap.
class RenderingTest : public testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_NE(std::getenv("DISPLAY"), nullptr) << "rendering tests need an X display (xvfb-run)";
        graphics::init();
        glPixelStorei(GL_PACK_ALIGNMENT, 1);
        glReadBuffer(GL_BACK);
        clearFrame();
    }

    // What the draw loop does after each swap.
    static void clearFrame()
    {
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    }

    // The pixel whose top-left corner is world point (x, y); the window's
    // rows count from the bottom.
    static Rgb pixel(int x, int y)
    {
        glFinish();
        unsigned char rgb[3] = {0, 0, 0};
        glReadPixels(x, kHeight - 1 - y, 1, 1, GL_RGB, GL_UNSIGNED_BYTE, rgb);
        return Rgb{rgb[0], rgb[1], rgb[2]};
    }

    static int litPixels()
    {
        glFinish();
        std::vector<unsigned char> frame(kWidth * kHeight * 3);
        glReadPixels(0, 0, kWidth, kHeight, GL_RGB, GL_UNSIGNED_BYTE, frame.data());
        int lit = 0;
        for (size_t i = 0; i < frame.size(); i += 3)
            lit += (frame[i] | frame[i + 1] | frame[i + 2]) != 0;
        return lit;
    }
};

#define EXPECT_COLOUR(x, y, colour) \
    EXPECT_PRED2(near, pixel(x, y), colour) << "at (" << (x) << ", " << (y) << ")"

TEST_F(RenderingTest, WindowStartsBlackAndEmptyPolygonDrawsNothing)
{
    SDL_Surface const* screen = SDL_GetVideoSurface();
    ASSERT_NE(screen, nullptr);
    EXPECT_EQ(screen->w, kWidth);
    EXPECT_EQ(screen->h, kHeight);
    EXPECT_EQ(litPixels(), 0);

    graphics::drawPolygon({}, cWhite);
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
    EXPECT_EQ(litPixels(), 0);

    // Nothing was left half-open: the next shape draws normally.
    graphics::drawPolygon(rectangle(10, 10, 20, 20), cWhite);
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
    EXPECT_EQ(litPixels(), 100);
}

TEST_F(RenderingTest, CircleIsAThirtyTwoGonCentredOnItsPosition)
{
    graphics::drawCircle(50.0f, Vector2(200.0f, 150.0f), cRed);
    EXPECT_COLOUR(200, 150, cRed);
    EXPECT_COLOUR(247, 150, cRed);
    EXPECT_COLOUR(252, 150, kBlack);
    EXPECT_COLOUR(152, 150, cRed);
    EXPECT_COLOUR(147, 150, kBlack);
    EXPECT_COLOUR(200, 197, cRed);
    EXPECT_COLOUR(200, 202, kBlack);
    EXPECT_COLOUR(200, 102, cRed);
    EXPECT_COLOUR(200, 97, kBlack);
    // About pi r^2 pixels, a little less for the flat edges.
    const int lit = litPixels();
    EXPECT_GT(lit, 7700);
    EXPECT_LT(lit, 7900);

    // A circle so large that its 32-gon's flat edges stand clear of the true
    // circle: the first vertex lands at (x + r, y) = (500, 300).
    clearFrame();
    const float r = 2000.0f;
    const Vector2 centre(-1500.0f, 300.0f);
    graphics::drawCircle(r, centre, cCyan);
    EXPECT_COLOUR(496, 300, cCyan);
    EXPECT_COLOUR(503, 300, kBlack);
    // Half way between the first two vertices the edge lies r cos(pi/32),
    // about 9.6 pixels, inside the circle.
    const float mid = 6.2831855f / 64.0f;
    auto at = [&](float distance, int& x, int& y) {
        x = static_cast<int>(centre.x + distance * std::cos(mid));
        y = static_cast<int>(centre.y + distance * std::sin(mid));
    };
    int x = 0;
    int y = 0;
    at(r * std::cos(mid) - 4.0f, x, y);
    EXPECT_COLOUR(x, y, cCyan);
    at(r - 3.0f, x, y);
    EXPECT_COLOUR(x, y, kBlack);
}

TEST_F(RenderingTest, YGrowsDownwards)
{
    graphics::drawPolygon(rectangle(100, 20, 140, 60), cGreen);
    graphics::drawCircle(20.0f, Vector2(600.0f, 50.0f), cBlue);
    EXPECT_COLOUR(120, 40, cGreen);
    EXPECT_COLOUR(600, 50, cBlue);
    EXPECT_COLOUR(120, kHeight - 40, kBlack);
    EXPECT_COLOUR(600, kHeight - 50, kBlack);
    // A point with a larger y is lower in the window.
    EXPECT_COLOUR(120, 61, kBlack);
    EXPECT_COLOUR(120, 19, kBlack);
}

TEST_F(RenderingTest, PolygonCoversCircleInEitherOrder)
{
    const std::vector<Vector2> square = rectangle(300, 250, 400, 350);
    const Vector2 centre(400.0f, 300.0f);

    graphics::drawPolygon(square, cGreen);
    graphics::drawCircle(60.0f, centre, cRed);
    EXPECT_COLOUR(370, 300, cGreen);
    EXPECT_COLOUR(440, 300, cRed);
    EXPECT_COLOUR(320, 300, cGreen);

    clearFrame();
    graphics::drawCircle(60.0f, centre, cRed);
    graphics::drawPolygon(square, cGreen);
    EXPECT_COLOUR(370, 300, cGreen);
    EXPECT_COLOUR(440, 300, cRed);
    EXPECT_COLOUR(320, 300, cGreen);
}

TEST_F(RenderingTest, FirstOfTwoOverlappingShapesOfOneKindStays)
{
    graphics::drawCircle(80.0f, Vector2(300.0f, 300.0f), cRed);
    graphics::drawCircle(80.0f, Vector2(400.0f, 300.0f), cBlue);
    EXPECT_COLOUR(350, 300, cRed);
    EXPECT_COLOUR(450, 300, cBlue);

    clearFrame();
    graphics::drawCircle(80.0f, Vector2(400.0f, 300.0f), cBlue);
    graphics::drawCircle(80.0f, Vector2(300.0f, 300.0f), cRed);
    EXPECT_COLOUR(350, 300, cBlue);
    EXPECT_COLOUR(250, 300, cRed);

    clearFrame();
    graphics::drawPolygon(rectangle(100, 100, 200, 200), cYellow);
    graphics::drawPolygon(rectangle(150, 150, 250, 250), cMagenta);
    EXPECT_COLOUR(175, 175, cYellow);
    EXPECT_COLOUR(225, 225, cMagenta);
}

TEST_F(RenderingTest, NullColourKeepsThePreviousOne)
{
    graphics::drawCircle(30.0f, Vector2(100.0f, 100.0f), cYellow);
    graphics::drawPolygon(rectangle(200, 80, 240, 120), nullptr);
    EXPECT_COLOUR(220, 100, cYellow);

    graphics::drawPolygon(rectangle(300, 80, 340, 120), cGrey);
    graphics::drawCircle(30.0f, Vector2(500.0f, 100.0f), nullptr);
    EXPECT_COLOUR(320, 100, cGrey);
    EXPECT_COLOUR(500, 100, cGrey);

    graphics::drawCircle(30.0f, Vector2(600.0f, 100.0f), cMagenta);
    graphics::drawCircle(30.0f, Vector2(700.0f, 100.0f), nullptr);
    EXPECT_COLOUR(700, 100, cMagenta);
}

TEST(GraphicsDeathTest, VideoThatCannotStartEndsWithStatusOne)
{
    EXPECT_EXIT(
        {
            unsetenv("DISPLAY");
            unsetenv("SDL_VIDEODRIVER");
            graphics::init();
        },
        testing::ExitedWithCode(1), "^SDL_Init failed: .+");

    // A driver the user chose is used as given, even one that cannot work.
    ASSERT_NE(std::getenv("DISPLAY"), nullptr) << "needs an X display to tell a kept driver from x11";
    EXPECT_EXIT(
        {
            setenv("SDL_VIDEODRIVER", "no-such-driver", 1);
            graphics::init();
        },
        testing::ExitedWithCode(1), "^SDL_Init failed: .+");
}

}  // namespace
