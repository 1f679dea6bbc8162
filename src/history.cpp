#include "history.h"

#include <algorithm>
#include <cstdio>
#include <deque>
#include <vector>

#include "config.h"
#include "debug.h"
#include "game.h"
#include "worldState.h"

namespace history {

namespace {

struct Kept {
    long tick;
    worldState::Snapshot snapshot;
    std::size_t bytes;
};

// A tick's input as the cap counts it: its size in a 64-bit desktop build,
// on every platform (see worldState::bytes).
const std::size_t kInputBytes = 1308;

std::size_t s_uCap = 0;
Step s_step = nullptr;
// In tick order. s_inputs[i] is the input of the tick that left tick
// s_lFirst + i, the oldest snapshot's tick.
std::deque<Kept> s_snapshots;
std::deque<input::Frame> s_inputs;
long s_lFirst = 0;
long s_lNewest = 0;
long s_lAt = 0;
std::size_t s_uBytes = 0;
// While rewinding: the ticks after a snapshot, run again once on the way
// into its stretch, so that going further back builds each one alone.
std::vector<worldState::Snapshot> s_cache;
long s_lCacheFirst = 0;
// Rewinding since the last tick forwards: the newest tick, where it began,
// and what a person changed meanwhile in the state the world stands in:
// the pause, and the pointer the next tick finds the presses against.
bool s_bRewound = false;
worldState::Snapshot s_newest;
bool s_bPausedSince = false;
input::Pointer s_pointerSince;
bool s_bTold = false;

void keep(long tick, worldState::Snapshot snapshot)
{
    const std::size_t size = worldState::bytes(snapshot);
    s_snapshots.push_back({tick, std::move(snapshot), size});
    s_uBytes += size;
}

void dropOldest()
{
    s_uBytes -= s_snapshots.front().bytes;
    s_snapshots.pop_front();
    const long next = s_snapshots.empty() ? s_lNewest : s_snapshots.front().tick;
    s_uBytes -= static_cast<std::size_t>(next - s_lFirst) * kInputBytes;
    s_inputs.erase(s_inputs.begin(), s_inputs.begin() + (next - s_lFirst));
    s_lFirst = next;
}

// The oldest history goes first, past the cap or the reach.
void evict()
{
    while (!s_snapshots.empty() && (s_uBytes > s_uCap || s_lNewest - s_snapshots.front().tick > kMostTicks))
        dropOldest();
}

// The state of a tick, as kept or as rewinding last ran it again; null when
// it is neither.
worldState::Snapshot const* storedAt(long tick)
{
    if (tick == s_lNewest)
        return s_bRewound ? &s_newest : nullptr;
    if (tick >= s_lCacheFirst && tick - s_lCacheFirst < static_cast<long>(s_cache.size()))
        return &s_cache[static_cast<std::size_t>(tick - s_lCacheFirst)];
    const auto at = std::lower_bound(s_snapshots.begin(), s_snapshots.end(), tick,
                                     [](Kept const& kept, long wanted) { return kept.tick < wanted; });
    return at != s_snapshots.end() && at->tick == tick ? &at->snapshot : nullptr;
}

// Rewound to s_lAt and going on: the ticks after it are gone, and the
// state the rewinding left there is its snapshot.
void branch()
{
    worldState::Snapshot here = *storedAt(s_lAt);
    here.paused = s_bPausedSince;
    here.pointer = s_pointerSince;
    s_bRewound = false;
    s_newest = worldState::Snapshot();
    s_cache.clear();
    while (!s_snapshots.empty() && s_snapshots.back().tick >= s_lAt) {
        s_uBytes -= s_snapshots.back().bytes;
        s_snapshots.pop_back();
    }
    if (s_snapshots.empty()) {
        s_uBytes -= s_inputs.size() * kInputBytes;
        s_inputs.clear();
        s_lFirst = s_lAt;
    } else {
        const auto kept = static_cast<std::size_t>(s_lAt - s_lFirst);
        s_uBytes -= (s_inputs.size() - kept) * kInputBytes;
        s_inputs.resize(kept);
    }
    s_lNewest = s_lAt;
    keep(s_lAt, std::move(here));
}

// The person's pause stays as it is whatever tick the world shows.
void restoreKeepingPause(worldState::Snapshot const& snapshot)
{
    const bool paused = cfg::paused();
    worldState::restore(snapshot);
    cfg::setPaused(paused);
}

// The world as tick `target` left it: as kept, or as run again on the way
// into this stretch, or from the snapshot before it and the ticks after,
// each kept until rewinding leaves the stretch.
void show(long target)
{
    if (worldState::Snapshot const* stored = storedAt(target)) {
        restoreKeepingPause(*stored);
        return;
    }
    const auto after = std::upper_bound(s_snapshots.begin(), s_snapshots.end(), target,
                                        [](long tick, Kept const& kept) { return tick < kept.tick; });
    Kept const& base = *(after - 1);
    // The ticks run again as they ran: their own pause, their own pointer.
    const input::Applied live = input::applied();
    const bool paused = cfg::paused();
    worldState::restore(base.snapshot);
    input::Applied before;
    before.frame.pointer = base.snapshot.pointer;
    input::setApplied(before);
    s_cache.clear();
    s_lCacheFirst = base.tick + 1;
    {
        debug::Muted muted;
        for (long tick = base.tick; tick < target; ++tick) {
            s_step(s_inputs[static_cast<std::size_t>(tick - s_lFirst)]);
            s_cache.push_back(worldState::capture());
        }
    }
    input::setApplied(live);
    cfg::setPaused(paused);
}

void tellOnce(const char* line)
{
    if (!s_bTold)
        DPF(0, line);
    s_bTold = true;
}

}  // namespace

void start(std::size_t capBytes, Step step)
{
    clean();
    s_uCap = capBytes;
    s_step = step;
    if (kept())
        keep(0, worldState::capture());
    evict();
}

void clean()
{
    s_snapshots.clear();
    s_inputs.clear();
    s_cache.clear();
    s_newest = worldState::Snapshot();
    s_lFirst = s_lNewest = s_lAt = 0;
    s_uBytes = 0;
    s_bRewound = false;
    s_bTold = false;
}

bool kept()
{
    return s_uCap > 0;
}

void ranForward(input::Frame const& in)
{
    if (!kept())
        return;
    if (s_bRewound)
        branch();
    s_bTold = false;
    ++s_lAt;
    s_lNewest = s_lAt;
    if (s_snapshots.empty()) {
        // The world outgrew the cap: the history starts again once it fits.
        s_lFirst = s_lAt;
        if (s_lAt % kTicksPerSnapshot == 0)
            keep(s_lAt, worldState::capture());
    } else {
        s_inputs.push_back(in);
        s_uBytes += kInputBytes;
        if (s_lAt - s_snapshots.back().tick >= kTicksPerSnapshot)
            keep(s_lAt, worldState::capture());
    }
    evict();
}

void rewind(bool back)
{
    if (!s_bRewound)
        s_newest = worldState::capture();
    s_bRewound = true;
    if (back && (s_snapshots.empty() || s_lAt <= s_snapshots.front().tick)) {
        char line[96];
        if (s_snapshots.empty())
            std::snprintf(line, sizeof line, "rewind: nothing kept: the world is larger than --history allows");
        else
            std::snprintf(line, sizeof line, "rewind: the oldest tick kept, %.2f s back", ticksBack() * game::kStep / 1000.0);
        tellOnce(line);
    } else if (back) {
        s_bTold = false;
        show(s_lAt - 1);
        --s_lAt;
    }
    s_bPausedSince = cfg::paused();
    s_pointerSince = input::applied().frame.pointer;
}

long ticksBack()
{
    return s_lNewest - s_lAt;
}

long reach()
{
    return s_snapshots.empty() ? 0 : s_lNewest - s_snapshots.front().tick;
}

std::size_t bytes()
{
    return s_uBytes;
}

}  // namespace history
