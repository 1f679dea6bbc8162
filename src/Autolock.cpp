#include "Autolock.h"

#include "Mutex.h"

Autolock::Autolock(Mutex& guarded) : mutex(guarded)
{
    Lock();
}

Autolock::~Autolock()
{
    Unlock();
}

void Autolock::Lock()
{
    mutex.Lock();
}

void Autolock::Unlock()
{
    mutex.Unlock();
}
