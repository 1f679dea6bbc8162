#pragma once

#include "GameState.h"

// Runs the world through the entity manager; its lifetime brackets the
// manager's.
class Running : public GameState {
public:
    Running();
    ~Running() override;

    void handleInput(bool top) const override;
    void update(float dt, bool top) const override;
    void draw(bool top) const override;
};
