#include "obstacleDrawing.h"

#include <SDL_opengl.h>

#include <algorithm>
#include <cstdint>
#include <mutex>

#include "Vector2.h"
#include "graphics.h"

namespace obstacleDrawing {

namespace {

// Half the side of a point's mark, and the depth of the marks: in front of
// the polygons (0) and the balls (-1).
const float kMarkHalf = 2.5f;
const float kMarkDepth = 0.005f;

// Placed by the update thread, drawn by the draw thread.
std::mutex muPoints;
std::vector<Point> s_points;

// Twice the signed area of the triangle a, b, c; exact for window pixels.
std::int64_t cross(Point const& a, Point const& b, Point const& c)
{
    return static_cast<std::int64_t>(b.x - a.x) * (c.y - a.y) - static_cast<std::int64_t>(b.y - a.y) * (c.x - a.x);
}

// Drops the corner whose loss costs the least area (the first of equals)
// until at most kMaxCorners are left; a convex polygon stays convex.
void cut(std::vector<Point>& hull)
{
    while (hull.size() > static_cast<std::size_t>(kMaxCorners)) {
        const std::size_t n = hull.size();
        std::size_t cheapest = 0;
        std::int64_t least = INT64_MAX;
        for (std::size_t i = 0; i < n; ++i) {
            const std::int64_t area = cross(hull[(i + n - 1) % n], hull[i], hull[(i + 1) % n]);
            if (area < least) {
                least = area;
                cheapest = i;
            }
        }
        hull.erase(hull.begin() + static_cast<std::ptrdiff_t>(cheapest));
    }
}

// Andrew's monotone chain: the lower chain, then the upper one; a turn that
// is not strictly to the same side drops the middle point.
std::vector<Point> fullHull(std::vector<Point> points)
{
    std::sort(points.begin(), points.end(), [](Point const& a, Point const& b) {
        return a.x != b.x ? a.x < b.x : a.y < b.y;
    });
    points.erase(std::unique(points.begin(), points.end(),
                             [](Point const& a, Point const& b) { return a.x == b.x && a.y == b.y; }),
                 points.end());
    if (points.size() < 3)
        return points;
    std::vector<Point> hull(2 * points.size());
    std::size_t k = 0;
    for (std::size_t i = 0; i < points.size(); ++i) {
        while (k >= 2 && cross(hull[k - 2], hull[k - 1], points[i]) <= 0)
            --k;
        hull[k++] = points[i];
    }
    for (std::size_t i = points.size() - 1, lower = k + 1; i-- > 0;) {
        while (k >= lower && cross(hull[k - 2], hull[k - 1], points[i]) <= 0)
            --k;
        hull[k++] = points[i];
    }
    hull.resize(k - 1);
    return hull;
}

std::vector<Point> copyOfPoints()
{
    std::lock_guard<std::mutex> lock(muPoints);
    return s_points;
}

}  // namespace

void addPoint(int x, int y)
{
    const Point point{std::clamp(x, 0, graphics::kWidth), std::clamp(y, 0, graphics::kHeight)};
    std::lock_guard<std::mutex> lock(muPoints);
    s_points.push_back(point);
    // Points inside the hull change nothing the obstacle will be; a hull of
    // window pixels has far fewer than kMaxPoints corners.
    if (s_points.size() > static_cast<std::size_t>(kMaxPoints))
        s_points = fullHull(std::move(s_points));
}

void clear()
{
    std::lock_guard<std::mutex> lock(muPoints);
    s_points.clear();
}

std::vector<Point> hullOf(std::vector<Point> points)
{
    std::vector<Point> hull = fullHull(std::move(points));
    cut(hull);
    return hull;
}

std::vector<Vector2> corners()
{
    const std::vector<Point> hull = hullOf(copyOfPoints());
    std::vector<Vector2> result;
    if (hull.size() < 3)
        return result;
    for (Point const& p : hull)
        result.emplace_back(static_cast<float>(p.x), static_cast<float>(p.y));
    return result;
}

void draw()
{
    const std::vector<Point> points = copyOfPoints();
    if (points.empty())
        return;
    const std::vector<Point> hull = hullOf(points);
    glPushAttrib(GL_CURRENT_BIT);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glColor3fv(cOrange);
    glBegin(GL_LINE_LOOP);
    for (Point const& p : hull)
        glVertex3f(static_cast<float>(p.x), static_cast<float>(p.y), kMarkDepth);
    glEnd();
    glColor3fv(cWhite);
    glBegin(GL_QUADS);
    for (Point const& p : points) {
        const float x = static_cast<float>(p.x);
        const float y = static_cast<float>(p.y);
        glVertex3f(x - kMarkHalf, y - kMarkHalf, kMarkDepth);
        glVertex3f(x + kMarkHalf, y - kMarkHalf, kMarkDepth);
        glVertex3f(x + kMarkHalf, y + kMarkHalf, kMarkDepth);
        glVertex3f(x - kMarkHalf, y + kMarkHalf, kMarkDepth);
    }
    glEnd();
    glPopAttrib();
}

}  // namespace obstacleDrawing
