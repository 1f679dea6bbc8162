#include "session.h"

#include <atomic>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <iostream>
#include <vector>

#include "config.h"
#include "debug.h"
#include "entityManager.h"
#include "errorLine.h"
#include "game.h"
#include "history.h"
#include "inputManager.h"
#include "keys.h"
#include "liveStats.h"
#include "recordFormat.h"
#include "recordSink.h"
#include "replay.h"
#include "scene.h"
#include "sceneFiles.h"
#include "ticks.h"
#include "world.h"

namespace session {

namespace {

std::uint32_t s_uTicks = 0;
int s_iHistoryMiB = kDefaultHistoryMiB;

// Recording: where to, the bindings in the order of the header, and the
// bytes of each record.
recording::Sink* s_pSink = nullptr;
std::vector<SDLKey const*> s_recorded_Bindings;
recording::Encoder s_encoder;

// A tick's input as a recording keeps it: the status of each recorded binding.
recording::Input recorded(input::Frame const& in)
{
    recording::Input kept;
    kept.pointer = in.pointer;
    kept.closed = in.closed;
    for (SDLKey const* binding : s_recorded_Bindings)
        kept.statuses.push_back(input::statusIn(in, *binding));
    return kept;
}

void finishRecording()
{
    if (s_pSink == nullptr)
        return;
    s_pSink->write(s_encoder.end(s_uTicks, manager::worldHash()));
    s_pSink->close();
    s_pSink = nullptr;
}

// Where each tick's input comes from and what follows each tick, chosen once
// at start.
struct Source {
    // The bindings in force, and what a recording starts with.
    void (*begin)();
    // This tick's input, after `ticks` ticks; false when there is none.
    bool (*take)(std::uint32_t ticks, input::Frame& in);
    // After the tick, `ticks` in all: false when the run ends with it.
    bool (*after)(std::uint32_t ticks);
    // After the last tick: the exit status.
    int (*end)(std::uint32_t ticks);
    // A replay repeats the world, not what the session wrote.
    bool saves;
};

bool noEnd(std::uint32_t)
{
    return true;
}

int statusZero(std::uint32_t)
{
    return 0;
}

bool fromPlatform(std::uint32_t, input::Frame& in)
{
    in = input::fromPlatform();
    return true;
}

// A recording starts with the bindings in force, in the order of their names.
void beginRecording()
{
    cfg::init();
    s_recorded_Bindings.clear();
    std::vector<recording::Binding> bindings;
    for (auto const& binding : key::sdlMap) {
        bindings.push_back({binding.first, *binding.second});
        s_recorded_Bindings.push_back(binding.second);
    }
    s_pSink->write(s_encoder.header(bindings, world::given() ? scene::write(*world::given()) : std::string(),
                                    static_cast<std::uint32_t>(s_iHistoryMiB)));
}

// While a recorded tick takes the platform's events, before it records them.
std::atomic<bool> s_bTakingInput{false};

bool recordFromPlatform(std::uint32_t ticks, input::Frame& in)
{
    s_bTakingInput.store(true);
    fromPlatform(ticks, in);
    s_bTakingInput.store(false);
    s_pSink->write(s_encoder.input(recorded(in)));
    return true;
}

// A hash every 100 ticks; the recording finished, and the run ended, when
// the sink asks.
bool checkRecording(std::uint32_t ticks)
{
    if (ticks % recording::kTicksPerCheck == 0)
        s_pSink->write(s_encoder.check(ticks, manager::worldHash()));
    if (!s_pSink->endAsked())
        return true;
    finishRecording();
    return false;
}

int endRecording(std::uint32_t)
{
    finishRecording();
    return 0;
}

// A headless run takes no input and reads no key file.
void noBindings() {}

bool noInput(std::uint32_t, input::Frame& in)
{
    in = input::Frame();
    return true;
}

const Source kLive = {cfg::init, fromPlatform, noEnd, statusZero, true};
const Source kRecorded = {beginRecording, recordFromPlatform, checkRecording, endRecording, true};
const Source kReplayed = {replay::useBindings, replay::next, replay::afterTick, replay::conclude, false};
const Source kHeadless = {noBindings, noInput, noEnd, statusZero, true};
Source const* s_pSource = &kLive;

// The save key: the world as a new saved scene, and a line saying where.
void saveWorld()
{
    std::string path;
    std::string error;
    if (sceneFiles::save(scene::write(worldScene()), path, error))
        DPF(0, ("saved: " + path).c_str());
    else
        errorLine::print(error);
}

void announce(bool on, const char* line)
{
    if (on)
        DPF(0, line);
}

}  // namespace

void recordInto(recording::Sink& sink)
{
    s_pSink = &sink;
    s_pSource = &kRecorded;
}

bool openReplay(std::string const& path, std::string& error)
{
    if (!replay::open(path, error))
        return false;
    s_pSource = &kReplayed;
    s_iHistoryMiB = static_cast<int>(replay::historyMiB());
    if (replay::sceneText().empty())
        return true;
    scene::Scene start;
    if (!scene::parse(replay::sceneText(), start, error)) {
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

void useHistory(int mebibytes)
{
    s_iHistoryMiB = mebibytes;
}

void useScene(scene::Scene const& scene)
{
    world::startFrom(scene);
}

void start(bool announceLines)
{
    s_uTicks = 0;
    game::init();
    world::build();
    announce(announceLines, "Game initialized");
    input::init();
    announce(announceLines, "Input initialized");
    s_pSource->begin();
    announce(announceLines, "Configs initialized");
    // A headless run takes no input, so it never rewinds.
    const bool input = s_pSource != &kHeadless;
    history::start(input ? static_cast<std::size_t>(s_iHistoryMiB) << 20 : 0, stepWorld);
    cfg::setRewindable(history::kept());
}

bool takingInput()
{
    return s_bTakingInput.load();
}

void finishRecordingNow()
{
    finishRecording();
}

Ran tick()
{
    input::Frame in;
    if (!s_pSource->take(s_uTicks, in))
        return Ran::none;
    step(in);
    bool last = cfg::endGame();
    if (cfg::saveAsked() && s_pSource->saves)
        saveWorld();
    if (!s_pSource->after(++s_uTicks))
        last = true;
    return last ? Ran::lastTick : Ran::tick;
}

void step(input::Frame const& in)
{
    input::apply(in);
    cfg::handleInput();
    const bool rewinding = cfg::rewinding();
    if (!rewinding)
        game::handleInput();
    const int stepStart = tickCountMicro();
    // Paused, rewinding holds still but for the step key.
    if (rewinding)
        history::rewind(!cfg::paused() || cfg::stepWorld());
    else
        game::update(game::kStep);
    liveStats::endTick(tickDifference(tickCountMicro(), stepStart));
    if (!rewinding)
        history::ranForward(in);
    liveStats::setTicksBack(history::ticksBack());
}

void stepWorld(input::Frame const& in)
{
    input::apply(in);
    cfg::handleWorldInput();
    game::handleInput();
    game::update(game::kStep);
}

int stop()
{
    const int status = s_pSource->end(s_uTicks);
    history::clean();
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
    s_pSource = &kHeadless;
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
        errorLine::print(error);
        status = 1;
    }
    stop();
    debug::clean();
    return status;
}

}  // namespace session
