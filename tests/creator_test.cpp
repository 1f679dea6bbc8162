// The entity creator: the starting scene, the mouse-ball queue and the
// clean-up, observed through what the entity manager draws. Drawing runs in
// OpenGL feedback mode, which hands back every vertex and colour sent.

#include <gtest/gtest.h>

#include <GL/gl.h>
#include <SDL.h>
#include <SDL_syswm.h>
#include <algorithm>
#include <cmath>
#include <csignal>
#include <cstdlib>
#include <functional>
#include <map>
#include <string>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

#include "Ball.h"
#include "debug.h"
#include "entityCreator.h"
#include "entityManager.h"
#include "gl_feedback.h"
#include "graphics.h"
#include "inputManager.h"
#include "scene.h"
#include "world.h"

namespace {

const float kTolerance = 0.02f;
const int kCircleVertices = 32;
// A filled convex polygon of n vertices counts as n - 2 triangles, whether
// the driver reports it whole or cut into a fan.
const int kBallTriangles = kCircleVertices - 2;

struct Vertex {
    float x;
    float y;
    float const* colour;
};

float const* const kColours[] = {cCyan, cWhite, cGrey, cRed, cGreen, cBlue, cYellow, cMagenta};

float const* colourOf(const GLfloat* rgb)
{
    for (float const* c : kColours)
        if (rgb[0] == c[0] && rgb[1] == c[1] && rgb[2] == c[2])
            return c;
    return nullptr;
}

// Everything one manager::draw sends to OpenGL.
struct Frame {
    std::vector<Vertex> vertices;
    std::map<float const*, int> triangles;

    bool has(float x, float y, float const* colour) const
    {
        for (Vertex const& v : vertices)
            if (v.colour == colour && std::fabs(v.x - x) < kTolerance && std::fabs(v.y - y) < kTolerance)
                return true;
        return false;
    }

    // Every rim vertex of the circle is there, in its colour.
    bool hasBall(float x, float y, float radius, float const* colour) const
    {
        for (int i = 0; i < kCircleVertices; ++i) {
            const float angle = 6.2831855f * static_cast<float>(i) / static_cast<float>(kCircleVertices);
            if (!has(x + radius * cosf(angle), y + radius * sinf(angle), colour))
                return false;
        }
        return true;
    }

    // The centre of the one circle of `colour` whose rim lies within `reach`
    // of `near`: the middle of its extreme vertices, which sit on the axes.
    Vector2 centreNear(Vector2 const& near, float reach, float const* colour) const
    {
        float minX = near.x + reach;
        float maxX = near.x - reach;
        float minY = near.y + reach;
        float maxY = near.y - reach;
        for (Vertex const& v : vertices) {
            if (v.colour != colour || (Vector2(v.x, v.y) - near).length() > reach)
                continue;
            minX = std::min(minX, v.x);
            maxX = std::max(maxX, v.x);
            minY = std::min(minY, v.y);
            maxY = std::max(maxY, v.y);
        }
        return Vector2((minX + maxX) / 2.0f, (minY + maxY) / 2.0f);
    }

    int balls(float const* colour) const
    {
        const auto found = triangles.find(colour);
        return found == triangles.end() ? 0 : found->second / kBallTriangles;
    }

    int allTriangles() const
    {
        int total = 0;
        for (auto const& [colour, count] : triangles)
            total += count;
        return total;
    }
};

Frame drawFrame()
{
    const std::vector<GLfloat> buffer = feedbackOf([] { manager::draw(); });
    const std::size_t used = buffer.size();
    Frame frame;
    // A vertex is x, y, z in window coordinates (y up) and RGBA.
    const std::size_t vertexFloats = 7;
    for (std::size_t i = 0; i < used;) {
        if (buffer[i] != GL_POLYGON_TOKEN) {
            ADD_FAILURE() << "unexpected feedback token " << buffer[i];
            return frame;
        }
        const int n = static_cast<int>(buffer[i + 1]);
        i += 2;
        float const* colour = colourOf(&buffer[i + 3]);
        EXPECT_NE(colour, nullptr) << "a shape in no colour of the scene";
        for (int k = 0; k < n; ++k, i += vertexFloats)
            frame.vertices.push_back({buffer[i], 600.0f - buffer[i + 1], colour});
        frame.triangles[colour] += n - 2;
    }
    return frame;
}

struct StartBall {
    float x;
    float y;
    float const* colour;
};

const StartBall kStartBalls[] = {
    {50, 50, cWhite}, {150, 50, cGrey},     {50, 100, cRed},    {100, 100, cGreen},
    {150, 100, cBlue}, {50, 150, cYellow}, {100, 150, cMagenta}, {150, 150, cCyan},
};

bool hasStartScenery(Frame const& frame)
{
    for (StartBall const& b : kStartBalls)
        if (!frame.hasBall(b.x, b.y, 20.0f, b.colour))
            return false;
    return frame.has(500, 500, cRed) && frame.has(300, 500, cRed) && frame.has(500, 300, cRed);
}

// Diagonal balls still drawn, by index 0..49 from (200, 200).
std::vector<int> diagonalLeft(Frame const& frame)
{
    std::vector<int> left;
    for (int k = 0; k < 50; ++k) {
        const float at = static_cast<float>(200 + 2 * k);
        if (frame.hasBall(at, at, 10.0f, cCyan))
            left.push_back(k);
    }
    return left;
}

std::vector<int> range(int first, int last)
{
    std::vector<int> r;
    for (int k = first; k <= last; ++k)
        r.push_back(k);
    return r;
}

class CreatorTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        debug::init();
        openWindow();
        if (HasFatalFailure())
            return;
        creator::makeBodies(world::startingScene());
        manager::init();
    }
    void TearDown() override
    {
        creator::clean();
        manager::clean();
        SDL_Quit();
    }
    virtual void openWindow() { graphics::init(); }
};

bool at(float x, float y)
{
    const Vector2 p = input::mousePosition();
    return p.x == x && p.y == y;
}

// Real mouse buttons, pressed with xdotool on a display of this test's own:
// the pointer belongs to the whole display, and other tests may share the
// usual one.
class CreatorMouseTest : public CreatorTest {
protected:
    void TearDown() override
    {
        CreatorTest::TearDown();
        if (xvfb > 0) {
            kill(xvfb, SIGTERM);
            waitpid(xvfb, nullptr, 0);
        }
    }

    void openWindow() override
    {
        // Never fall back on the shared display.
        startDisplay();
        if (HasFatalFailure())
            return;
        graphics::init();
        SDL_SysWMinfo info;
        SDL_VERSION(&info.version);
        ASSERT_EQ(SDL_GetWMInfo(&info), 1);
        window = std::to_string(info.info.x11.window);
        // Some SDL 1.2 implementations deliver no pointer input to a window
        // before its first buffer swap, and a press sent earlier is lost:
        // swap, then move the pointer until the window sees it move.
        for (int attempt = 0; attempt < 100; ++attempt) {
            graphics::present();
            const std::string command = "xdotool mousemove --window " + window + " 7 7";
            ASSERT_EQ(std::system(command.c_str()), 0) << command;
            SDL_Delay(10);
            SDL_PumpEvents();
            input::apply(input::fromPlatform());
            if (at(7, 7))
                return;
        }
        FAIL() << "the window takes no pointer input";
    }

    // Runs xdotool on the window, then waits until the platform reports
    // the state that should follow.
    void mouse(std::string const& actions, std::function<bool()> const& reached)
    {
        const std::string command = "xdotool " + actions;
        ASSERT_EQ(std::system(command.c_str()), 0) << command;
        for (int wait = 0; wait < 500; ++wait) {
            SDL_PumpEvents();
            input::apply(input::fromPlatform());
            if (reached())
                return;
            SDL_Delay(10);
        }
        FAIL() << "no effect from " << command;
    }

    std::string window;

private:
    void startDisplay()
    {
        int fds[2];
        ASSERT_EQ(pipe(fds), 0);
        xvfb = fork();
        ASSERT_GE(xvfb, 0);
        if (xvfb == 0) {
            prctl(PR_SET_PDEATHSIG, SIGTERM);
            close(fds[0]);
            const std::string fd = std::to_string(fds[1]);
            execlp("Xvfb", "Xvfb", "-displayfd", fd.c_str(), "-screen", "0", "800x600x24", "-nolisten", "tcp",
                   "-noreset", static_cast<char*>(nullptr));
            _exit(127);
        }
        close(fds[1]);
        std::string display;
        char c;
        while (read(fds[0], &c, 1) == 1 && c != '\n')
            display.push_back(c);
        close(fds[0]);
        ASSERT_FALSE(display.empty()) << "Xvfb did not start";
        setenv("DISPLAY", (":" + display).c_str(), 1);
    }

    pid_t xvfb = -1;
};

// One tick of the creator while the world runs.
void tick(int times)
{
    for (int k = 0; k < times; ++k) {
        creator::handleInput();
        manager::update(10.0f);
    }
}

}  // namespace

TEST_F(CreatorMouseTest, HeldButtonsAddAndRemoveBallsEveryTick)
{
    mouse("mousemove --window " + window + " 400 300 mousedown 1",
          [] { return input::mouseLeft() && !input::mouseRight() && at(400, 300); });
    tick(3);
    Frame frame = drawFrame();
    EXPECT_TRUE(frame.hasBall(400, 300, 10, cCyan));
    EXPECT_EQ(frame.balls(cCyan), 1 + 50 + 3);

    // Both buttons: one in, the oldest out, each tick.
    mouse("mousedown 3", [] { return input::mouseLeft() && input::mouseRight(); });
    tick(2);
    frame = drawFrame();
    EXPECT_EQ(diagonalLeft(frame), range(2, 49));
    EXPECT_EQ(frame.balls(cCyan), 1 + 48 + 5);

    // The right button alone empties the queue, then does nothing more.
    mouse("mouseup 1", [] { return !input::mouseLeft() && input::mouseRight(); });
    tick(48 + 5);
    frame = drawFrame();
    EXPECT_EQ(frame.allTriangles(), 8 * kBallTriangles + 1);
    tick(3);
    frame = drawFrame();
    EXPECT_EQ(frame.allTriangles(), 8 * kBallTriangles + 1);
    EXPECT_TRUE(hasStartScenery(frame));

    // Both buttons on an empty queue: each tick's ball goes again at once.
    mouse("mousedown 1", [] { return input::mouseLeft() && input::mouseRight(); });
    tick(3);
    frame = drawFrame();
    EXPECT_EQ(frame.allTriangles(), 8 * kBallTriangles + 1);

    mouse("mouseup 1 mouseup 3", [] { return !input::mouseLeft() && !input::mouseRight(); });
    tick(3);
    EXPECT_EQ(drawFrame().allTriangles(), 8 * kBallTriangles + 1);
}

TEST_F(CreatorTest, StartSceneIsTheGridTheDiagonalAndTheTriangle)
{
    const Frame frame = drawFrame();
    // 58 balls of 30 triangles and one triangle: 59 bodies.
    EXPECT_EQ(frame.allTriangles(), 58 * kBallTriangles + 1);
    EXPECT_TRUE(hasStartScenery(frame));
    EXPECT_EQ(diagonalLeft(frame), range(0, 49));
    // The triangle is the only polygon, and the only other red shape is a ball.
    EXPECT_EQ(frame.triangles.at(cRed), kBallTriangles + 1);
    EXPECT_EQ(frame.balls(cCyan), 51);
    for (float const* c : {cWhite, cGrey, cGreen, cBlue, cYellow, cMagenta})
        EXPECT_EQ(frame.balls(c), 1);
}

TEST_F(CreatorTest, MouseBallsLeaveOldestFirstAndNeverTheScenery)
{
    Ball* added = creator::addBall(Vector2(400.0f, 300.0f), 10.0f, cCyan);
    EXPECT_EQ(added->mass, 1.0f);
    EXPECT_EQ(added->radius, 10.0f);
    EXPECT_EQ(added->colour, cCyan);
    EXPECT_EQ(added->velocity.x, 0.0f);
    EXPECT_EQ(added->velocity.y, 0.0f);

    creator::removeBall();
    Frame frame = drawFrame();
    EXPECT_EQ(diagonalLeft(frame), range(1, 49));
    EXPECT_TRUE(frame.hasBall(400, 300, 10, cCyan));

    for (int k = 1; k < 50; ++k)
        creator::removeBall();
    frame = drawFrame();
    EXPECT_TRUE(diagonalLeft(frame).empty());
    EXPECT_TRUE(frame.hasBall(400, 300, 10, cCyan));
    EXPECT_EQ(frame.balls(cCyan), 2);

    creator::removeBall();
    frame = drawFrame();
    EXPECT_EQ(frame.allTriangles(), 8 * kBallTriangles + 1);
    EXPECT_TRUE(hasStartScenery(frame));
    EXPECT_DEATH(creator::removeBall(), "");
}

TEST_F(CreatorTest, AddingAndRemovingEachTickTurnsTheQueueOver)
{
    // Fifty ticks of both buttons: the diagonal is replaced, ball by ball.
    // Each tick ends with the world's update, as it does while running.
    for (int k = 0; k < 50; ++k) {
        creator::addBall(Vector2(30.0f + 14.0f * static_cast<float>(k), 550.0f), 10.0f, cCyan);
        creator::removeBall();
        manager::update(10.0f);
        if (k == 24) {
            const Frame frame = drawFrame();
            EXPECT_EQ(diagonalLeft(frame), range(25, 49));
            EXPECT_EQ(frame.balls(cCyan), 51);
        }
    }
    Frame frame = drawFrame();
    EXPECT_TRUE(diagonalLeft(frame).empty());
    EXPECT_EQ(frame.balls(cCyan), 51);
    EXPECT_TRUE(frame.hasBall(30, 550, 10, cCyan));
    EXPECT_TRUE(frame.hasBall(716, 550, 10, cCyan));

    // With an empty queue the ball added in a tick is the one removed.
    for (int k = creator::ballCount() - static_cast<int>(std::size(kStartBalls)); k > 0; --k)
        creator::removeBall();
    for (int k = 0; k < 3; ++k) {
        creator::addBall(Vector2(400.0f, 300.0f), 10.0f, cCyan);
        creator::removeBall();
        manager::update(10.0f);
    }
    frame = drawFrame();
    EXPECT_EQ(frame.allTriangles(), 8 * kBallTriangles + 1);
    EXPECT_FALSE(frame.has(410, 300, cCyan));
    EXPECT_TRUE(hasStartScenery(frame));
}

// The start balls weigh five: a light ball of mass 1 thrown at each of them
// changes its own velocity five times as much as the start ball's.
TEST_F(CreatorTest, StartBallsAreFiveTimesHeavier)
{
    struct Probe {
        StartBall target;
        Vector2 from;
        Vector2 velocity;
        Ball* ball;
    };
    std::vector<Probe> probes;
    for (StartBall const& b : kStartBalls) {
        // From outside the grid: left, right, above the middle column's
        // first ball, below its last.
        Vector2 from(b.x - 29.0f, b.y);
        Vector2 velocity(1.0f, 0.0f);
        if (b.x == 150.0f) {
            from = Vector2(b.x + 29.0f, b.y);
            velocity = Vector2(-1.0f, 0.0f);
        } else if (b.x == 100.0f && b.y == 100.0f) {
            from = Vector2(b.x, b.y - 29.0f);
            velocity = Vector2(0.0f, 1.0f);
        } else if (b.x == 100.0f) {
            from = Vector2(b.x, b.y + 29.0f);
            velocity = Vector2(0.0f, -1.0f);
        }
        Ball* ball = creator::addBall(from, 10.0f, cCyan);
        ball->velocity = velocity;
        probes.push_back({b, from, velocity, ball});
    }
    // No effect is installed, so bodies move by velocity alone.
    const float dt = 10.0f;
    manager::update(dt);
    const Frame frame = drawFrame();
    for (Probe const& p : probes) {
        // Displacements along the probe's direction of flight.
        const Vector2 start(p.target.x, p.target.y);
        const float probeMoved = (p.ball->position - p.from).dot(p.velocity);
        const float targetMoved = (frame.centreNear(start, 23.5f, p.target.colour) - start).dot(p.velocity);
        ASSERT_GT(targetMoved, 0.5f) << "start ball at " << p.target.x << ", " << p.target.y;
        EXPECT_NEAR((p.velocity.dot(p.velocity) * dt - probeMoved) / targetMoved, 5.0f, 0.01f)
            << "start ball at " << p.target.x << ", " << p.target.y;
    }
}

TEST(Creator, CleanUpDeletesEverything)
{
    debug::init();
    graphics::init();
    creator::makeBodies(world::startingScene());
    manager::init();
    for (int k = 0; k < 20; ++k)
        creator::addBall(Vector2(400.0f, 300.0f), 10.0f, cCyan);
    creator::clean();
    EXPECT_EQ(drawFrame().allTriangles(), 0);
    // Nothing is left to remove, and a second clean-up finds nothing to do.
    EXPECT_DEATH(creator::removeBall(), "");
    creator::clean();
    manager::clean();
}
