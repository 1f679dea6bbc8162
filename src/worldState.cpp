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
    std::size_t corners = 0;
    for (scene::Body const& body : snapshot.world.bodies)
        corners += body.corners.size();
    const std::size_t numbers = snapshot.world.free.size() + snapshot.order.startBalls.size() +
                                snapshot.order.obstacles.size() + snapshot.states.size();
    return kSnapshotBytes + snapshot.world.bodies.size() * kBodyBytes +
           (corners + numbers + snapshot.points.size()) * kItemBytes;
}

}  // namespace worldState
