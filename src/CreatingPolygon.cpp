#include "CreatingPolygon.h"

#include "config.h"
#include "entityCreator.h"
#include "inputManager.h"
#include "obstacleDrawing.h"

void CreatingPolygon::handleInput(bool top) const
{
    if (!top)
        return;
    if (input::mousePressed(input::Button::left)) {
        const Vector2 at = input::mousePosition();
        obstacleDrawing::addPoint(static_cast<int>(at.x), static_cast<int>(at.y));
    }
    if (input::mousePressed(input::Button::right))
        creator::removeObstacleAt(input::mousePosition());
}

void CreatingPolygon::update(float, bool) const {}

void CreatingPolygon::draw(bool) const
{
    obstacleDrawing::draw();
}

// Only on the tick drawing begins and ends: below a pushed Paused it must not
// ask to be pushed again.
bool CreatingPolygon::pushMe() const
{
    return cfg::shapeStarted();
}

bool CreatingPolygon::popMe() const
{
    return cfg::shapeFinished();
}
