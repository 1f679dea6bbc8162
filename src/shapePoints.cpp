#include "shapePoints.h"

#include <algorithm>
#include <cstdint>
#include <mutex>
#include <utility>

#include "graphics.h"

namespace shapePoints {

namespace {

// Placed by the update thread, drawn by the draw thread.
std::mutex muPoints;
std::vector<polygon::Pixel> s_points;

}  // namespace

void add(int x, int y)
{
    const polygon::Pixel point{std::clamp(x, 0, graphics::kWidth), std::clamp(y, 0, graphics::kHeight)};
    std::lock_guard<std::mutex> lock(muPoints);
    s_points.push_back(point);
    // Points inside the hull change nothing the obstacle will be; a hull of
    // window pixels has far fewer than kMaxPoints corners.
    if (s_points.size() > static_cast<std::size_t>(kMaxPoints))
        s_points = polygon::hull(std::move(s_points), SIZE_MAX);
}

std::vector<polygon::Pixel> take()
{
    std::lock_guard<std::mutex> lock(muPoints);
    std::vector<polygon::Pixel> points;
    points.swap(s_points);
    return points;
}

std::vector<polygon::Pixel> copy()
{
    std::lock_guard<std::mutex> lock(muPoints);
    return s_points;
}

void replace(std::vector<polygon::Pixel> const& points)
{
    std::lock_guard<std::mutex> lock(muPoints);
    s_points = points;
}

}  // namespace shapePoints
