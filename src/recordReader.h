#pragma once

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "recordFormat.h"

namespace recording {

// Reading a recording (recordFormat.h), a stretch of at most 100 ticks at a
// time: the inputs of a stretch come out only once its checksum is found
// sound, but those of a last stretch cut short, which come out as they are
// before `truncated`.
class Reader {
public:
    enum class Next { input, check, end, truncated, corrupted };

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
    // The history's cap in MiB; 0 for a version that has none.
    std::uint32_t historyMiB() const { return historyCap; }

    // `in` for Next::input; `ticks` and `hash` for check and end; `error`
    // for corrupted.
    Next next(Input& in, std::uint32_t& ticks, std::uint64_t& hash, std::string& error);

private:
    bool readHeader(std::string const& path, std::string& error);
    bool readBindings(std::size_t count, Checksum& sum, std::string const& cut, std::string const& corrupt,
                      std::string& error);
    bool readStretch(std::string& error);
    // The rest of a check or end record; false when the file ends first.
    bool readClosing(unsigned char* bytes, Checksum& sum, std::string& error, bool& damaged);

    std::FILE* file = nullptr;
    std::vector<Binding> header;
    std::string sceneText;
    std::uint32_t historyCap = 0;
    std::uint32_t version = kVersion;
    std::vector<Input> stretch;
    std::size_t served = 0;
    Next ending = Next::end;
    std::uint32_t endTicks = 0;
    std::uint64_t endHash = 0;
    std::uint32_t ticksRead = 0;
    bool finished = false;
};

}  // namespace recording
