#include "Mutex.h"

#include "debug.h"

Mutex::Mutex() : handle(nullptr), owner(0) {}

Mutex::~Mutex() {}

void Mutex::init()
{
    handle = SDL_CreateMutex();
}

void Mutex::clean()
{
    SDL_DestroyMutex(handle);
    handle = nullptr;
}

bool Mutex::IsValid() const
{
    return handle != nullptr;
}

void Mutex::Lock()
{
    DASSERT(IsValid());
    SDL_mutexP(handle);
    owner = SDL_ThreadID();
}

void Mutex::Unlock()
{
    DASSERT(IsValid());
    DASSERT(owner == SDL_ThreadID());
    SDL_mutexV(handle);
}
