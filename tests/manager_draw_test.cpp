// The draw pass copies the balls and polygons under the physics lock and
// draws the copies once it has released it. What reaches OpenGL must be what
// drawing every body in address order under the lock sends; OpenGL's
// feedback mode hands back every vertex with its colour to compare.

#include <gtest/gtest.h>

#include <GL/gl.h>
#include <utility>
#include <vector>

#include "Ball.h"
#include "Polygon.h"
#include "body_slots.h"
#include "debug.h"
#include "entityManager.h"
#include "gl_feedback.h"
#include "graphics.h"

namespace {

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

// Bodies in consecutive slots, so that the order of the draw pass is the
// order of making, each one handed to the manager.
class Scene {
public:
    // Merged at once, so that no removal is left pending for bodies made
    // later in the same storage.
    ~Scene()
    {
        for (PhysicsEntity* body : slots.all())
            manager::remove(body);
        manager::draw();
    }

    template <typename T, typename... Args>
    T* add(Args&&... args)
    {
        T* body = slots.add<T>(std::forward<Args>(args)...);
        manager::add(body);
        return body;
    }

    void drawEach() const
    {
        for (PhysicsEntity const* body : slots.all())
            body->draw();
    }

private:
    BodySlots slots;
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
