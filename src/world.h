#pragma once

namespace scene {
struct Scene;
}

// The world as a whole, bodies and gravity well together: the one way it is
// built from a scene and captured as one, and the scene a run starts from,
// which a reset builds again. The program, the benchmarks and the tests all
// build through it. On the thread that runs the ticks, but startFrom.
namespace world {

// The world a run starts from unless it is given another: eight heavy balls
// in a grid, a diagonal row of fifty small ones in the right button's queue
// and a red triangle, at rest, in the first slots; the well off at (0, 0).
scene::Scene startingScene();

// Before the world is built (the main thread, before the run): the run
// starts, and a reset returns, to this scene instead of the starting one.
void startFrom(scene::Scene const& scene);
// The scene given to startFrom or build; null when the run starts from the
// starting scene.
scene::Scene const* given();

// With the effects installed and the world's arena empty: the run's scene
// (the given one, else the starting one), its bodies each in its slot and
// role, and its gravity well.
void build();
// The same for `scene`, which from now on is the one a reset builds again.
void build(scene::Scene const& scene);
// Deletes every body and builds the run's scene again; the well stays where
// it is, on or off.
void reset();

// The world as it stands, as a scene: its bodies, the arena's free slots
// and the gravity well. Built, it goes on exactly as this world does.
scene::Scene capture();

}  // namespace world
