#include "worldState.h"

#include "CreatingPolygon.h"
#include "config.h"
#include "entityManager.h"
#include "game.h"
#include "shapePoints.h"
#include "world.h"

namespace worldState {

Snapshot capture()
{
    Snapshot snapshot;
    snapshot.world = world::capture();
    snapshot.order = creator::order();
    snapshot.states = game::stateStack();
    snapshot.paused = cfg::paused();
    snapshot.drawing = CreatingPolygon::drawing();
    snapshot.hold = effect::hold();
    snapshot.points = shapePoints::copy();
    snapshot.pointer = input::applied().frame.pointer;
    return snapshot;
}

void restore(Snapshot const& snapshot)
{
    {
        manager::FrameHold hold;
        creator::restore(snapshot.world, snapshot.order);
        effect::setHold(snapshot.hold);
    }
    effect::setWell(snapshot.world.well, snapshot.world.wellOn);
    game::setStateStack(snapshot.states);
    cfg::setPaused(snapshot.paused);
    CreatingPolygon::setDrawing(snapshot.drawing);
    shapePoints::replace(snapshot.points);
}

std::size_t bytes(Snapshot const& snapshot)
{
    std::size_t total = sizeof snapshot + snapshot.world.bodies.size() * sizeof(scene::Body);
    for (scene::Body const& body : snapshot.world.bodies)
        total += body.corners.size() * sizeof(Vector2);
    const std::size_t slots =
        snapshot.world.free.size() + snapshot.order.startBalls.size() + snapshot.order.obstacles.size();
    return total + slots * sizeof(std::size_t) + snapshot.states.size() * sizeof(int) +
           snapshot.points.size() * sizeof(polygon::Pixel);
}

}  // namespace worldState
