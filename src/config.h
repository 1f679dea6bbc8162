#pragma once

// The control flags, recomputed each tick from the key statuses and bindings.
namespace cfg {

// Registers the bindings and reads the key file; a missing file ends the process.
void init();
void clean();
void handleInput();

bool paused();
bool endGame();
bool mouseWellFollow();
bool mouseWellOn();
bool mouseWellOff();
bool showFPS();
bool showUPS();

// The sandbox's tools. Step and reset are true in the tick their key goes
// down; the time scale is how many 10 ms ticks run per 10 ms of wall time,
// one of 0.125, 0.25, 0.5, 1 (at start) and 2. The grid and overlay flags are
// read by the draw thread.
bool stepWorld();
bool resetWorld();
float timeScale();
bool showGrid();
bool showHud();

// True in the tick the shape key goes down, which starts or ends drawing an
// obstacle (CreatingPolygon keeps which); while the world is paused the
// press is refused, with a line saying why.
bool shapeAsked();
// True in the tick the save key goes down.
bool saveAsked();

// Rewinding: the rewind key held while the world keeps a history (see
// setRewindable). While it is, the world keys and the mouse do nothing:
// their flags stay off, but for the step key, which steps back while
// paused. The pause, the time scale, the grid and the overlay are the
// person's view and work as ever; the end and save keys too.
bool rewinding();
// Whether the rewind key rewinds; when not, a press says why in one line.
void setRewindable(bool rewindable);

// The one flag a tick of the world reads and leaves for the next one, so
// rewinding takes it back with the world; it puts the person's pause back
// over it whatever tick it shows.
void setPaused(bool paused);
// The part of handleInput that the world's tick reads, for a tick run again
// from the history: no view setting changes.
void handleWorldInput();

}  // namespace cfg
