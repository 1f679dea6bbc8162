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

}  // namespace cfg
