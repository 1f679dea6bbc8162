#include "GameState.h"

GameState::~GameState() {}

bool GameState::pushMe() const
{
    return false;
}

bool GameState::popMe() const
{
    return false;
}
