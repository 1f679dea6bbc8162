#pragma once

// A state of the game. States hold no data; the top flag tells a state
// whether it is on top of the stack.
class GameState {
public:
    virtual ~GameState();

    virtual void handleInput(bool top) const = 0;
    virtual void update(float dt, bool top) const = 0;
    virtual void draw(bool top) const = 0;
    virtual bool pushMe() const;
    virtual bool popMe() const;
};
