#pragma once

#include "GameState.h"

// Freezes the world while the pause flag is set, but for one tick at each
// press of the step key; draws nothing itself.
class Paused : public GameState {
public:
    void handleInput(bool top) const override;
    void update(float dt, bool top) const override;
    void draw(bool top) const override;
    bool pushMe() const override;
    bool popMe() const override;
};
