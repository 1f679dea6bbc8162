#pragma once

#include <SDL.h>

// Recursive lock over the platform mutex. The platform mutex exists only
// between init() and clean(); locking outside that span aborts.
class Mutex {
public:
    Mutex();
    ~Mutex();
    Mutex(Mutex const&) = delete;
    Mutex& operator=(Mutex const&) = delete;

    void init();
    void clean();
    bool IsValid() const;
    void Lock();
    void Unlock();

private:
    SDL_mutex* handle;
    Uint32 owner;
};
