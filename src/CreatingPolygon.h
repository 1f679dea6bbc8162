#pragma once

#include "GameState.h"

// Registered with the others but never pushed.
class CreatingPolygon : public GameState {
public:
    void handleInput(bool top) const override;
    void update(float dt, bool top) const override;
    void draw(bool top) const override;
};
