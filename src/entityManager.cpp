#include "entityManager.h"

#include <set>

#include "Autolock.h"
#include "Mutex.h"
#include "Particle.h"
#include "PhysicsEntity.h"
#include "collisionManager.h"
#include "debug.h"
#include "effectManager.h"

namespace manager {

namespace {

std::set<Particle*> particles_To_Add;
std::set<Particle*> active_Particles;
std::set<Particle*> particles_To_Remove;
std::set<PhysicsEntity*> physics_To_Add;
std::set<PhysicsEntity*> active_Physics;
std::set<PhysicsEntity*> physics_To_Remove;
Mutex muSetPart;
Mutex muSetPhys;

// The starting world is added before init creates the locks, while no other
// thread uses the manager; from init on every insertion holds the lock.
template <typename T>
void insertGuarded(Mutex& mutex, std::set<T*>& pending, T* entity)
{
    if (!mutex.IsValid()) {
        pending.insert(entity);
        return;
    }
    Autolock lock(mutex);
    pending.insert(entity);
}

template <typename T>
void merge(Mutex& mutex, std::set<T*>& toAdd, std::set<T*>& active, std::set<T*>& toRemove)
{
    Autolock lock(mutex);
    active.insert(toAdd.begin(), toAdd.end());
    toAdd.clear();
    // Compares pointer values only: the entities may already be deleted.
    for (T* entity : toRemove)
        active.erase(entity);
    toRemove.clear();
}

void addOrRemoveParticles()
{
    merge(muSetPart, particles_To_Add, active_Particles, particles_To_Remove);
}

void addOrRemovePhysics()
{
    merge(muSetPhys, physics_To_Add, active_Physics, physics_To_Remove);
}

}  // namespace

void init()
{
    muSetPart.init();
    muSetPhys.init();
    collision::init();
}

void clean()
{
    collision::clean();
    muSetPhys.clean();
    muSetPart.clean();
}

void add(Entity* entity)
{
    DASSERT(entity != nullptr);
    if (Particle* particle = dynamic_cast<Particle*>(entity)) {
        insertGuarded(muSetPart, particles_To_Add, particle);
        return;
    }
    if (PhysicsEntity* body = dynamic_cast<PhysicsEntity*>(entity)) {
        insertGuarded(muSetPhys, physics_To_Add, body);
        return;
    }
    DPF(0, "ENTITY TYPE NOT SUPPORTED BY addEntity()!!");
}

void remove(Entity* entity)
{
    DASSERT(entity != nullptr);
    {
        Autolock lock(muSetPart);
        if (Particle* particle = dynamic_cast<Particle*>(entity)) {
            particles_To_Remove.insert(particle);
            return;
        }
    }
    {
        Autolock lock(muSetPhys);
        if (PhysicsEntity* body = dynamic_cast<PhysicsEntity*>(entity)) {
            physics_To_Remove.insert(body);
            return;
        }
    }
    DPF(0, "ENTITY TYPE NOT SUPPORTED BY deleteEntity()!!");
}

void update(float dt)
{
    effect::update(dt);
    {
        Autolock lock(muSetPart);
        addOrRemoveParticles();
        for (Particle* particle : active_Particles)
            particle->update(dt);
    }
    {
        Autolock lock(muSetPhys);
        addOrRemovePhysics();
        collision::update(active_Physics);
        for (PhysicsEntity* body : active_Physics)
            body->update(dt);
    }
}

void draw()
{
    {
        Autolock lock(muSetPart);
        addOrRemoveParticles();
        for (Particle const* particle : active_Particles)
            particle->draw();
    }
    {
        Autolock lock(muSetPhys);
        addOrRemovePhysics();
        for (PhysicsEntity const* body : active_Physics)
            body->draw();
    }
}

void handleInput()
{
    effect::handleInput();
}

}  // namespace manager
