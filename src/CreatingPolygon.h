#pragma once

#include "GameState.h"

// Drawing an obstacle, from the shape key's first press to its second: on
// top of the stack it holds the world still, places a point where the left
// button goes down and removes the obstacle where the right one does; it
// draws the points and the outline of the obstacle they make.
class CreatingPolygon : public GameState {
public:
    void handleInput(bool top) const override;
    void update(float dt, bool top) const override;
    void draw(bool top) const override;
    bool pushMe() const override;
    bool popMe() const override;
};
