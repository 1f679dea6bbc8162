#pragma once

#include <SDL.h>

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "checksum.h"
#include "inputManager.h"

// A session on file: what a replay needs to know at start-up, then the input
// each tick consumed, with the world's hash every 100 ticks and at the end.
//
// Format version 4; numbers are little-endian, unsigned unless said:
//   header  the 8 bytes "BALLPITR", u32 version, u8 n (1 to 32), then n
//           bindings (u8 name length 1 to 32, the name, i32 key code: a code
//           of the key table, or SDLK_LAST for none), u32 length of the
//           scene the session starts from (at most scene::kMaxTextBytes; 0
//           for the starting scene), its text (scene.h), u32 the memory cap
//           of the rewind key's history in MiB (0 to kMostHistoryMiB: how
//           far back a rewind reaches depends on it), then u64 checksum
//   input   'T', i32 pointer x, i32 pointer y, u8 flags (1 left button,
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
// reads versions 1 to 3: version 3 is version 4 without the cap (its
// sessions never rewind), version 2 is version 3 without the scene (its
// sessions start from the starting scene), version 1 is version 2 without
// the middle button.
//
// Each record's encoding and decoding stand together here; the reader
// (recordReader.h) only finds the records in a file.
namespace recording {

// The header's first bytes, with no terminating zero.
const char kMagic[8] = {'B', 'A', 'L', 'L', 'P', 'I', 'T', 'R'};
const std::uint32_t kVersion = 4;
const std::uint32_t kOldestVersion = 1;
const std::uint32_t kTicksPerCheck = 100;
// The largest history a session keeps, in MiB.
const std::uint32_t kMostHistoryMiB = 4096;

using Bytes = std::vector<unsigned char>;

struct Binding {
    std::string name;
    SDLKey code;
};

// One tick's input as a recording keeps it.
struct Input {
    input::Pointer pointer;
    bool closed = false;
    // One per binding, in the order of the header.
    std::vector<input::KeyStatus> statuses;
};

// --- The header --------------------------------------------------------
// Read in pieces, as its length is known only as it goes: its start (magic,
// version, count of bindings), each binding (length, then name and code),
// the scene (length, then text), the history's cap, the checksum.
const std::size_t kHeaderStartBytes = 13;
const std::size_t kChecksumBytes = 8;
const std::size_t kSceneLengthBytes = 4;
const std::size_t kHistoryBytes = 4;

// True when `bytes` start with the magic.
bool isRecording(unsigned char const* bytes);
// The version and the count of bindings; false when either is not one this
// program reads (a version outside kOldestVersion to kVersion, or a count
// no header holds).
bool decodeHeaderStart(unsigned char const* bytes, std::uint32_t& version, std::size_t& bindings);
// A name's length byte: false when no name is that long.
bool nameLengthSound(unsigned char length);
// The bytes after a binding's length byte; false when its code is no key.
bool decodeBinding(unsigned char const* bytes, std::size_t nameLength, Binding& binding);
// The scene's length; false when no scene is that long.
bool decodeSceneLength(unsigned char const* bytes, std::uint32_t& length);
// The history's cap; false when no session keeps that much.
bool decodeHistory(unsigned char const* bytes, std::uint32_t& mebibytes);
std::uint64_t decodeChecksum(unsigned char const* bytes);
// The whole header, its checksum not included.
Bytes encodeHeader(std::vector<Binding> const& bindings, std::string const& scene, std::uint32_t historyMiB);

// --- The records after it ----------------------------------------------
enum class Record { input, check, end, unknown };
// What a record's first byte says it is.
Record recordType(unsigned char first);
// A record's length, its type byte included.
std::size_t inputBytes(std::size_t bindings);
const std::size_t kClosingBytes = 21;
// The bytes of a check or end record that its checksum covers.
const std::size_t kClosingSummedBytes = 13;

void encodeInput(Input const& in, std::size_t bindings, Bytes& out);
// False when its flags hold a bit the version does not know.
bool decodeInput(unsigned char const* bytes, std::size_t bindings, std::uint32_t version, Input& in);

// A check or end record; `sum` holds every byte since the last checksum
// and takes this record's too.
void encodeClosing(Record type, std::uint32_t ticks, std::uint64_t worldHash, Checksum& sum, Bytes& out);
void decodeClosing(unsigned char const* bytes, std::uint32_t& ticks, std::uint64_t& worldHash,
                   std::uint64_t& stored);

// A recording's bytes as a run makes them, record by record, each checksum
// in its place.
class Encoder {
public:
    Bytes header(std::vector<Binding> const& bindings, std::string const& scene, std::uint32_t historyMiB);
    Bytes input(Input const& in);
    Bytes check(std::uint32_t ticks, std::uint64_t worldHash);
    Bytes end(std::uint32_t ticks, std::uint64_t worldHash);

private:
    Bytes closing(Record type, std::uint32_t ticks, std::uint64_t worldHash);

    std::size_t bindings = 0;
    Checksum sinceCheck;
};

}  // namespace recording
