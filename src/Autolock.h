#pragma once

class Mutex;

// Scoped guard: locks on construction, always unlocks on destruction.
class Autolock {
public:
    explicit Autolock(Mutex& mutex);
    ~Autolock();
    Autolock(Autolock const&) = delete;
    Autolock& operator=(Autolock const&) = delete;

    void Lock();
    void Unlock();

private:
    Mutex& mutex;
};
