#include <gtest/gtest.h>

#include <GL/gl.h>
#include <SDL.h>
#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <functional>
#include <memory>
#include <ostream>
#include <vector>

#include "Ball.h"
#include "Polygon.h"
#include "Vector2.h"
#include "debug.h"
#include "entityManager.h"
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
// back what was drawn, before any swap. Reads take the default read buffer:
// the back buffer, or under the SDL 1.2 compatibility implementation the
// framebuffer object it draws into, where naming GL_BACK is an error.
class RenderingTest : public testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_NE(std::getenv("DISPLAY"), nullptr) << "rendering tests need an X display (xvfb-run)";
        graphics::init();
        glPixelStorei(GL_PACK_ALIGNMENT, 1);
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

    // The whole back buffer, RGB, bottom row first.
    static std::vector<unsigned char> readFrame()
    {
        glFinish();
        std::vector<unsigned char> frame(kWidth * kHeight * 3);
        glReadPixels(0, 0, kWidth, kHeight, GL_RGB, GL_UNSIGNED_BYTE, frame.data());
        return frame;
    }

    static int litPixels(std::vector<unsigned char> const& frame = readFrame())
    {
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

// Frames as the program draws them (the manager's pass) against the same
// shapes sent one by one in plain immediate mode, in address order: the
// drawing path may change how shapes reach OpenGL, never a pixel.
class FramePixels : public RenderingTest {
protected:
    void SetUp() override
    {
        RenderingTest::SetUp();
        debug::init();
        manager::init();
    }

    void TearDown() override
    {
        clear();
        manager::clean();
    }

    void addBall(float x, float y, float radius, float const* colour)
    {
        bodies.push_back(std::make_unique<Ball>(Vector2(x, y), radius, colour));
        manager::add(bodies.back().get());
    }

    void addPolygon(std::vector<Vector2> const& corners, float const* colour)
    {
        bodies.push_back(std::make_unique<Polygon>(corners, colour));
        manager::add(bodies.back().get());
    }

    void addTriangle() { addPolygon({Vector2(500, 500), Vector2(300, 500), Vector2(500, 300)}, cRed); }

    // Both frames of the world now in the manager are equal byte for byte.
    void expectSameFrames()
    {
        const std::vector<unsigned char> program = frameOf([] { manager::draw(); });
        const std::vector<unsigned char> plain = frameOf([this] { drawPlain(); });
        int differing = 0;
        for (std::size_t i = 0; i < program.size(); i += 3)
            differing += !std::equal(&program[i], &program[i] + 3, &plain[i]);
        EXPECT_EQ(differing, 0) << "pixels that differ, of " << bodies.size() << " bodies";
        EXPECT_GT(litPixels(program), 1000);
    }

    // Takes every body out of the manager and frees it.
    void clear()
    {
        for (auto const& body : bodies)
            manager::remove(body.get());
        frameOf([] { manager::draw(); });
        bodies.clear();
    }

private:
    // Each frame starts from the same current colour, which a first shape
    // without a colour of its own takes.
    static std::vector<unsigned char> frameOf(std::function<void()> const& draw)
    {
        clearFrame();
        glColor3fv(cWhite);
        draw();
        return readFrame();
    }

    void drawPlain() const
    {
        std::vector<PhysicsEntity*> order;
        for (auto const& body : bodies)
            order.push_back(body.get());
        std::sort(order.begin(), order.end(), std::less<PhysicsEntity*>());
        for (PhysicsEntity const* body : order) {
            glMatrixMode(GL_MODELVIEW);
            glLoadIdentity();
            if (body->kind() == Entity::Kind::ball)
                plainCircle(*static_cast<Ball const*>(body));
            else
                plainPolygon(*static_cast<Polygon const*>(body));
        }
    }

    static void plainCircle(Ball const& ball)
    {
        glTranslatef(ball.position.x, ball.position.y, -1.0f);
        glScalef(ball.radius, ball.radius, ball.radius);
        if (ball.colour != nullptr)
            glColor3fv(ball.colour);
        glBegin(GL_POLYGON);
        for (int i = 0; i < 32; ++i) {
            const float angle = 6.2831855f * static_cast<float>(i) / 32.0f;
            glVertex3f(cosf(angle), sinf(angle), 0.0f);
        }
        glEnd();
    }

    static void plainPolygon(Polygon const& polygon)
    {
        if (polygon.colour != nullptr)
            glColor3fv(polygon.colour);
        glBegin(GL_POLYGON);
        for (Vector2 const& v : polygon.vertices)
            glVertex3f(v.x, v.y, 0.0f);
        glEnd();
    }

    std::vector<std::unique_ptr<PhysicsEntity>> bodies;
};

TEST_F(FramePixels, ProgramPathDrawsWhatPlainImmediateModeDraws)
{
    float const* const colours[] = {cWhite, cGrey, cRed, cGreen, cBlue, cYellow, cMagenta, cCyan};

    // The starting scene.
    for (int i = 0; i < 8; ++i)
        addBall(50.0f + 50.0f * static_cast<float>(i % 3), 50.0f + 50.0f * static_cast<float>(i / 3), 20.0f,
                colours[i]);
    for (int i = 200; i != 300; i += 2)
        addBall(static_cast<float>(i), static_cast<float>(i), 10.0f, cCyan);
    addTriangle();
    expectSameFrames();
    clear();

    // A pile of 3,000 overlapping balls of every colour, some without one of
    // their own, at fractional positions: which one shows where two overlap,
    // and every edge pixel, depends on the order and the exact vertices.
    for (int i = 0; i < 3000; ++i) {
        const float x = 10.0f + static_cast<float>((i * 7919) % 7800) / 10.0f;
        const float y = 590.0f - static_cast<float>((i * 104729) % 1700) / 10.0f;
        addBall(x, y, 5.0f + static_cast<float>(i % 11), i % 13 == 0 ? nullptr : colours[i % 8]);
    }
    addTriangle();
    expectSameFrames();
    clear();

    // Balls across the triangle's edges and corners, and balls partly off
    // the screen on every side.
    addTriangle();
    for (int i = 0; i <= 20; ++i) {
        const float t = static_cast<float>(i) / 20.0f;
        addBall(300.0f + 200.0f * t, 500.0f - 200.0f * t, 12.5f, colours[i % 8]);
        addBall(300.0f + 200.0f * t, 500.0f, 8.0f, colours[(i + 3) % 8]);
        addBall(500.0f, 300.0f + 200.0f * t, 15.0f, colours[(i + 5) % 8]);
    }
    addBall(-5.0f, 300.0f, 20.0f, cYellow);
    addBall(805.0f, 40.0f, 30.0f, cGreen);
    addBall(400.0f, -3.5f, 10.0f, cBlue);
    addBall(795.5f, 598.25f, 10.0f, cMagenta);
    expectSameFrames();
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
