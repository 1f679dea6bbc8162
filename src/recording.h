#pragma once

#include <SDL.h>

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "inputManager.h"

// A session on file: what a replay needs to know at start-up, then the input
// each tick consumed, with the world's hash every 100 ticks and at the end.
//
// Format version 3; numbers are little-endian, unsigned unless said:
//   header  the 8 bytes "BALLPITR", u32 version, u8 n (1 to 32), then n
//           bindings (u8 name length 1 to 32, the name, i32 key code: a code
//           of the key table, or SDLK_LAST for none), u32 length of the
//           scene the session starts from (at most 256 MiB; 0 for the
//           starting scene), its text (scene.h), then u64 checksum
//   tick    'T', i32 pointer x, i32 pointer y, u8 flags (1 left button,
//           2 right button, 4 window closed, 8 middle button; no other
//           bits), then the n key
//           statuses in ceil(n / 4) bytes: binding i in bits 2(i mod 4) and
//           up of byte i / 4 (0 idle, 1 just pressed, 2 held, 3 just released)
//   check   'H', u32 ticks so far, u64 world hash (manager::worldHash),
//           u64 checksum; after every 100th tick
//   end     'E', the same fields, after the last tick; the last record
// Each checksum is FNV-1a over every byte since the previous checksum (from
// the start of the file for the header's), its own record's bytes before it
// included. A file without its end record was cut short. This program still
// reads versions 1 and 2: version 2 is version 3 without the scene (its
// sessions start from the starting scene), version 1 is version 2 without
// the middle button.
namespace recording {

// The header's first bytes, with no terminating zero.
const char kMagic[8] = {'B', 'A', 'L', 'L', 'P', 'I', 'T', 'R'};
const std::uint32_t kVersion = 3;
const std::uint32_t kOldestVersion = 1;
const std::uint32_t kTicksPerCheck = 100;

struct Binding {
    std::string name;
    SDLKey code;
};

struct Tick {
    input::Pointer pointer;
    bool closed = false;
    // One per binding, in the order of the header.
    std::vector<input::KeyStatus> statuses;
};

// Writing, from the update thread. The records wait in memory; a thread of
// its own writes them, and syncs them to the disk, at least every half second
// and at the end, so that no tick waits for the disk and a process killed (or
// a machine that loses power) loses at most the last half second. A write
// that fails is reported once on standard error and recording stops; the
// program goes on.
// Creates or empties the file; false, with a one-line reason, when it cannot.
bool open(std::string const& path, std::string& error);
// The header, with the bindings in force and the text of the scene the
// session starts from (empty for the starting scene); records follow.
void begin(std::vector<Binding> const& bindings, std::string const& scene);
void tick(Tick const& tick);
void check(std::uint32_t ticks, std::uint64_t worldHash);
// Writes the end record and everything still waiting, then closes the file.
void finish(std::uint32_t ticks, std::uint64_t worldHash);
bool active();

// An end that comes from outside the update thread: a SIGINT, or exit()
// called on another thread (Xlib does when the display is lost under the
// draw thread). The update thread ends the recording at its next tick
// boundary, so that it holds every tick that ran and its end record.
//
// Async-signal-safe: asks for that end and waits until the recording is
// closed, at most half a second (a stuck update thread then loses the tail,
// no more than a kill would). Returns at once when no recording is open; a
// recording that had not begun then never does.
void endSoon();
// Update thread, at every tick boundary, after `ticks` ticks: when an end was
// asked, finishes the recording with the world's hash and then stops this
// thread for good; the one that asked ends the process.
void endIfAsked(std::uint32_t ticks, std::uint64_t (*worldHash)());

// Reading, a stretch of at most 100 ticks at a time: the ticks of a stretch
// come out only once its checksum is found sound, but those of a last
// stretch cut short, which come out as they are before `truncated`.
class Reader {
public:
    enum class Next { tick, check, end, truncated, corrupted };

    Reader() = default;
    ~Reader();
    Reader(Reader const&) = delete;
    Reader& operator=(Reader const&) = delete;

    // Opens the file and reads its header; false with a one-line reason.
    bool open(std::string const& path, std::string& error);
    std::vector<Binding> const& bindings() const { return header; }
    // The text of the scene the session starts from; empty for the starting
    // scene.
    std::string const& scene() const { return sceneText; }

    // `tick` for Next::tick; `ticks` and `hash` for check and end; `error`
    // for corrupted.
    Next next(Tick& tick, std::uint32_t& ticks, std::uint64_t& hash, std::string& error);

private:
    bool readStretch(std::string& error);

    std::FILE* file = nullptr;
    std::vector<Binding> header;
    std::string sceneText;
    std::uint32_t version = kVersion;
    std::vector<Tick> stretch;
    std::size_t served = 0;
    Next ending = Next::end;
    std::uint32_t endTicks = 0;
    std::uint64_t endHash = 0;
    std::uint32_t ticksRead = 0;
    bool finished = false;
};

}  // namespace recording
