#include "replay.h"

#include <algorithm>
#include <iostream>
#include <vector>

#include "entityManager.h"
#include "errorLine.h"
#include "keys.h"
#include "recordReader.h"

namespace replay {

namespace {

std::string s_path;
// The file, the next tick's input once read, and the verdict.
recording::Reader s_reader;
recording::Input s_next;
bool s_bHaveNext = false;
bool s_bOver = false;
int s_iStatus = kIdentical;
std::string s_verdict;
// A damaged file is an error, on standard error; every other verdict is the
// replay's result.
bool s_bDamaged = false;

void given(int status, std::string const& verdict, bool damaged = false)
{
    s_bOver = true;
    s_iStatus = status;
    s_verdict = verdict;
    s_bDamaged = damaged;
}

void stopped(std::uint32_t ticks)
{
    given(kIdentical, "replay: stopped after tick " + std::to_string(ticks));
}

// Reads on to the next tick of the replay, checking the world against every
// hash on the way; false, with the verdict, once there is none.
bool readToNextTick(std::uint32_t ticksRun)
{
    for (;;) {
        std::uint32_t ticks = 0;
        std::uint64_t hash = 0;
        std::string error;
        switch (s_reader.next(s_next, ticks, hash, error)) {
        case recording::Reader::Next::input:
            s_bHaveNext = true;
            return true;
        case recording::Reader::Next::check:
            if (hash != manager::worldHash()) {
                given(kDiverged, "replay: diverged at tick " + std::to_string(ticks));
                return false;
            }
            break;
        case recording::Reader::Next::end:
            if (hash != manager::worldHash())
                given(kDiverged, "replay: diverged at tick " + std::to_string(ticks));
            else
                given(kIdentical, "replay: " + std::to_string(ticks) + " ticks, identical");
            return false;
        case recording::Reader::Next::truncated:
            given(kBadRecording, "replay: truncated after tick " + std::to_string(ticksRun));
            return false;
        case recording::Reader::Next::corrupted:
            given(kBadRecording, errorLine::text(s_path + " is corrupted: " + error), true);
            return false;
        }
    }
}

// A recorded input as this tick's: every key the recording names no
// binding for is idle.
input::Frame replayed(recording::Input const& recorded)
{
    input::Frame in;
    in.pointer = recorded.pointer;
    in.closed = recorded.closed;
    std::vector<recording::Binding> const& bindings = s_reader.bindings();
    for (std::size_t i = 0; i < bindings.size(); ++i)
        input::setStatus(in, bindings[i].code, recorded.statuses[i]);
    return in;
}

}  // namespace

bool open(std::string const& path, std::string& error)
{
    if (!s_reader.open(path, error))
        return false;
    s_path = path;
    for (recording::Binding const& recorded : s_reader.bindings()) {
        const auto named = [&recorded](key::Binding const& binding) { return recorded.name == binding.name; };
        if (std::none_of(key::kBindings.begin(), key::kBindings.end(), named)) {
            error = path + " was recorded with a binding this ballpit does not have: " + recorded.name;
            return false;
        }
    }
    return true;
}

std::string const& sceneText()
{
    return s_reader.scene();
}

std::uint32_t historyMiB()
{
    return s_reader.historyMiB();
}

void useBindings()
{
    key::init();
    for (auto& binding : key::sdlMap)
        *binding.second = key::unbound;
    for (recording::Binding const& recorded : s_reader.bindings())
        *key::sdlMap.at(recorded.name) = recorded.code;
}

bool next(std::uint32_t ticks, input::Frame& in)
{
    if (s_bOver)
        return false;
    if (input::drainStops(key::end)) {
        stopped(ticks);
        return false;
    }
    if (!s_bHaveNext && !readToNextTick(ticks))
        return false;
    in = replayed(s_next);
    s_bHaveNext = false;
    return true;
}

bool afterTick(std::uint32_t ticks)
{
    return readToNextTick(ticks);
}

int conclude(std::uint32_t ticks)
{
    // The recorded end key ended the run before the recording did.
    if (!s_bOver)
        stopped(ticks);
    (s_bDamaged ? std::cerr : std::cout) << s_verdict << std::endl;
    return s_iStatus;
}

}  // namespace replay
