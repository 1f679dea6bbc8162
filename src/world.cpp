#include "world.h"

#include <optional>
#include <vector>

#include "debug.h"
#include "effectManager.h"
#include "entityArena.h"
#include "entityCreator.h"
#include "graphics.h"
#include "scene.h"

namespace world {

namespace {

const float kStartBallRadius = 20.0f;
const float kStartBallMass = 5.0f;

// The scene the run starts from when it is not the starting one.
std::optional<scene::Scene> s_given;

scene::Body ball(float x, float y, float radius, float const* colour)
{
    scene::Body body;
    body.position = Vector2(x, y);
    body.radius = radius;
    body.colour = colour;
    return body;
}

// The starting scene's bodies take the slots the arena hands out next, as
// they always have: after a reset, which frees every slot, they stand where
// the world's history leaves those slots, and recorded sessions depend on
// that. A given scene stands in its own slots every time.
scene::Scene inNextSlots(scene::Scene scene)
{
    // An empty arena's free slots are every slot below the highest one used.
    DASSERT(entityArena::used() == 0);
    std::vector<std::size_t> order = entityArena::freeSlots();
    while (order.size() < scene.bodies.size())
        order.push_back(order.size());
    const std::size_t count = scene.bodies.size();
    for (std::size_t i = 0; i < count; ++i)
        scene.bodies[i].slot = order[i];
    scene.free.assign(order.begin() + static_cast<std::ptrdiff_t>(count), order.end());
    return scene;
}

// The scene's bodies, and its well unless the well stays as it is.
void make(scene::Scene const& scene, bool well)
{
    creator::makeBodies(scene);
    if (well)
        effect::setWell(scene.well, scene.wellOn);
}

void makeRunScene(bool well)
{
    if (s_given)
        make(*s_given, well);
    else
        make(inNextSlots(startingScene()), well);
}

}  // namespace

scene::Scene startingScene()
{
    scene::Scene start;
    struct StartBall {
        float x;
        float y;
        float const* colour;
    };
    const StartBall grid[] = {
        {50.0f, 50.0f, cWhite},    {150.0f, 50.0f, cGrey},    {50.0f, 100.0f, cRed},
        {100.0f, 100.0f, cGreen},  {150.0f, 100.0f, cBlue},   {50.0f, 150.0f, cYellow},
        {100.0f, 150.0f, cMagenta}, {150.0f, 150.0f, cCyan},
    };
    for (StartBall const& at : grid) {
        start.bodies.push_back(ball(at.x, at.y, kStartBallRadius, at.colour));
        start.bodies.back().mass = kStartBallMass;
        start.bodies.back().start = true;
    }
    for (int i = 200; i != 300; i += 2) {
        const float at = static_cast<float>(i);
        start.bodies.push_back(ball(at, at, creator::kMouseBallRadius, cCyan));
        start.bodies.back().queue = static_cast<std::size_t>(i - 200) / 2;
    }
    scene::Body triangle;
    triangle.ball = false;
    triangle.colour = cRed;
    triangle.corners = {Vector2(500.0f, 500.0f), Vector2(300.0f, 500.0f), Vector2(500.0f, 300.0f)};
    start.bodies.push_back(triangle);
    for (std::size_t i = 0; i < start.bodies.size(); ++i)
        start.bodies[i].slot = i;
    return start;
}

void startFrom(scene::Scene const& scene)
{
    s_given = scene;
}

scene::Scene const* given()
{
    return s_given ? &*s_given : nullptr;
}

void build()
{
    makeRunScene(true);
}

void build(scene::Scene const& scene)
{
    startFrom(scene);
    build();
}

void reset()
{
    creator::clean();
    makeRunScene(false);
}

scene::Scene capture()
{
    scene::Scene world = creator::bodies();
    world.well = effect::wellPosition();
    world.wellOn = effect::wellOn();
    return world;
}

}  // namespace world
