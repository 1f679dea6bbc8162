#include "worlds.h"

#include <sys/wait.h>
#include <unistd.h>

#include <cmath>
#include <cstdint>
#include <iostream>

#include "Ball.h"
#include "Vector2.h"
#include "debug.h"
#include "effectManager.h"
#include "entityCreator.h"
#include "entityManager.h"
#include "graphics.h"
#include "scene.h"
#include "sceneFiles.h"
#include "world.h"

namespace bench {

namespace {

const std::uint64_t kModulus = std::uint64_t(1) << 31;

// s <- (1103515245 * s + 12345) mod 2^31, in 64-bit unsigned arithmetic
// (exact: the product stays below 2^62). Returns s / 2^31 in [0, 1) as a double.
double nextFraction(std::uint64_t& s)
{
    s = (1103515245u * s + 12345u) % kModulus;
    return static_cast<double>(s) / static_cast<double>(kModulus);
}

const int kStartingBalls = 58;

// A regular hexagon, its corners given to the float of a product of whole
// numbers and a table of sines, so that no maths library decides them.
std::vector<Vector2> hexagon(float x, float y, float radius)
{
    const float cosines[] = {1.0f, 0.5f, -0.5f, -1.0f, -0.5f, 0.5f};
    const float sines[] = {0.0f, 0.8660254f, 0.8660254f, 0.0f, -0.8660254f, -0.8660254f};
    std::vector<Vector2> corners;
    for (int k = 0; k < 6; ++k)
        corners.emplace_back(x + radius * cosines[k], y + radius * sines[k]);
    return corners;
}

// Rows of hexagonal pegs, every other one shifted right by half a column
// (rounded down to a whole pixel).
struct PegRows {
    int rows;
    int columns;
    int left;
    int top;
    int columnStep;
    int rowStep;
};

void addPegs(PegRows const& pegs, float radius)
{
    for (int row = 0; row < pegs.rows; ++row)
        for (int column = 0; column < pegs.columns; ++column) {
            const int x = pegs.left + pegs.columnStep * column + (row % 2 == 1 ? pegs.columnStep / 2 : 0);
            const int y = pegs.top + pegs.rowStep * row;
            creator::addObstacle(hexagon(static_cast<float>(x), static_cast<float>(y), radius));
        }
}

// Thirty-two pegs of radius 14 in four rows under the pour, where the pile
// will bury them.
const PegRows kPouredPegs{4, 8, 60, 340, 97, 60};
// Forty-eight pegs of radius 9 in six rows, under a row of forty balls.
const PegRows kPachinkoPegs{6, 8, 70, 160, 95, 65};

// Two walls of a funnel with a gap of 30 pixels, and 168 balls of radius 8
// above it, ready to run through.
void buildFunnel()
{
    creator::addObstacle({Vector2(120, 120), Vector2(140, 110), Vector2(385, 300), Vector2(370, 315)});
    creator::addObstacle({Vector2(680, 120), Vector2(660, 110), Vector2(415, 300), Vector2(430, 315)});
    for (int row = 0; row < 6; ++row)
        for (int column = 0; column < 28; ++column)
            creator::addBall(Vector2(155.0f + 18.0f * static_cast<float>(column), 10.0f + 18.0f * static_cast<float>(row)),
                             8.0f, cCyan);
}

struct Preset {
    const char* name;
    const char* about;
    void (*build)();
};

// The effects and the manager, with nothing in the world.
void emptyWorld()
{
    buildWorld(scene::Scene());
}

const Preset kPresets[] = {
    {"start", "the starting scene", [] { buildWorld(world::startingScene()); }},
    {"lattice", "2,000 balls of radius 10 scattered over the window, the benchmarks' lattice",
     [] { buildWorld(latticeScene(kPresetLattice)); }},
    {"pile", "3,000 balls poured over the starting scene, the benchmarks' pile", [] { pourPile(3000); }},
    {"funnel", "balls above a funnel of two walls",
     [] {
         emptyWorld();
         buildFunnel();
     }},
    {"pachinko", "a row of balls above 48 pegs",
     [] {
         emptyWorld();
         addPegs(kPachinkoPegs, 9.0f);
         for (int i = 0; i < 40; ++i)
             creator::addBall(Vector2(20.0f + 19.0f * static_cast<float>(i), 40.0f), 8.0f, cCyan);
     }},
};

// Builds the preset in this process, a fresh one, and writes it.
void writePreset(Preset const& preset, std::string const& dir)
{
    debug::init();
    preset.build();
    const scene::Scene captured = world::capture();
    const std::string path = dir + "/" + preset.name + ".scene";
    std::string error;
    std::string text = scene::write(captured);
    text.insert(text.find('\n') + 1, "# " + std::string(preset.about) + "\n");
    if (!sceneFiles::write(path, text, error)) {
        std::cerr << "ballpit-bench: " << error << std::endl;
        debug::quit(1);
    }
    std::cout << "  " << path << ": " << captured.bodies.size() << " bodies" << std::endl;
    debug::quit(0);
}

}  // namespace

// Starting from s = 12345, each ball advances s once for x and once more for
// y: x = 10 + 780 * u1, y = 10 + 580 * u2, evaluated in double and rounded to
// float once, so every centre lies in [10, 790] x [10, 590] (the whole ball
// on the screen).
std::vector<Vector2> latticePositions(int count)
{
    std::vector<Vector2> positions;
    positions.reserve(static_cast<std::size_t>(count));
    std::uint64_t s = 12345;
    for (int i = 0; i < count; ++i) {
        const double x = 10.0 + 780.0 * nextFraction(s);
        const double y = 10.0 + 580.0 * nextFraction(s);
        positions.emplace_back(static_cast<float>(x), static_cast<float>(y));
    }
    return positions;
}

Ball* pourBall(std::size_t t)
{
    const float x = static_cast<float>(100 + (7 * t) % 600);
    const float y = static_cast<float>(100 + (3 * t) % 200);
    return creator::addBall(Vector2(x, y), kLatticeRadius, cCyan);
}

void buildWorld(scene::Scene const& scene)
{
    effect::init();
    world::build(scene);
    manager::init();
}

void pourPile(int count, bool pegs)
{
    buildWorld(world::startingScene());
    if (pegs)
        addPegs(kPouredPegs, 14.0f);
    for (std::size_t t = 0; kStartingBalls + static_cast<int>(t) < count; ++t) {
        pourBall(t);
        manager::update(kStep);
    }
}

bool writePresets(std::string const& dir)
{
    bool written = true;
    for (Preset const& preset : kPresets) {
        std::cout.flush();
        const pid_t pid = fork();
        if (pid == 0)
            writePreset(preset, dir);
        int status = 0;
        written = written && pid > 0 && waitpid(pid, &status, 0) == pid && WIFEXITED(status) &&
                  WEXITSTATUS(status) == 0;
    }
    return written;
}

scene::Scene latticeScene(int count)
{
    scene::Scene lattice;
    for (Vector2 const& position : latticePositions(count)) {
        scene::Body ball;
        ball.position = position;
        ball.radius = kLatticeRadius;
        ball.colour = cCyan;
        ball.queue = ball.slot = lattice.bodies.size();
        lattice.bodies.push_back(ball);
    }
    return lattice;
}

std::vector<Ball*> addLattice(int count)
{
    std::vector<Ball*> balls;
    balls.reserve(static_cast<std::size_t>(count));
    for (Vector2 const& position : latticePositions(count))
        balls.push_back(creator::addBall(position, kLatticeRadius, cCyan));
    return balls;
}

}  // namespace bench
