// The effects summed in one pass, and the integration step built on that
// pass, against the three separate sums and positionAt/velocityAt: the same
// bits in every state, whichever effects are active.

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "Ball.h"
#include "Gravity.h"
#include "GravityWell.h"
#include "Polygon.h"
#include "Screen.h"
#include "config.h"
#include "effectManager.h"
#include "float_checks.h"
#include "game.h"
#include "graphics.h"
#include "inputManager.h"
#include "key_events.h"
#include "keys.h"

namespace {

using game::kStep;

testing::AssertionResult same(Vector2 const& actual, Vector2 const& expected)
{
    if (sameBits(actual.x, expected.x) && sameBits(actual.y, expected.y))
        return testing::AssertionSuccess();
    return testing::AssertionFailure() << std::hexfloat << "(" << actual.x << ", " << actual.y << ") instead of ("
                                       << expected.x << ", " << expected.y << ")";
}

std::string describe(PhysicsEntity const& body)
{
    return (body.kind() == Entity::Kind::ball ? "ball at " : "polygon at ") + body.position.toString() + ", " +
           body.velocity.toString() + ", restitution " + std::to_string(body.restitution) + ", mass " +
           std::to_string(body.mass);
}

// Bodies inside, on and beyond every wall and in the corners, at and next to
// the top left corner where the well starts, with radii from none (a
// polygon) to more than half the screen, restitutions below zero and above
// one, two masses, and velocities of every sign including signed zeros.
std::vector<std::unique_ptr<PhysicsEntity>> bodiesInEveryState()
{
    const float xs[] = {-50.0f, 0.0f, 0.5f, 10.0f, 400.0f, 790.0f, 800.0f, 850.0f};
    const float ys[] = {-20.0f, 0.0f, 0.25f, 300.0f, 580.0f, 600.0f, 640.0f};
    const Vector2 velocities[] = {Vector2(0.0f, 0.0f), Vector2(-0.0f, -0.0f), Vector2(0.3f, -0.2f),
                                  Vector2(-1.0f, 2.0f), Vector2(-0.0f, 0.5f)};
    std::vector<std::unique_ptr<PhysicsEntity>> bodies;
    for (const float x : xs)
        for (const float y : ys)
            for (Vector2 const& v : velocities)
                for (int shape = 0; shape < 3; ++shape)
                    for (const float restitution : {0.8f, -1.0f, 1.5f})
                        for (const float mass : {1.0f, 5.0f}) {
                            std::unique_ptr<PhysicsEntity> body;
                            if (shape == 2)
                                body = std::make_unique<Polygon>(std::vector<Vector2>{Vector2(1, 1)}, cRed);
                            else
                                body = std::make_unique<Ball>(Vector2(), shape == 0 ? 10.0f : 350.0f, cCyan);
                            body->position = Vector2(x, y);
                            body->velocity = v;
                            body->restitution = restitution;
                            body->mass = mass;
                            bodies.push_back(std::move(body));
                        }
    return bodies;
}

void expectSumsAgree(PhysicsEntity const& body)
{
    const EffectSums sums = effect::sums(&body, kStep);
    EXPECT_TRUE(same(sums.position, effect::positionDelta(&body, kStep))) << describe(body);
    EXPECT_TRUE(same(sums.velocity, effect::velocityDelta(&body, kStep))) << describe(body);
    EXPECT_TRUE(same(sums.force, effect::forceDelta(&body, kStep))) << describe(body);
}

// update() against its definition: positionAt, then velocityAt at the new
// position, then the stored force cleared.
void expectUpdateAgrees(PhysicsEntity& body)
{
    body.applyForce(Vector2(0.002f, -0.0f));
    const Vector2 stored = body.force;
    const Vector2 start = body.position;
    const Vector2 position = body.positionAt(kStep);
    body.position = position;
    const Vector2 velocity = body.velocityAt(kStep);

    body.position = start;
    body.update(kStep);
    EXPECT_TRUE(same(body.position, position)) << describe(body);
    EXPECT_TRUE(same(body.velocity, velocity)) << describe(body);
    EXPECT_TRUE(same(body.force, stored * 0)) << describe(body);
}

// The default effects, and the window whose key events switch the well on.
class OnePassSums : public keyevents::KeyEvents {
protected:
    void SetUp() override
    {
        KeyEvents::SetUp();
        effect::init();
    }

    void TearDown() override
    {
        effect::clean();
        KeyEvents::TearDown();
    }

    void switchWellOn()
    {
        keyevents::press(key::well);
        keyevents::tick();
        effect::handleInput();
        const Ball atWell(Vector2(0.0f, 0.0f), 10.0f, cCyan);
        const Ball away(Vector2(30.0f, 40.0f), 10.0f, cCyan);
        ASSERT_NE(effect::forceDelta(&away, kStep).x, 0.0f) << "the well is off";
        ASSERT_EQ(effect::forceDelta(&atWell, kStep).x, 0.0f);
    }
};

}  // namespace

TEST_F(OnePassSums, OnePassGivesTheThreeSums)
{
    const std::vector<std::unique_ptr<PhysicsEntity>> bodies = bodiesInEveryState();
    for (auto const& body : bodies)
        expectSumsAgree(*body);
    switchWellOn();
    for (auto const& body : bodies)
        expectSumsAgree(*body);
}

TEST_F(OnePassSums, UpdateIsPositionAtThenVelocityAt)
{
    std::vector<std::unique_ptr<PhysicsEntity>> bodies = bodiesInEveryState();
    for (auto const& body : bodies)
        expectUpdateAgrees(*body);
    switchWellOn();
    bodies = bodiesInEveryState();
    for (auto const& body : bodies)
        expectUpdateAgrees(*body);
}

// Each kind adds exactly its three contributions, onto totals that are not
// zero too; the base and the well use the generic pass, gravity and the
// walls their own.
TEST(EffectKinds, EachAddsItsThreeContributions)
{
    const Effect none;
    const Gravity gravity;
    const GravityWell well(Vector2(395.0f, 590.0f));
    const Screen screen;
    const Effect* const effects[] = {&none, &gravity, &well, &screen};
    for (auto const& body : bodiesInEveryState())
        for (Effect const* effect : effects) {
            EffectSums sums;
            sums.position = Vector2(1e-9f, -3.0f);
            sums.velocity = Vector2(-0.0f, 2.5f);
            sums.force = Vector2(7.0f, -1e-7f);
            const EffectSums before = sums;
            effect->addTo(sums, body.get(), kStep);
            EXPECT_TRUE(same(sums.position, before.position + effect->positionDelta(body.get(), kStep)))
                << describe(*body);
            EXPECT_TRUE(same(sums.velocity, before.velocity + effect->velocityDelta(body.get(), kStep)))
                << describe(*body);
            EXPECT_TRUE(same(sums.force, before.force + effect->forceDelta(body.get(), kStep))) << describe(*body);
        }
}
