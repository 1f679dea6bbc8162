#include "entityManager.h"

#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <functional>
#include <iterator>
#include <mutex>
#include <vector>

#include "Autolock.h"
#include "Ball.h"
#include "checksum.h"
#include "Mutex.h"
#include "Particle.h"
#include "PhysicsEntity.h"
#include "Polygon.h"
#include "collisionManager.h"
#include "debug.h"
#include "effectManager.h"

namespace manager {

namespace {

// The sets are vectors: the pending ones in call order, possibly with
// repeats; the live ones in ascending address order without repeats, which
// is the order of every pass. Cleared vectors keep their capacity, so a
// steady world allocates nothing from tick to tick.
std::vector<Particle*> particles_To_Add;
std::vector<Particle*> active_Particles;
std::vector<Particle*> particles_To_Remove;
std::vector<PhysicsEntity*> physics_To_Add;
std::vector<PhysicsEntity*> active_Physics;
std::vector<PhysicsEntity*> physics_To_Remove;
// Where a merge builds the next live set before swapping it in.
std::vector<Particle*> s_nextParticles;
std::vector<PhysicsEntity*> s_nextPhysics;
Mutex muSetPart;
Mutex muSetPhys;

// Once the world is large the update thread holds muSetPhys for most of every
// tick, and a lock gives no turn to a waiter: the draw thread, woken when the
// lock comes free, would find it taken again tick after tick and draw no
// frame. So a draw thread waiting for the lock goes first at the start of the
// next physics pass; the update thread waits for the frame's copy only, never
// for its drawing.
std::atomic<bool> s_bFrameWaiting{false};
std::mutex s_turnMutex;
std::condition_variable s_turn;

void yieldToFrame()
{
    std::unique_lock<std::mutex> turn(s_turnMutex);
    s_turn.wait(turn, [] { return !s_bFrameWaiting.load(); });
}

void frameHasLock()
{
    {
        std::lock_guard<std::mutex> turn(s_turnMutex);
        s_bFrameWaiting.store(false);
    }
    s_turn.notify_one();
}

// A frame of the physics family, copied under muSetPhys and drawn after it
// is released, so that the update thread waits for the copying only and not
// for the drawing. In address order: entry i is ball or polygon `index` of
// the copies. Used by the draw thread alone; the copies are reused.
struct FrameEntry {
    bool ball;
    std::size_t index;
};
std::vector<FrameEntry> s_frame;
std::vector<Ball> s_frameBalls;
std::vector<Polygon> s_framePolygons;

// The last call for an entity wins: the creator deletes an entity right after
// removing it, and the allocator may give its address to the next one before
// a merge; the old removal must not drop that new entity.
template <typename T>
void queue(std::vector<T*>& pending, std::vector<T*>& cancelled, T* entity)
{
    cancelled.erase(std::remove(cancelled.begin(), cancelled.end(), entity), cancelled.end());
    pending.push_back(entity);
}

// The starting world is added before init creates the locks, while no other
// thread uses the manager; from init on every insertion holds the lock.
template <typename T>
void queueAddition(Mutex& mutex, std::vector<T*>& toAdd, std::vector<T*>& toRemove, T* entity)
{
    if (!mutex.IsValid()) {
        queue(toAdd, toRemove, entity);
        return;
    }
    Autolock lock(mutex);
    queue(toAdd, toRemove, entity);
}

template <typename T>
void sortUnique(std::vector<T*>& pointers)
{
    std::sort(pointers.begin(), pointers.end(), std::less<T*>());
    pointers.erase(std::unique(pointers.begin(), pointers.end()), pointers.end());
}

// Additions first, then removals, as sets of pointer values.
template <typename T>
void merge(Mutex& mutex, std::vector<T*>& toAdd, std::vector<T*>& active, std::vector<T*>& toRemove,
           std::vector<T*>& next)
{
    Autolock lock(mutex);
    if (!toAdd.empty()) {
        sortUnique(toAdd);
        next.clear();
        std::set_union(active.begin(), active.end(), toAdd.begin(), toAdd.end(), std::back_inserter(next),
                       std::less<T*>());
        active.swap(next);
        toAdd.clear();
    }
    if (!toRemove.empty()) {
        sortUnique(toRemove);
        // Compares pointer values only: the entities may already be deleted.
        const auto removed = [&toRemove](T* entity) {
            return std::binary_search(toRemove.begin(), toRemove.end(), entity, std::less<T*>());
        };
        active.erase(std::remove_if(active.begin(), active.end(), removed), active.end());
        toRemove.clear();
    }
}

void addOrRemoveParticles()
{
    merge(muSetPart, particles_To_Add, active_Particles, particles_To_Remove, s_nextParticles);
}

void addOrRemovePhysics()
{
    merge(muSetPhys, physics_To_Add, active_Physics, physics_To_Remove, s_nextPhysics);
}

// Copies the live physics family, unless a body is of a class that may draw
// itself otherwise than a ball or a polygon does; false then.
bool copyFrame()
{
    const auto copyable = [](PhysicsEntity const* body) {
        return isExactly<Ball>(*body) || isExactly<Polygon>(*body);
    };
    if (!std::all_of(active_Physics.begin(), active_Physics.end(), copyable))
        return false;
    s_frame.clear();
    s_frameBalls.clear();
    std::size_t polygons = 0;
    for (PhysicsEntity const* body : active_Physics) {
        if (isExactly<Ball>(*body)) {
            s_frame.push_back({true, s_frameBalls.size()});
            s_frameBalls.push_back(*static_cast<Ball const*>(body));
            continue;
        }
        // Assigned over an earlier copy, a polygon keeps its vertex storage.
        Polygon const& polygon = *static_cast<Polygon const*>(body);
        if (polygons < s_framePolygons.size())
            s_framePolygons[polygons] = polygon;
        else
            s_framePolygons.push_back(polygon);
        s_frame.push_back({false, polygons++});
    }
    return true;
}

void drawFrame()
{
    for (FrameEntry const& entry : s_frame) {
        if (entry.ball)
            s_frameBalls[entry.index].draw();
        else
            s_framePolygons[entry.index].draw();
    }
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
    if (entity->isParticle()) {
        queueAddition(muSetPart, particles_To_Add, particles_To_Remove, static_cast<Particle*>(entity));
        return;
    }
    if (entity->isPhysics()) {
        queueAddition(muSetPhys, physics_To_Add, physics_To_Remove, static_cast<PhysicsEntity*>(entity));
        return;
    }
    DPF(0, "ENTITY TYPE NOT SUPPORTED BY addEntity()!!");
}

void remove(Entity* entity)
{
    DASSERT(entity != nullptr);
    // The middle button holds no body that has left the world.
    effect::letGo(entity);
    {
        Autolock lock(muSetPart);
        if (entity->isParticle()) {
            queue(particles_To_Remove, particles_To_Add, static_cast<Particle*>(entity));
            return;
        }
    }
    {
        Autolock lock(muSetPhys);
        if (entity->isPhysics()) {
            queue(physics_To_Remove, physics_To_Add, static_cast<PhysicsEntity*>(entity));
            return;
        }
    }
    DPF(0, "ENTITY TYPE NOT SUPPORTED BY deleteEntity()!!");
}

// One tick of the world.
void update(float dt)
{
    // The effect manager's per-tick hook, which has nothing to do: the
    // effects act where each body integrates, at the end of this tick.
    effect::update(dt);

    // Particles: the pending changes merged, then each one stepped.
    {
        Autolock lock(muSetPart);
        addOrRemoveParticles();
        for (Particle* particle : active_Particles)
            particle->update(dt);
    }

    yieldToFrame();
    {
        Autolock lock(muSetPhys);
        // Physics merge: additions, then removals.
        addOrRemovePhysics();
        // Contacts: the responses change velocities and positions before the
        // bodies integrate.
        collision::update(active_Physics);
        // Integration: each body steps under the summed effects.
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
        s_bFrameWaiting.store(true);
        Autolock lock(muSetPhys);
        frameHasLock();
        addOrRemovePhysics();
        if (!copyFrame()) {
            for (PhysicsEntity const* body : active_Physics)
                body->draw();
            return;
        }
    }
    drawFrame();
}

void handleInput()
{
    effect::handleInput();
}

PhysicsEntity* bodyAt(Vector2 const& point)
{
    Autolock lock(muSetPhys);
    addOrRemovePhysics();
    PhysicsEntity* ball = nullptr;
    for (PhysicsEntity* body : active_Physics) {
        if (body->kind() == Entity::Kind::polygon && static_cast<Polygon const*>(body)->contains(point))
            return body;
        if (ball == nullptr && body->kind() == Entity::Kind::ball) {
            Ball const* candidate = static_cast<Ball const*>(body);
            if ((candidate->position - point).sqrLength() <= candidate->radius * candidate->radius)
                ball = body;
        }
    }
    return ball;
}

std::uint64_t worldHash()
{
    Checksum hash;
    const auto add = [&hash](Entity const* entity) {
        const auto kind = static_cast<unsigned char>(entity->kind());
        const float radius =
            entity->kind() == Entity::Kind::ball ? static_cast<Ball const*>(entity)->radius : 0.0f;
        const float values[] = {entity->position.x, entity->position.y, entity->velocity.x, entity->velocity.y,
                                radius};
        hash.addValue(kind);
        hash.addValue(values);
    };
    {
        Autolock lock(muSetPart);
        addOrRemoveParticles();
        for (Particle const* particle : active_Particles)
            add(particle);
    }
    {
        Autolock lock(muSetPhys);
        addOrRemovePhysics();
        for (PhysicsEntity const* body : active_Physics)
            add(body);
    }
    return hash.value();
}

void settle()
{
    addOrRemoveParticles();
    addOrRemovePhysics();
}

FrameHold::FrameHold()
{
    muSetPhys.Lock();
}

FrameHold::~FrameHold()
{
    muSetPhys.Unlock();
}

bool frameWaiting()
{
    return s_bFrameWaiting.load();
}

}  // namespace manager
