#include "recordFormat.h"

#include <cstring>

#include "scene.h"
#include "sdlCompat.h"

namespace recording {

namespace {

const std::size_t kMaxBindings = 32;
const std::size_t kMaxNameBytes = 32;

// The header's start.
const std::size_t kMagicAt = 0;
const std::size_t kVersionAt = 8;
const std::size_t kCountAt = 12;
static_assert(kVersionAt == sizeof kMagic && kCountAt + 1 == kHeaderStartBytes, "the header's start");

// An input record.
const unsigned char kInputType = 'T';
const std::size_t kXAt = 1;
const std::size_t kYAt = 5;
const std::size_t kFlagsAt = 9;
const std::size_t kStatusesAt = 10;
const unsigned kLeft = 1;
const unsigned kRight = 2;
const unsigned kClosed = 4;
const unsigned kMiddle = 8;

// A check or end record.
const unsigned char kCheckType = 'H';
const unsigned char kEndType = 'E';
const std::size_t kTicksAt = 1;
const std::size_t kHashAt = 5;
const std::size_t kSumAt = 13;
static_assert(kSumAt == kClosingSummedBytes && kSumAt + kChecksumBytes == kClosingBytes, "a closing record's layout");

std::size_t statusBytes(std::size_t bindings)
{
    return (bindings + 3) / 4;
}

// Little-endian numbers into and out of bytes.
void put(unsigned char* out, std::uint64_t value, int bytes)
{
    for (int i = 0; i < bytes; ++i)
        out[i] = static_cast<unsigned char>(value >> (8 * i));
}

void append(Bytes& out, std::uint64_t value, int bytes)
{
    out.resize(out.size() + static_cast<std::size_t>(bytes));
    put(out.data() + out.size() - static_cast<std::size_t>(bytes), value, bytes);
}

std::uint64_t get(unsigned char const* in, int bytes)
{
    std::uint64_t value = 0;
    for (int i = 0; i < bytes; ++i)
        value |= static_cast<std::uint64_t>(in[i]) << (8 * i);
    return value;
}

}  // namespace

bool isRecording(unsigned char const* bytes)
{
    return std::memcmp(bytes + kMagicAt, kMagic, sizeof kMagic) == 0;
}

bool decodeHeaderStart(unsigned char const* bytes, std::uint32_t& version, std::size_t& bindings)
{
    version = static_cast<std::uint32_t>(get(bytes + kVersionAt, 4));
    bindings = bytes[kCountAt];
    return version >= kOldestVersion && version <= kVersion && bindings != 0 && bindings <= kMaxBindings;
}

bool nameLengthSound(unsigned char length)
{
    return length != 0 && length <= kMaxNameBytes;
}

bool decodeBinding(unsigned char const* bytes, std::size_t nameLength, Binding& binding)
{
    // A key code, or the one past the table that binds nothing: an SDLKey
    // can hold no other value.
    const auto code = static_cast<std::int32_t>(get(bytes + nameLength, 4));
    if (code < 0 || code > sdlCompat::kClassicUnbound)
        return false;
    binding = {std::string(reinterpret_cast<char const*>(bytes), nameLength),
               static_cast<SDLKey>(sdlCompat::platformKeyCode(code))};
    return true;
}

bool decodeSceneLength(unsigned char const* bytes, std::uint32_t& length)
{
    length = static_cast<std::uint32_t>(get(bytes, kSceneLengthBytes));
    return length <= scene::kMaxTextBytes;
}

bool decodeHistory(unsigned char const* bytes, std::uint32_t& mebibytes)
{
    mebibytes = static_cast<std::uint32_t>(get(bytes, kHistoryBytes));
    return mebibytes <= kMostHistoryMiB;
}

std::uint64_t decodeChecksum(unsigned char const* bytes)
{
    return get(bytes, kChecksumBytes);
}

Bytes encodeHeader(std::vector<Binding> const& bindings, std::string const& scene, std::uint32_t historyMiB)
{
    Bytes out(kHeaderStartBytes);
    std::memcpy(out.data() + kMagicAt, kMagic, sizeof kMagic);
    put(out.data() + kVersionAt, kVersion, 4);
    out[kCountAt] = static_cast<unsigned char>(bindings.size());
    for (Binding const& binding : bindings) {
        out.push_back(static_cast<unsigned char>(binding.name.size()));
        out.insert(out.end(), binding.name.begin(), binding.name.end());
        append(out, static_cast<std::uint32_t>(sdlCompat::recordedKeyCode(binding.code)), 4);
    }
    append(out, scene.size(), kSceneLengthBytes);
    out.insert(out.end(), scene.begin(), scene.end());
    append(out, historyMiB, kHistoryBytes);
    return out;
}

Record recordType(unsigned char first)
{
    switch (first) {
    case kInputType:
        return Record::input;
    case kCheckType:
        return Record::check;
    case kEndType:
        return Record::end;
    default:
        return Record::unknown;
    }
}

std::size_t inputBytes(std::size_t bindings)
{
    return kStatusesAt + statusBytes(bindings);
}

void encodeInput(Input const& in, std::size_t bindings, Bytes& out)
{
    const std::size_t at = out.size();
    out.resize(at + inputBytes(bindings), 0);
    unsigned char* record = out.data() + at;
    record[0] = kInputType;
    put(record + kXAt, static_cast<std::uint32_t>(in.pointer.x), 4);
    put(record + kYAt, static_cast<std::uint32_t>(in.pointer.y), 4);
    record[kFlagsAt] = static_cast<unsigned char>((in.pointer.left ? kLeft : 0) | (in.pointer.right ? kRight : 0) |
                                                  (in.closed ? kClosed : 0) | (in.pointer.middle ? kMiddle : 0));
    for (std::size_t i = 0; i < bindings && i < in.statuses.size(); ++i)
        record[kStatusesAt + i / 4] |= static_cast<unsigned char>((in.statuses[i] & 3) << (2 * (i % 4)));
}

bool decodeInput(unsigned char const* bytes, std::size_t bindings, std::uint32_t version, Input& in)
{
    const unsigned flags = bytes[kFlagsAt];
    const unsigned known = kLeft | kRight | kClosed | (version >= 2 ? kMiddle : 0);
    if ((flags & ~known) != 0)
        return false;
    in.pointer.x = static_cast<std::int32_t>(get(bytes + kXAt, 4));
    in.pointer.y = static_cast<std::int32_t>(get(bytes + kYAt, 4));
    in.pointer.left = (flags & kLeft) != 0;
    in.pointer.right = (flags & kRight) != 0;
    in.pointer.middle = (flags & kMiddle) != 0;
    in.closed = (flags & kClosed) != 0;
    in.statuses.clear();
    for (std::size_t i = 0; i < bindings; ++i)
        in.statuses.push_back(static_cast<input::KeyStatus>(bytes[kStatusesAt + i / 4] >> (2 * (i % 4)) & 3));
    return true;
}

void encodeClosing(Record type, std::uint32_t ticks, std::uint64_t worldHash, Checksum& sum, Bytes& out)
{
    const std::size_t at = out.size();
    out.resize(at + kClosingBytes);
    unsigned char* record = out.data() + at;
    record[0] = type == Record::end ? kEndType : kCheckType;
    put(record + kTicksAt, ticks, 4);
    put(record + kHashAt, worldHash, 8);
    sum.add(record, kSumAt);
    put(record + kSumAt, sum.value(), kChecksumBytes);
}

void decodeClosing(unsigned char const* bytes, std::uint32_t& ticks, std::uint64_t& worldHash, std::uint64_t& stored)
{
    ticks = static_cast<std::uint32_t>(get(bytes + kTicksAt, 4));
    worldHash = get(bytes + kHashAt, 8);
    stored = get(bytes + kSumAt, kChecksumBytes);
}

Bytes Encoder::header(std::vector<Binding> const& in, std::string const& scene, std::uint32_t historyMiB)
{
    bindings = in.size();
    Bytes out = encodeHeader(in, scene, historyMiB);
    sinceCheck = Checksum();
    sinceCheck.add(out.data(), out.size());
    append(out, sinceCheck.value(), kChecksumBytes);
    sinceCheck = Checksum();
    return out;
}

Bytes Encoder::input(Input const& in)
{
    Bytes out;
    encodeInput(in, bindings, out);
    sinceCheck.add(out.data(), out.size());
    return out;
}

Bytes Encoder::check(std::uint32_t ticks, std::uint64_t worldHash)
{
    return closing(Record::check, ticks, worldHash);
}

Bytes Encoder::end(std::uint32_t ticks, std::uint64_t worldHash)
{
    return closing(Record::end, ticks, worldHash);
}

Bytes Encoder::closing(Record type, std::uint32_t ticks, std::uint64_t worldHash)
{
    Bytes out;
    encodeClosing(type, ticks, worldHash, sinceCheck, out);
    sinceCheck = Checksum();
    return out;
}

}  // namespace recording
