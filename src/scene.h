#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "Vector2.h"

// A world on file: the starting point of a run, a snapshot of a running
// world, a benchmark's world, the start of a recording. Plain text:
//
//   ballpit scene 1
//   # a comment: from '#' to the end of the line; blank lines are skipped
//   ball X Y VX VY RADIUS MASS COLOUR [start] [queue K] [slot S]
//   polygon COLOUR X1 Y1 X2 Y2 X3 Y3 ... [motion X Y VX VY] [slot S]
//   well X Y on|off
//   free S1 S2 ...
//
// One line per body, in the world's order (the order of their slots, which
// is the order they are stepped, collided and drawn in). Numbers are floats,
// decimal or hexadecimal ("%a", as written, so that reading gives back the
// same bits); slots and queue places are whole numbers. Colours are named as
// the colour constants are: cCyan, cWhite, cGrey, cRed, cGreen, cBlue,
// cYellow, cMagenta, cOrange.
//
//   ball     a ball: centre, velocity (pixels per ms), radius, mass, colour.
//            `start`: one of the starting grid, which the right button never
//            removes; otherwise the right button's queue holds it, at place
//            K (0 is removed first), or in the order of the file when no
//            ball names its place.
//   polygon  a fixed convex polygon of 3 to 16 corners in ring order; at
//            most 64 in a scene (polygon::kMaxInWorld).
//            `motion`: its position and velocity, which no rule reads but
//            the world's hash does (they start at 0).
//   slot S   the body's place in the world's arena; without it, the slot
//            after the previous body's. Slots rise through the file.
//   well     the gravity well, where it stands and whether it is on (off at
//            (0, 0) when there is no such line).
//   free     the arena's free slots, the first taken first; the other slots
//            below the highest one used are taken after them, lowest first.
//
// Every number must be finite: positions within 10,000 pixels of the window,
// speeds up to 1,000 pixels per ms, radii in (0, 1000], masses in
// (0, 1000000]. Lines are at most 4096 bytes.
namespace scene {

// What the first line starts with, before the version.
const char kMagic[] = "ballpit scene";
// No scene's text is longer: the largest world the arena holds stays far
// below this.
const std::size_t kMaxTextBytes = std::size_t(1) << 28;

const int kVersion = 1;
const std::size_t kMaxLineBytes = 4096;

struct Body {
    bool ball = true;
    Vector2 position;
    Vector2 velocity;
    float const* colour = nullptr;
    // Balls.
    float radius = 0.0f;
    float mass = 1.0f;
    bool start = false;
    // The right button's queue place of a ball not of the starting grid.
    std::size_t queue = 0;
    // Polygons.
    std::vector<Vector2> corners;
    std::size_t slot = 0;
};

struct Scene {
    std::vector<Body> bodies;
    Vector2 well;
    bool wellOn = false;
    // Taken first to last.
    std::vector<std::size_t> free;
};

// Reads a scene from text; false, with "LINE: reason", when it is not one
// this program reads. Fills every slot and queue place the text left out.
bool parse(std::string const& text, Scene& scene, std::string& error);
// Reads a file; false, with "FILE:LINE: reason" (line 0: the file as a
// whole), when it cannot be read or is no scene.
bool read(std::string const& path, Scene& scene, std::string& error);
// The text of a scene, every field written, every float in hexadecimal.
std::string write(Scene const& scene);

// A colour constant's name, and the constant of a name; null for none.
const char* colourName(float const* colour);
float const* colourNamed(std::string const& name);

}  // namespace scene
