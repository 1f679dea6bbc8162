#pragma once

// Shared by the key-file tests and the key-file fuzz target: an independent
// model of one key line, the invariants every key file must keep, and a
// scratch working directory with its own configs/keys.cfg.

#include <SDL.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <sstream>
#include <ostream>
#include <string>
#include <unistd.h>
#include <utility>
#include <vector>

#include "keys.h"
#include "reader.h"

namespace keyfile {

// The line grammar restated with string searches rather than a state machine:
// blanks, a name (any non-blank first character, then up to a blank or "="),
// blanks, "=", blanks, a value up to the next blank. A NUL byte ends the line.
inline std::optional<std::pair<std::string, std::string>> splitLine(std::string line)
{
    line = line.substr(0, line.find('\0'));
    const char* blanks = " \t";
    const std::size_t nameStart = line.find_first_not_of(blanks);
    if (nameStart == std::string::npos)
        return std::nullopt;
    const std::size_t nameEnd = line.find_first_of(" \t=", nameStart + 1);
    if (nameEnd == std::string::npos)
        return std::nullopt;
    const std::size_t equals = line.find_first_not_of(blanks, nameEnd);
    if (equals == std::string::npos || line[equals] != '=')
        return std::nullopt;
    const std::size_t valueStart = line.find_first_not_of(blanks, equals + 1);
    if (valueStart == std::string::npos)
        return std::nullopt;
    std::size_t valueEnd = line.find_first_of(blanks, valueStart);
    if (valueEnd == std::string::npos)
        valueEnd = line.size();
    return std::make_pair(line.substr(nameStart, nameEnd - nameStart),
                          line.substr(valueStart, valueEnd - valueStart));
}

struct Bindings {
    SDLKey pause;
    SDLKey end;
    SDLKey follow;
    SDLKey well;

    static Bindings current() { return {key::pause, key::end, key::follow, key::well}; }
    bool operator==(Bindings const& o) const
    {
        return pause == o.pause && end == o.end && follow == o.follow && well == o.well;
    }
    bool operator!=(Bindings const& o) const { return !(*this == o); }
};

inline std::ostream& operator<<(std::ostream& out, Bindings const& b)
{
    return out << "{pause " << b.pause << ", end " << b.end << ", follow " << b.follow << ", well " << b.well
               << "}";
}

const Bindings kDefaults = {SDLK_p, SDLK_ESCAPE, SDLK_f, SDLK_SPACE};

inline void setBindings(Bindings const& b)
{
    key::pause = b.pause;
    key::end = b.end;
    key::follow = b.follow;
    key::well = b.well;
}

// What applying one line does to `before`, according to the model above.
inline Bindings applyModel(Bindings before, std::string const& line)
{
    const auto split = splitLine(line);
    if (!split)
        return before;
    const auto code = keyMap.find(split->second);
    if (code == keyMap.end())
        return before;
    const std::string& name = split->first;
    SDLKey* target = name == "pause"    ? &before.pause
                     : name == "end"    ? &before.end
                     : name == "follow" ? &before.follow
                     : name == "well"   ? &before.well
                                        : nullptr;
    if (target != nullptr)
        *target = code->second;
    return before;
}

// Every piece between line feeds, the unterminated tail included.
inline std::vector<std::string> piecesOf(std::string const& contents)
{
    std::vector<std::string> pieces;
    std::istringstream in(contents);
    std::string piece;
    while (std::getline(in, piece))
        pieces.push_back(piece);
    return pieces;
}

// What reading `contents` at start-up gives, for files under the reading
// budget: the terminated lines of at most 4096 bytes, in order.
inline Bindings fileModel(std::string const& contents)
{
    std::vector<std::string> lines = piecesOf(contents);
    if (!contents.empty() && contents.back() != '\n')
        lines.pop_back();
    Bindings result = kDefaults;
    for (std::string const& line : lines)
        if (line.size() <= 4096)
            result = applyModel(result, line);
    return result;
}

inline bool isNamedKey(SDLKey code)
{
    for (auto const& entry : keyMap)
        if (entry.second == code)
            return true;
    return false;
}

// No key file may add binding names or bind a key that has no name (a
// default may be such a key); a tool may also be left without a key.
inline bool invariantsHold()
{
    bool hold = key::sdlMap.size() == key::kBindings.size();
    for (key::Binding const& binding : key::kBindings)
        hold = hold && key::sdlMap.at(binding.name) == binding.key &&
               (isNamedKey(*binding.key) || *binding.key == binding.defaultKey ||
                (binding.tool && *binding.key == key::unbound));
    return hold;
}

// A fresh working directory holding configs/; the process works in it until
// the sandbox goes, then returns to where it was and removes it.
class Sandbox {
public:
    Sandbox() : home(std::filesystem::current_path())
    {
        std::string pattern = (std::filesystem::temp_directory_path() / "ballpit-keyfile-XXXXXX").string();
        if (mkdtemp(pattern.data()) == nullptr)
            std::abort();
        dir = pattern;
        std::filesystem::create_directory(dir / "configs");
        std::filesystem::current_path(dir);
    }
    ~Sandbox()
    {
        std::filesystem::current_path(home);
        std::error_code ignored;
        std::filesystem::remove_all(dir, ignored);
    }
    Sandbox(Sandbox const&) = delete;
    Sandbox& operator=(Sandbox const&) = delete;

    std::filesystem::path const& directory() const { return dir; }
    std::filesystem::path const& origin() const { return home; }
    std::filesystem::path keyFile() const { return dir / "configs" / "keys.cfg"; }

    void write(std::string const& contents) const
    {
        std::ofstream out(keyFile(), std::ios::binary | std::ios::trunc);
        out << contents;
    }

private:
    std::filesystem::path home;
    std::filesystem::path dir;
};

}  // namespace keyfile
