#pragma once

#include "GameState.h"

// Drawing an obstacle, from the shape key's first press to its second: on
// top of the stack it holds the world still, places a point where the left
// button goes down and removes the obstacle where the right one does; it
// draws the points and the outline of the obstacle they make. The drawing
// mode is its own: it is on exactly while this state is on the stack.
class CreatingPolygon : public GameState {
public:
    // Update thread, each tick before the mouse buttons act: the shape key
    // starts drawing, or ends it and hands the obstacle the points make to
    // the creator (a line says so when they make none).
    static void followShapeKey();
    // Whether an obstacle is being drawn: the mouse buttons are the
    // drawing's, and add or remove no ball.
    static bool drawing();
    // Rewinding puts a drawing back, with the stack that holds this state.
    static void setDrawing(bool drawing);

    void handleInput(bool top) const override;
    void update(float dt, bool top) const override;
    void draw(bool top) const override;
    bool pushMe() const override;
    bool popMe() const override;
};
