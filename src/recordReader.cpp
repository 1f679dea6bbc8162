#include "recordReader.h"

#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

namespace recording {

namespace {

// Reads exactly `count` bytes into `out`, counting them into `sum`; false at
// the end of the file or on a read error.
bool readInto(std::FILE* file, unsigned char* out, std::size_t count, Checksum& sum)
{
    if (std::fread(out, 1, count, file) != count)
        return false;
    sum.add(out, count);
    return true;
}

// The scene of a version-3 header: its length, then its text, read as far
// as the file goes, so that a damaged length costs no more than the file.
bool readScene(std::FILE* file, std::string& text, Checksum& sum, std::string const& cut, std::string const& corrupt,
               std::string& error)
{
    unsigned char bytes[kSceneLengthBytes];
    std::uint32_t length = 0;
    if (!readInto(file, bytes, sizeof bytes, sum)) {
        error = cut;
        return false;
    }
    if (!decodeSceneLength(bytes, length)) {
        error = corrupt;
        return false;
    }
    char chunk[65536];
    while (text.size() < length) {
        const std::size_t want = std::min(sizeof chunk, static_cast<std::size_t>(length) - text.size());
        if (std::fread(chunk, 1, want, file) != want) {
            error = cut;
            return false;
        }
        sum.add(chunk, want);
        text.append(chunk, want);
    }
    return true;
}

}  // namespace

Reader::~Reader()
{
    if (file != nullptr)
        std::fclose(file);
}

bool Reader::open(std::string const& path, std::string& error)
{
    struct stat info;
    if (stat(path.c_str(), &info) != 0) {
        error = "cannot open the recording " + path + ": " + std::strerror(errno);
        return false;
    }
    if (S_ISDIR(info.st_mode)) {
        error = path + " is a directory, not a recording";
        return false;
    }
    file = std::fopen(path.c_str(), "rb");
    if (file == nullptr) {
        error = "cannot open the recording " + path + ": " + std::strerror(errno);
        return false;
    }
    return readHeader(path, error);
}

// The header's `count` bindings, each its name's length, its name and its key.
bool Reader::readBindings(std::size_t count, Checksum& sum, std::string const& cut, std::string const& corrupt,
                          std::string& error)
{
    unsigned char bytes[64];
    for (std::size_t i = 0; i < count; ++i) {
        if (!readInto(file, bytes, 1, sum)) {
            error = cut;
            return false;
        }
        const std::size_t length = bytes[0];
        if (!nameLengthSound(bytes[0])) {
            error = corrupt;
            return false;
        }
        Binding binding;
        if (!readInto(file, bytes, length + 4, sum)) {
            error = cut;
            return false;
        }
        if (!decodeBinding(bytes, length, binding)) {
            error = corrupt;
            return false;
        }
        header.push_back(binding);
    }
    return true;
}

bool Reader::readHeader(std::string const& path, std::string& error)
{
    Checksum sum;
    unsigned char bytes[64];
    const std::string cut = path + " is not a whole recording: its header is cut short";
    const std::string corrupt = path + " is corrupted: its header is damaged";
    if (!readInto(file, bytes, sizeof kMagic, sum) || !isRecording(bytes)) {
        error = path + " is not a recording";
        return false;
    }
    if (!readInto(file, bytes + sizeof kMagic, kHeaderStartBytes - sizeof kMagic, sum)) {
        error = cut;
        return false;
    }
    std::size_t count = 0;
    if (!decodeHeaderStart(bytes, version, count)) {
        if (version < kOldestVersion || version > kVersion)
            error = path + " is a recording of format version " + std::to_string(version) +
                    "; this ballpit reads versions " + std::to_string(kOldestVersion) + " to " +
                    std::to_string(kVersion);
        else
            error = corrupt;
        return false;
    }
    if (!readBindings(count, sum, cut, corrupt, error))
        return false;
    if (version >= 3 && !readScene(file, sceneText, sum, cut, corrupt, error))
        return false;
    if (version >= 4) {
        if (!readInto(file, bytes, kHistoryBytes, sum)) {
            error = cut;
            return false;
        }
        if (!decodeHistory(bytes, historyCap)) {
            error = corrupt;
            return false;
        }
    }
    const std::uint64_t expected = sum.value();
    if (!readInto(file, bytes, kChecksumBytes, sum)) {
        error = cut;
        return false;
    }
    if (decodeChecksum(bytes) != expected) {
        error = corrupt;
        return false;
    }
    return true;
}

bool Reader::readClosing(unsigned char* bytes, Checksum& sum, std::string& error, bool& damaged)
{
    if (!readInto(file, bytes + 1, kClosingSummedBytes - 1, sum))
        return false;
    const std::uint64_t expected = sum.value();
    if (std::fread(bytes + kClosingSummedBytes, 1, kChecksumBytes, file) != kChecksumBytes)
        return false;
    std::uint64_t stored = 0;
    decodeClosing(bytes, endTicks, endHash, stored);
    if (stored != expected || endTicks != ticksRead + stretch.size()) {
        error = "the checksum after tick " + std::to_string(ticksRead + stretch.size()) + " does not match";
        damaged = true;
    }
    return true;
}

bool Reader::readStretch(std::string& error)
{
    stretch.clear();
    served = 0;
    Checksum sum;
    const std::size_t recordBytes = inputBytes(header.size());
    unsigned char bytes[64];
    for (;;) {
        ending = Next::truncated;
        if (!readInto(file, bytes, 1, sum))
            return true;
        const Record type = recordType(bytes[0]);
        if (type == Record::input) {
            if (stretch.size() == kTicksPerCheck) {
                error = "more than " + std::to_string(kTicksPerCheck) + " ticks without a checksum after tick " +
                        std::to_string(ticksRead);
                return false;
            }
            if (!readInto(file, bytes + 1, recordBytes - 1, sum))
                return true;
            Input in;
            if (!decodeInput(bytes, header.size(), version, in)) {
                error = "a tick after tick " + std::to_string(ticksRead + stretch.size()) + " is damaged";
                return false;
            }
            stretch.push_back(in);
        } else if (type == Record::check || type == Record::end) {
            bool damaged = false;
            if (!readClosing(bytes, sum, error, damaged))
                return true;
            if (damaged)
                return false;
            ending = type == Record::check ? Next::check : Next::end;
            if (ending == Next::end && std::fgetc(file) != EOF) {
                error = "there are bytes after its end";
                return false;
            }
            return true;
        } else {
            error = "an unknown record follows tick " + std::to_string(ticksRead + stretch.size());
            return false;
        }
    }
}

Reader::Next Reader::next(Input& in, std::uint32_t& ticks, std::uint64_t& hash, std::string& error)
{
    if (finished)
        return ending;
    if (served == stretch.size() && served == 0 && !readStretch(error)) {
        finished = true;
        ending = Next::corrupted;
        return ending;
    }
    if (served < stretch.size()) {
        in = stretch[served++];
        ++ticksRead;
        return Next::input;
    }
    // The stretch is served: its closing record, or the end of the file.
    served = 0;
    stretch.clear();
    if (ending == Next::check) {
        ticks = endTicks;
        hash = endHash;
        return Next::check;
    }
    finished = true;
    ticks = ending == Next::end ? endTicks : ticksRead;
    hash = endHash;
    return ending;
}

}  // namespace recording
