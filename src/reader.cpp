#include "reader.h"

#include <cstring>
#include <fstream>
#include <iostream>
#include <set>

#include "debug.h"
#include "keys.h"
#include "programFiles.h"

std::map<std::string, SDLKey> keyMap;
const char configDir[] = "configs";
const char testFile[] = "keys.cfg";

namespace {

// The bindings the lines read so far have set.
std::set<std::string> s_chosen_Bindings;
// The key file the command line named; empty for the usual one.
std::string s_explicit_Path;
// Key code to the name a key file would use for it: the first of its names.
std::map<SDLKey, std::string> s_key_Names;

// A key line is a few dozen bytes. Longer lines are skipped and an endless
// file (a device, say) stops being read, so no file can exhaust memory or
// stall start-up.
const std::size_t kMaxLineBytes = 4096;
const std::size_t kMaxFileBytes = 1 << 20;

enum class LineRead { Line, TooLong, End };

LineRead readLine(std::istream& in, std::string& line, std::size_t& budget)
{
    line.clear();
    bool tooLong = false;
    std::istream::int_type c;
    while ((c = in.get()) != std::istream::traits_type::eof()) {
        if (budget == 0)
            return LineRead::End;
        --budget;
        if (c == '\n')
            return tooLong ? LineRead::TooLong : LineRead::Line;
        if (line.size() < kMaxLineBytes)
            line.push_back(static_cast<char>(c));
        else
            tooLong = true;
    }
    // End of file or a read error: a last line without a line feed is not applied.
    return LineRead::End;
}

bool isBlank(char c)
{
    return c == ' ' || c == '\t';
}

void addKey(std::string const& name, SDLKey code)
{
    keyMap[name] = code;
    s_key_Names.emplace(code, name);
}

void addKey(std::initializer_list<const char*> names, SDLKey code)
{
    for (const char* name : names)
        addKey(name, code);
}

}  // namespace

void useKeyFile(std::string const& path)
{
    s_explicit_Path = path;
}

std::string keyFilePath()
{
    if (!s_explicit_Path.empty())
        return s_explicit_Path;
    // With none, the working directory's, whose opening then fails.
    const std::string found =
        programFiles::firstFile(programFiles::searchOrder(configDir, programFiles::configDir(), ""), testFile);
    return found.empty() ? std::string(configDir) + "/" + testFile : found;
}

bool applyKeyFile(std::string const& path)
{
    std::ifstream file;
    if (programFiles::existsAsFile(path))
        file.open(path, std::ios::in | std::ios::binary);
    if (!file.is_open())
        return false;
    s_chosen_Bindings.clear();
    std::string line;
    std::size_t budget = kMaxFileBytes;
    for (;;) {
        const LineRead result = readLine(file, line, budget);
        if (result == LineRead::End)
            break;
        if (result == LineRead::Line)
            processLine(line);
    }
    file.close();
    key::dropCollidingDefaults(s_chosen_Bindings);
    return true;
}

void readConfigs()
{
    createKeyMap();
    const std::string path = keyFilePath();
    if (!applyKeyFile(path)) {
        std::cerr << "Unable to open file " << path << "." << std::endl;
        debug::quit(1);
    }
}

void processLine(std::string const& line)
{
    std::string name;
    std::string value;
    if (!extractLine(line, &name, &value))
        return;
    const auto keyCode = keyMap.find(value);
    if (keyCode == keyMap.end() || keyCode->second == SDLK_UNKNOWN)
        return;
    // find, never operator[]: an unknown binding name must not create an entry.
    const auto binding = key::sdlMap.find(name);
    if (binding == key::sdlMap.end() || binding->second == nullptr)
        return;
    *binding->second = keyCode->second;
    s_chosen_Bindings.insert(name);
}

bool extractLine(std::string const& line, std::string* name, std::string* value)
{
    enum State { BeforeName, InName, AfterName, AfterEquals, InValue };
    // The line is read as a zero-terminated string: a NUL byte ends it.
    const char* text = line.c_str();
    const std::size_t length = std::strlen(text);
    if (length == 0)
        return false;
    State state = BeforeName;
    std::size_t nameStart = 0;
    std::size_t nameEnd = 0;
    std::size_t valueStart = 0;
    std::size_t valueEnd = length;
    bool accepted = false;
    for (std::size_t i = 0; i < length && !accepted; ++i) {
        const char c = text[i];
        switch (state) {
        case BeforeName:
            if (!isBlank(c)) {
                nameStart = i;
                state = InName;
            }
            break;
        case InName:
            if (isBlank(c)) {
                nameEnd = i;
                state = AfterName;
            } else if (c == '=') {
                nameEnd = i;
                state = AfterEquals;
            }
            break;
        case AfterName:
            if (c == '=')
                state = AfterEquals;
            else if (!isBlank(c))
                return false;
            break;
        case AfterEquals:
            if (!isBlank(c)) {
                valueStart = i;
                state = InValue;
            }
            break;
        case InValue:
            if (isBlank(c)) {
                valueEnd = i;
                accepted = true;
            }
            break;
        }
    }
    if (state != InValue)
        return false;
    name->assign(text + nameStart, nameEnd - nameStart);
    value->assign(text + valueStart, valueEnd - valueStart);
    return true;
}

std::string keyName(SDLKey code)
{
    const auto name = s_key_Names.find(code);
    return name == s_key_Names.end() ? "none" : name->second;
}

void createKeyMap()
{
    // Letters by their lower-case names first, so that is the name they get.
    for (char c = 'a'; c <= 'z'; ++c)
        addKey(std::string(1, c), static_cast<SDLKey>(c));
    for (char c = 'A'; c <= 'Z'; ++c)
        addKey(std::string(1, c), static_cast<SDLKey>(c + 32));
    for (char c = '0'; c <= '9'; ++c)
        addKey(std::string(1, c), static_cast<SDLKey>(c));
    addKey({"LCtrl", "LeftControl"}, SDLK_LCTRL);
    addKey({"LAlt", "LeftAlt"}, SDLK_LALT);
    addKey({"LShift", "LeftShift"}, SDLK_LSHIFT);
    addKey({"LWin", "LeftWindows"}, SDLK_LSUPER);
    addKey({"LMeta", "LeftMeta"}, SDLK_LMETA);
    addKey({"RCtrl", "RightControl"}, SDLK_RCTRL);
    addKey({"RAlt", "RightAlt"}, SDLK_RALT);
    addKey({"RShift", "RightShift"}, SDLK_RSHIFT);
    addKey({"RWin", "RightWindows"}, SDLK_RSUPER);
    addKey({"RMeta", "RightMeta"}, SDLK_RMETA);
    addKey({"Escape", "Esc"}, SDLK_ESCAPE);
    addKey({"Return", "Enter"}, SDLK_RETURN);
    addKey({"Insert"}, SDLK_INSERT);
    addKey({"Home"}, SDLK_HOME);
    addKey({"Delete"}, SDLK_DELETE);
    addKey({"End"}, SDLK_END);
    addKey({"PageUp"}, SDLK_PAGEUP);
    addKey({"PageDown"}, SDLK_PAGEDOWN);
    addKey({"Minus"}, SDLK_MINUS);
    addKey({"Equal", "Equals"}, SDLK_EQUALS);
    addKey({"LeftBracket", "LBracket"}, SDLK_LEFTBRACKET);
    addKey({"RightBracket", "RBracket"}, SDLK_RIGHTBRACKET);
    addKey({"Backslash"}, SDLK_BACKSLASH);
    addKey({"Slash"}, SDLK_SLASH);
    addKey({"Semicolon", "Semi"}, SDLK_SEMICOLON);
    addKey({"Quote"}, SDLK_QUOTE);
    addKey({"Comma"}, SDLK_COMMA);
    addKey({"Period"}, SDLK_PERIOD);
    addKey({"Space"}, SDLK_SPACE);
    addKey({"Backspace", "BSpace", "BackSpace"}, SDLK_BACKSPACE);
    addKey({"Tab"}, SDLK_TAB);
    addKey({"BackQuote", "BQuote"}, SDLK_BACKQUOTE);
    addKey({"CapsLock", "Caps"}, SDLK_CAPSLOCK);
    addKey({"Up"}, SDLK_UP);
    addKey({"Down"}, SDLK_DOWN);
    addKey({"Left"}, SDLK_LEFT);
    addKey({"Right"}, SDLK_RIGHT);
}
