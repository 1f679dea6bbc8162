#include "CreatingPolygon.h"

#include <vector>

#include "Polygon.h"
#include "config.h"
#include "debug.h"
#include "entityCreator.h"
#include "inputManager.h"
#include "obstacleDrawing.h"
#include "shapePoints.h"

namespace {

// From the tick the shape key starts drawing to the tick it ends it.
bool s_bDrawing = false;

// Drawing ended: the points make an obstacle, or a line says why not.
void makeObstacle()
{
    const std::vector<polygon::Pixel> hull = polygon::hull(shapePoints::take());
    if (hull.size() < polygon::kMinCorners) {
        DPF(0, "shape: nothing made: an obstacle needs three points that are not on one line");
        return;
    }
    std::vector<Vector2> corners;
    for (polygon::Pixel const& p : hull)
        corners.emplace_back(static_cast<float>(p.x), static_cast<float>(p.y));
    creator::addObstacle(corners);
}

}  // namespace

void CreatingPolygon::followShapeKey()
{
    if (!cfg::shapeAsked())
        return;
    s_bDrawing = !s_bDrawing;
    if (!s_bDrawing)
        makeObstacle();
}

bool CreatingPolygon::drawing()
{
    return s_bDrawing;
}

void CreatingPolygon::setDrawing(bool drawing)
{
    s_bDrawing = drawing;
}

void CreatingPolygon::handleInput(bool top) const
{
    if (!top)
        return;
    if (input::mousePressed(input::Button::left)) {
        const Vector2 at = input::mousePosition();
        shapePoints::add(static_cast<int>(at.x), static_cast<int>(at.y));
    }
    if (input::mousePressed(input::Button::right))
        creator::removeObstacleAt(input::mousePosition());
}

void CreatingPolygon::update(float, bool) const {}

void CreatingPolygon::draw(bool) const
{
    obstacleDrawing::draw(shapePoints::copy());
}

// Only in the tick drawing begins or ends: below a pushed Paused, the shape
// key is refused, so it never asks to be pushed again.
bool CreatingPolygon::pushMe() const
{
    return cfg::shapeAsked() && s_bDrawing;
}

bool CreatingPolygon::popMe() const
{
    return cfg::shapeAsked() && !s_bDrawing;
}
