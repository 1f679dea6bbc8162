#pragma once

class Entity;

// The live world, shared by the update and draw threads. Additions and
// removals wait in pending sets and are merged, under the family's lock, by
// whichever thread next updates or draws.
namespace manager {

void init();
void clean();
void add(Entity* entity);
void remove(Entity* entity);
void update(float dt);
void draw();
void handleInput();

}  // namespace manager
