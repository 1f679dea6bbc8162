#include "session.h"

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <iostream>
#include <utility>
#include <vector>

#include "config.h"
#include "debug.h"
#include "entityManager.h"
#include "game.h"
#include "inputManager.h"
#include "keys.h"
#include "recording.h"

namespace session {

namespace {

enum class Mode { live, record, replay };

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

void printVerdict()
{
    (s_bDamaged ? std::cerr : std::cout) << s_verdict << std::endl;
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
    return true;
}

bool replaying()
{
    return s_mode == Mode::replay;
}

bool useRecordedBindings(std::string& error)
{
    key::init();
    for (auto& binding : key::sdlMap)
        *binding.second = key::unbound;
    for (recording::Binding const& recorded : s_reader.bindings()) {
        const auto binding = key::sdlMap.find(recorded.name);
        if (binding == key::sdlMap.end()) {
            error = s_path + " was recorded with a binding this ballpit does not have: " + recorded.name;
            return false;
        }
        *binding->second = recorded.code;
    }
    return true;
}

void beginRecording()
{
    if (s_mode != Mode::record)
        return;
    std::vector<recording::Binding> bindings;
    for (auto const& binding : key::sdlMap) {
        bindings.push_back({binding.first, *binding.second});
        s_recorded_Bindings.push_back(binding.second);
    }
    recording::begin(bindings);
}

bool takeInput()
{
    if (s_mode != Mode::replay) {
        input::update();
        if (s_mode == Mode::record) {
            recording::Tick tick;
            tick.pointer = input::pointer();
            tick.closed = input::closed();
            for (SDLKey const* binding : s_recorded_Bindings)
                tick.statuses.push_back(input::status(*binding));
            recording::tick(tick);
        }
        return true;
    }
    if (s_bOver)
        return false;
    if (input::drainStops(key::end)) {
        conclude(kIdentical, "replay: stopped after tick " + std::to_string(s_uTicks));
        return false;
    }
    if (!s_bHaveNext && !readToNextTick())
        return false;
    std::vector<std::pair<SDLKey, input::KeyStatus>> statuses;
    std::vector<recording::Binding> const& bindings = s_reader.bindings();
    for (std::size_t i = 0; i < bindings.size(); ++i)
        statuses.emplace_back(bindings[i].code, s_next.statuses[i]);
    input::replay(s_next.pointer, statuses, s_next.closed);
    s_bHaveNext = false;
    return true;
}

bool endTick()
{
    ++s_uTicks;
    if (s_mode == Mode::record && s_uTicks % recording::kTicksPerCheck == 0)
        recording::check(s_uTicks, manager::worldHash());
    recording::endIfAsked(s_uTicks, manager::worldHash);
    if (s_mode == Mode::replay)
        return readToNextTick();
    return true;
}

int finish()
{
    if (s_mode == Mode::record)
        recording::finish(s_uTicks, manager::worldHash());
    if (s_mode != Mode::replay)
        return 0;
    printVerdict();
    return s_iStatus;
}

int replayHeadless()
{
    debug::init();
    game::init();
    input::init();
    std::string error;
    if (!useRecordedBindings(error)) {
        std::cerr << "ballpit: " << error << std::endl;
        return kBadRecording;
    }
    const auto start = std::chrono::steady_clock::now();
    while (takeInput()) {
        cfg::handleInput();
        game::handleInput();
        game::update(game::kStep);
        if (!endTick())
            break;
    }
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    const int status = finish();
    char figures[160];
    std::snprintf(figures, sizeof figures, "replay: final hash %016llx; %u ticks in %.3f s, %.0f ticks a second",
                  static_cast<unsigned long long>(manager::worldHash()), s_uTicks, seconds,
                  seconds > 0.0 ? s_uTicks / seconds : 0.0);
    std::cout << figures << std::endl;
    cfg::clean();
    input::clean();
    game::clean();
    debug::clean();
    return status;
}

}  // namespace session
