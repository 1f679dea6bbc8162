#include "session.h"

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <iostream>
#include <vector>

#include "config.h"
#include "debug.h"
#include "entityManager.h"
#include "game.h"
#include "inputManager.h"
#include "keys.h"
#include "liveStats.h"
#include "recording.h"
#include "scene.h"
#include "sceneFiles.h"
#include "ticks.h"
#include "world.h"

namespace session {

namespace {

// Still: a headless run, whose ticks take no input.
enum class Mode { live, record, replay, still };

Mode s_mode = Mode::live;
std::string s_path;
std::uint32_t s_uTicks = 0;

// Recording: the bindings in the order of the header.
std::vector<SDLKey const*> s_recorded_Bindings;

// Replaying: the file, the next tick's input once read, and the verdict.
recording::Reader s_reader;
recording::Tick s_next;
bool s_bHaveNext = false;
bool s_bOver = false;
int s_iStatus = kIdentical;
std::string s_verdict;
// A damaged file is an error, on standard error; every other verdict is the
// replay's result.
bool s_bDamaged = false;

void conclude(int status, std::string const& verdict, bool damaged = false)
{
    s_bOver = true;
    s_iStatus = status;
    s_verdict = verdict;
    s_bDamaged = damaged;
}

// Reads on to the next tick of the replay, checking the world against every
// hash on the way; false, with the verdict, once there is none.
bool readToNextTick()
{
    for (;;) {
        std::uint32_t ticks = 0;
        std::uint64_t hash = 0;
        std::string error;
        switch (s_reader.next(s_next, ticks, hash, error)) {
        case recording::Reader::Next::tick:
            s_bHaveNext = true;
            return true;
        case recording::Reader::Next::check:
            if (hash != manager::worldHash()) {
                conclude(kDiverged, "replay: diverged at tick " + std::to_string(ticks));
                return false;
            }
            break;
        case recording::Reader::Next::end:
            if (hash != manager::worldHash())
                conclude(kDiverged, "replay: diverged at tick " + std::to_string(ticks));
            else
                conclude(kIdentical, "replay: " + std::to_string(ticks) + " ticks, identical");
            return false;
        case recording::Reader::Next::truncated:
            conclude(kBadRecording, "replay: truncated after tick " + std::to_string(s_uTicks));
            return false;
        case recording::Reader::Next::corrupted:
            conclude(kBadRecording, "ballpit: " + s_path + " is corrupted: " + error, true);
            return false;
        }
    }
}

void concludeStopped()
{
    conclude(kIdentical, "replay: stopped after tick " + std::to_string(s_uTicks));
}

// A replay reads no key file: the recorded bindings are the ones in force,
// and a binding the recording does not name has no key.
void useRecordedBindings()
{
    key::init();
    for (auto& binding : key::sdlMap)
        *binding.second = key::unbound;
    for (recording::Binding const& recorded : s_reader.bindings()) {
        const auto binding = key::sdlMap.find(recorded.name);
        if (binding == key::sdlMap.end()) {
            std::cerr << "ballpit: " << s_path << " was recorded with a binding this ballpit does not have: "
                      << recorded.name << std::endl;
            debug::quit(kBadRecording);
        }
        *binding->second = recorded.code;
    }
}

// A recording starts with the bindings in force, in the order of their names.
void beginRecording()
{
    std::vector<recording::Binding> bindings;
    for (auto const& binding : key::sdlMap) {
        bindings.push_back({binding.first, *binding.second});
        s_recorded_Bindings.push_back(binding.second);
    }
    recording::begin(bindings, world::given() ? scene::write(*world::given()) : std::string());
}

// A tick's input as a recording keeps it: the status of each recorded binding.
recording::Tick recorded(input::Tick const& in)
{
    recording::Tick tick;
    tick.pointer = in.pointer;
    tick.closed = in.closed;
    for (SDLKey const* binding : s_recorded_Bindings)
        tick.statuses.push_back(input::statusIn(in, *binding));
    return tick;
}

// And back: every key the recording names no binding for is idle.
input::Tick replayed(recording::Tick const& tick)
{
    input::Tick in;
    in.pointer = tick.pointer;
    in.closed = tick.closed;
    std::vector<recording::Binding> const& bindings = s_reader.bindings();
    for (std::size_t i = 0; i < bindings.size(); ++i)
        input::setStatus(in, bindings[i].code, tick.statuses[i]);
    return in;
}

// This tick's input: live (and recorded, when recording) or replayed. False
// when there is none: the replay reached its last tick, found a fault, or a
// person stopped it with the end key or by closing the window.
bool takeInput(input::Tick& in)
{
    if (s_mode == Mode::still) {
        in = input::Tick();
        return true;
    }
    if (s_mode != Mode::replay) {
        in = input::fromPlatform();
        if (s_mode == Mode::record)
            recording::tick(recorded(in));
        return true;
    }
    if (s_bOver)
        return false;
    if (input::drainStops(key::end)) {
        concludeStopped();
        return false;
    }
    if (!s_bHaveNext && !readToNextTick())
        return false;
    in = replayed(s_next);
    s_bHaveNext = false;
    return true;
}

// After every tick: the checks of a recording or a replay. False when a
// replay must stop: it diverged or reached its end.
bool checkTick()
{
    ++s_uTicks;
    if (s_mode == Mode::record && s_uTicks % recording::kTicksPerCheck == 0)
        recording::check(s_uTicks, manager::worldHash());
    recording::endIfAsked(s_uTicks, manager::worldHash);
    if (s_mode == Mode::replay)
        return readToNextTick();
    return true;
}

// The save key: the world as a new saved scene, and a line saying where.
void saveWorld()
{
    std::string path;
    std::string error;
    if (sceneFiles::save(scene::write(worldScene()), path, error))
        DPF(0, ("saved: " + path).c_str());
    else
        std::cerr << "ballpit: " << error << std::endl;
}

void announce(bool on, const char* line)
{
    if (on)
        DPF(0, line);
}

}  // namespace

bool openRecording(std::string const& path, std::string& error)
{
    if (!recording::open(path, error))
        return false;
    s_mode = Mode::record;
    s_path = path;
    return true;
}

bool openReplay(std::string const& path, std::string& error)
{
    if (!s_reader.open(path, error))
        return false;
    s_mode = Mode::replay;
    s_path = path;
    if (s_reader.scene().empty())
        return true;
    scene::Scene start;
    if (!scene::parse(s_reader.scene(), start, error)) {
        error = path + " starts from a scene this ballpit does not read: line " + error;
        return false;
    }
    useScene(start);
    return true;
}

scene::Scene worldScene()
{
    return world::capture();
}

void useScene(scene::Scene const& scene)
{
    world::startFrom(scene);
}

void start(bool announceLines)
{
    game::init();
    world::build();
    announce(announceLines, "Game initialized");
    input::init();
    announce(announceLines, "Input initialized");
    // A headless run takes no input and reads no key file.
    if (s_mode == Mode::replay)
        useRecordedBindings();
    else if (s_mode != Mode::still)
        cfg::init();
    announce(announceLines, "Configs initialized");
    if (s_mode == Mode::record)
        beginRecording();
}

Ran tick()
{
    input::Tick in;
    if (!takeInput(in))
        return Ran::none;
    input::apply(in);
    cfg::handleInput();
    game::handleInput();
    bool last = cfg::endGame();
    const int stepStart = tickCountMicro();
    game::update(game::kStep);
    liveStats::endTick(tickDifference(tickCountMicro(), stepStart));
    // A replay repeats the world, not what the session wrote.
    if (cfg::saveWorld() && s_mode != Mode::replay)
        saveWorld();
    if (!checkTick())
        last = true;
    return last ? Ran::lastTick : Ran::tick;
}

int stop()
{
    int status = 0;
    if (s_mode == Mode::record)
        recording::finish(s_uTicks, manager::worldHash());
    if (s_mode == Mode::replay) {
        // The recorded end key ended the run before the recording did.
        if (!s_bOver)
            concludeStopped();
        (s_bDamaged ? std::cerr : std::cout) << s_verdict << std::endl;
        status = s_iStatus;
    }
    cfg::clean();
    input::clean();
    game::clean();
    return status;
}

int replayHeadless()
{
    debug::init();
    start(false);
    const auto begun = std::chrono::steady_clock::now();
    while (tick() == Ran::tick) {
    }
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - begun).count();
    const std::uint64_t hash = manager::worldHash();
    const int status = stop();
    char figures[160];
    std::snprintf(figures, sizeof figures, "replay: final hash %016llx; %u ticks in %.3f s, %.0f ticks a second",
                  static_cast<unsigned long long>(hash), s_uTicks, seconds, seconds > 0.0 ? s_uTicks / seconds : 0.0);
    std::cout << figures << std::endl;
    debug::clean();
    return status;
}

int runHeadless(long ticks, std::string const& saveFile)
{
    s_mode = Mode::still;
    debug::init();
    start(false);
    for (long t = 0; t < ticks; ++t)
        tick();
    char line[80];
    std::snprintf(line, sizeof line, "world: %ld ticks, hash %016llx", ticks,
                  static_cast<unsigned long long>(manager::worldHash()));
    std::cout << line << std::endl;
    int status = 0;
    std::string error;
    if (!saveFile.empty() && !sceneFiles::write(saveFile, scene::write(worldScene()), error)) {
        std::cerr << "ballpit: " << error << std::endl;
        status = 1;
    }
    stop();
    debug::clean();
    return status;
}

}  // namespace session
