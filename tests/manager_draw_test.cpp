// The draw pass copies the balls and polygons under the physics lock and
// draws the copies once it has released it. What reaches OpenGL must be what
// drawing every body in address order under the lock sends; OpenGL's
// feedback mode hands back every vertex with its colour to compare.

#include <gtest/gtest.h>

#include <GL/gl.h>
#include <cstddef>
#include <functional>
#include <utility>
#include <new>
#include <vector>

#include "Ball.h"
#include "Polygon.h"
#include "debug.h"
#include "entityManager.h"
#include "graphics.h"

namespace {

// Everything OpenGL was sent while `draw` ran, as feedback tokens and values.
std::vector<GLfloat> feedbackOf(std::function<void()> const& draw)
{
    std::vector<GLfloat> buffer(1 << 20);
    glFeedbackBuffer(static_cast<GLsizei>(buffer.size()), GL_3D_COLOR, buffer.data());
    glRenderMode(GL_FEEDBACK);
    draw();
    const GLint used = glRenderMode(GL_RENDER);
    EXPECT_GE(used, 0) << "feedback buffer overflow";
    buffer.resize(used > 0 ? static_cast<std::size_t>(used) : 0);
    return buffer;
}

// A ball of a class the manager does not know: it may draw differently, so
// the whole pass draws under the lock again.
class RingedBall : public Ball {
public:
    RingedBall(Vector2 const& centre, float r) : Ball(centre, r, cBlue) {}
    void draw() const override
    {
        Ball::draw();
        graphics::drawCircle(radius / 2, position, cWhite);
    }
};

// Bodies in consecutive slots of one block: their address order, the order
// of the draw pass, is the slot order.
class Scene {
public:
    Scene() : slots(16) {}

    Scene(Scene const&) = delete;
    Scene& operator=(Scene const&) = delete;

    // Merged at once, so that no removal is left pending for bodies made
    // later in the same storage.
    ~Scene()
    {
        for (PhysicsEntity* body : bodies)
            manager::remove(body);
        manager::draw();
        for (PhysicsEntity* body : bodies)
            body->~PhysicsEntity();
    }

    template <typename T, typename... Args>
    T* add(Args&&... args)
    {
        EXPECT_LT(bodies.size(), slots.size());
        T* body = new (slots[bodies.size()].bytes) T(std::forward<Args>(args)...);
        bodies.push_back(body);
        manager::add(body);
        return body;
    }

    void drawEach() const
    {
        for (PhysicsEntity const* body : bodies)
            body->draw();
    }

private:
    struct alignas(std::max_align_t) Slot {
        unsigned char bytes[128];
    };
    static_assert(sizeof(Polygon) <= sizeof(Slot) && sizeof(RingedBall) <= sizeof(Slot), "slot too small");

    std::vector<Slot> slots;
    std::vector<PhysicsEntity*> bodies;
};

// Overlapping balls (the first drawn stays visible), polygons, and balls
// without a colour of their own, which take the colour last sent: all of it
// depends on the order of the draws.
Ball* addCrowd(Scene& scene)
{
    Ball* first = scene.add<Ball>(Vector2(100, 100), 20.0f, cRed);
    scene.add<Ball>(Vector2(110, 100), 20.0f, cGreen);
    scene.add<Polygon>(std::vector<Vector2>{Vector2(90, 90), Vector2(200, 95), Vector2(120, 180)}, cYellow);
    scene.add<Ball>(Vector2(150, 120), 10.0f, nullptr);
    scene.add<Ball>(Vector2(400, 300), 40.0f, cMagenta);
    scene.add<Polygon>(std::vector<Vector2>{Vector2(380, 280), Vector2(420, 280), Vector2(420, 320)}, nullptr);
    scene.add<Ball>(Vector2(405, 305), 5.0f, nullptr);
    return first;
}

class FrameCopy : public testing::Test {
protected:
    void SetUp() override
    {
        debug::init();
        graphics::init();
        manager::init();
    }

    void TearDown() override { manager::clean(); }
};

}  // namespace

TEST_F(FrameCopy, DrawsWhatEachBodyDrawsInAddressOrder)
{
    Scene scene;
    Ball* moving = addCrowd(scene);
    const std::vector<GLfloat> pass = feedbackOf([] { manager::draw(); });
    const std::vector<GLfloat> each = feedbackOf([&scene] { scene.drawEach(); });
    // Seven shapes, a 32-gon for each ball.
    EXPECT_GT(each.size(), 5u * 32u * 7u);
    EXPECT_EQ(pass, each);

    // A moved ball is drawn where it is now.
    moving->velocity = Vector2(-2.0f, 1.0f);
    manager::update(10.0f);
    ASSERT_NE(moving->position.x, 100.0f);
    EXPECT_EQ(feedbackOf([] { manager::draw(); }), feedbackOf([&scene] { scene.drawEach(); }));
}

TEST_F(FrameCopy, UnknownClassesAreDrawnByThemselves)
{
    Scene scene;
    addCrowd(scene);
    scene.add<RingedBall>(Vector2(600, 400), 30.0f);
    const std::vector<GLfloat> each = feedbackOf([&scene] { scene.drawEach(); });
    EXPECT_EQ(feedbackOf([] { manager::draw(); }), each);
}
