// Key names, binding names, the line splitter and the reading of
// configs/keys.cfg, with well-formed, malformed and hostile files.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <utility>
#include <vector>

#include "keyfile_support.h"
#include "keys.h"
#include "reader.h"

using namespace std::string_literals;
using keyfile::Bindings;
using keyfile::kDefaults;
using keyfile::Sandbox;

namespace {

// No line can produce this key: it has no name in the key file.
const Bindings kUnset = {SDLK_F12, SDLK_F12, SDLK_F12, SDLK_F12};

// Reads `contents` as the key file of a freshly started program.
Bindings readFile(std::string const& contents)
{
    keyfile::setBindings(kDefaults);
    Sandbox sandbox;
    sandbox.write(contents);
    key::init();
    readConfigs();
    return Bindings::current();
}

std::string paddedLine(std::string const& line, std::size_t length)
{
    return line + std::string(length - line.size(), ' ');
}

}  // namespace

TEST(KeyFile, EachLineShapeHasItsEffect)
{
    key::init();
    createKeyMap();
    struct Row {
        std::string line;
        Bindings expected;
    };
    auto pauseOn = [](SDLKey k) { return Bindings{k, SDLK_F12, SDLK_F12, SDLK_F12}; };
    auto endOn = [](SDLKey k) { return Bindings{SDLK_F12, k, SDLK_F12, SDLK_F12}; };
    auto followOn = [](SDLKey k) { return Bindings{SDLK_F12, SDLK_F12, k, SDLK_F12}; };
    auto wellOn = [](SDLKey k) { return Bindings{SDLK_F12, SDLK_F12, SDLK_F12, k}; };
    const std::vector<Row> rows = {
        {"pause=p", pauseOn(SDLK_p)},
        {"pause = p", pauseOn(SDLK_p)},
        {"pause\t=\tp", pauseOn(SDLK_p)},
        {"  pause =   p  ", pauseOn(SDLK_p)},
        {"well = Space trailing words", wellOn(SDLK_SPACE)},
        {"well = Tab\tand = more", wellOn(SDLK_TAB)},
        {"end = Esc", endOn(SDLK_ESCAPE)},
        {"pause p", kUnset},
        {"pause =", kUnset},
        {"pause = \t ", kUnset},
        {"= p", kUnset},
        {"pause", kUnset},
        {"", kUnset},
        {" \t ", kUnset},
        {"pause = P", pauseOn(SDLK_p)},
        {"pause = escape", kUnset},
        {"Pause = p", kUnset},
        {"end = F1", kUnset},
        {"pause = p\r", kUnset},
        {"pause = p \r", pauseOn(SDLK_p)},
        {"follow = Left", followOn(static_cast<SDLKey>(276))},
        {"follow = Right", followOn(static_cast<SDLKey>(275))},
        {"jump = j", kUnset},
        {"# pause = p", kUnset},
        {"#pause = p", kUnset},
        {"pause==p", kUnset},
        {"pause = =", kUnset},
        {"well = Equals", wellOn(SDLK_EQUALS)},
        {"pause = q\0junk"s, pauseOn(SDLK_q)},
        {"\0pause = q"s, kUnset},
        {"pau\0se = q"s, kUnset},
    };
    for (Row const& row : rows) {
        keyfile::setBindings(kUnset);
        processLine(row.line);
        EXPECT_EQ(Bindings::current(), row.expected) << "line: \"" << row.line << "\"";
        EXPECT_EQ(key::sdlMap.size(), key::kBindings.size()) << "line: \"" << row.line << "\"";
    }
}

TEST(KeyFile, ExtractLineSplitsOrLeavesOutputsAlone)
{
    std::string name = "keep";
    std::string value = "keep";
    for (std::string const& bad : {std::string(""), std::string("pause"), std::string("pause p"),
                                   std::string("pause ="), std::string("= p"), std::string("=="),
                                   "\0a=b"s, std::string("  \t")}) {
        EXPECT_FALSE(extractLine(bad, &name, &value)) << "line: \"" << bad << "\"";
        EXPECT_EQ(name, "keep");
        EXPECT_EQ(value, "keep");
    }
    struct Accepted {
        std::string line;
        std::string name;
        std::string value;
    };
    const std::vector<Accepted> accepted = {
        {"a=b", "a", "b"},
        {"pause==p", "pause", "=p"},
        {"=a=b", "=a", "b"},
        {"\t name \t=\t value \t more", "name", "value"},
        {"x = y\r", "x", "y\r"},
        {"x = y\0z"s, "x", "y"},
    };
    for (Accepted const& a : accepted) {
        // Outputs are replaced, not appended to.
        name = "stale";
        value = "stale";
        ASSERT_TRUE(extractLine(a.line, &name, &value)) << "line: \"" << a.line << "\"";
        EXPECT_EQ(name, a.name);
        EXPECT_EQ(value, a.value);
    }
}

TEST(KeyFile, KeyNamesAreTheFixedTableOf119)
{
    createKeyMap();
    EXPECT_EQ(keyMap.size(), 119u);
    for (char c = 'a'; c <= 'z'; ++c) {
        EXPECT_EQ(static_cast<int>(keyMap.at(std::string(1, c))), c);
        EXPECT_EQ(static_cast<int>(keyMap.at(std::string(1, static_cast<char>(c - 32)))), c);
    }
    for (char c = '0'; c <= '9'; ++c)
        EXPECT_EQ(static_cast<int>(keyMap.at(std::string(1, c))), c);
    const std::vector<std::pair<const char*, int>> named = {
        {"LCtrl", 306},        {"LeftControl", 306}, {"LAlt", 308},        {"LeftAlt", 308},
        {"LShift", 304},       {"LeftShift", 304},   {"LWin", 311},        {"LeftWindows", 311},
        {"LeftMeta", 310},     {"LMeta", 310},       {"RCtrl", 305},       {"RightControl", 305},
        {"RAlt", 307},         {"RightAlt", 307},    {"RShift", 303},      {"RightShift", 303},
        {"RWin", 312},         {"RightWindows", 312}, {"RightMeta", 309},  {"RMeta", 309},
        {"Esc", 27},           {"Escape", 27},       {"Return", 13},       {"Enter", 13},
        {"Insert", 277},       {"Home", 278},        {"Delete", 127},      {"End", 279},
        {"PageUp", 280},       {"PageDown", 281},    {"Minus", 45},        {"Equal", 61},
        {"Equals", 61},        {"LeftBracket", 91},  {"LBracket", 91},     {"RightBracket", 93},
        {"RBracket", 93},      {"Backslash", 92},    {"Slash", 47},        {"Semicolon", 59},
        {"Semi", 59},          {"Quote", 39},        {"Comma", 44},        {"Period", 46},
        {"Space", 32},         {"BSpace", 8},        {"Backspace", 8},     {"BackSpace", 8},
        {"Tab", 9},            {"BackQuote", 96},    {"BQuote", 96},       {"CapsLock", 301},
        {"Caps", 301},         {"Up", 273},          {"Down", 274},        {"Left", 276},
        {"Right", 275},
    };
    EXPECT_EQ(named.size(), 57u);
    for (auto const& [name, code] : named) {
        const auto found = keyMap.find(name);
        ASSERT_NE(found, keyMap.end()) << name;
        EXPECT_EQ(static_cast<int>(found->second), code) << name;
    }
    for (const char* absent : {"F1", "escape", "space", "KP0", "NumLock", "Print", "Pause", ""})
        EXPECT_EQ(keyMap.count(absent), 0u) << absent;
}

TEST(KeyFile, BindingNamesAreTheFourAndTheTools)
{
    EXPECT_TRUE(key::sdlMap.empty());
    EXPECT_EQ(Bindings::current(), kDefaults);
    key::init();
    EXPECT_EQ(key::sdlMap.size(), key::kBindings.size());
    EXPECT_EQ(key::sdlMap.at("pause"), &key::pause);
    EXPECT_EQ(key::sdlMap.at("end"), &key::end);
    EXPECT_EQ(key::sdlMap.at("follow"), &key::follow);
    EXPECT_EQ(key::sdlMap.at("well"), &key::well);
    for (key::Binding const& binding : key::kBindings)
        EXPECT_EQ(key::sdlMap.at(binding.name), binding.key) << binding.name;
    EXPECT_EQ(key::sdlMap.count("Pause"), 0u);

    // The default key file, and its copy in the manual page, give every
    // binding of the table its default, in the table's order; a default key
    // without a name in key files (a function key) is left out.
    createKeyMap();
    std::string defaults;
    for (key::Binding const& binding : key::kBindings)
        if (keyName(binding.defaultKey) != "none")
            defaults += binding.name + " = "s + keyName(binding.defaultKey) + "\n";
    const auto text = [](const char* path) {
        std::ifstream in(path, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    };
    EXPECT_EQ(text("configs/keys.cfg"), defaults);
    EXPECT_NE(text("docs/ballpit.6.in").find(".nf\n" + defaults + ".fi\n"), std::string::npos) << defaults;
}

// Key files written before the tools keep their meaning: a tool whose default
// key the file chose for another binding is left without a key, while a key
// the file itself gives a tool, or an old binding's default, stays.
TEST(KeyFile, ToolDefaultsYieldToKeysTheFileChose)
{
    struct Tools {
        SDLKey step, reset, slower, faster, grid, hud;
        bool operator==(Tools const& o) const
        {
            return step == o.step && reset == o.reset && slower == o.slower && faster == o.faster &&
                   grid == o.grid && hud == o.hud;
        }
    };
    const Tools defaults = {SDLK_n, SDLK_r, SDLK_MINUS, SDLK_EQUALS, SDLK_g, SDLK_h};
    const auto read = [&defaults](std::string const& contents) {
        key::step = defaults.step;
        key::reset = defaults.reset;
        key::slower = defaults.slower;
        key::faster = defaults.faster;
        key::grid = defaults.grid;
        key::hud = defaults.hud;
        const Bindings old = readFile(contents);
        return std::make_pair(old, Tools{key::step, key::reset, key::slower, key::faster, key::grid, key::hud});
    };
    const SDLKey none = key::unbound;
    {
        const auto [old, tools] = read("pause = n\nend = Minus\n");
        EXPECT_EQ(old, (Bindings{SDLK_n, SDLK_MINUS, SDLK_f, SDLK_SPACE}));
        EXPECT_TRUE(tools == (Tools{none, SDLK_r, none, SDLK_EQUALS, SDLK_g, SDLK_h}));
    }
    {
        const auto [old, tools] = read("step = p\ngrid = h\nfaster = Space\n");
        EXPECT_EQ(old, kDefaults);
        EXPECT_TRUE(tools == (Tools{SDLK_p, SDLK_r, SDLK_MINUS, SDLK_SPACE, SDLK_h, none}));
    }
    {
        const auto [old, tools] = read("hud = x\ngrid = h\npause = r\nreset = r\n");
        EXPECT_EQ(old, (Bindings{SDLK_r, SDLK_ESCAPE, SDLK_f, SDLK_SPACE}));
        EXPECT_TRUE(tools == (Tools{SDLK_n, SDLK_r, SDLK_MINUS, SDLK_EQUALS, SDLK_h, SDLK_x}));
    }
    // The project's own file names every binding with its default key.
    key::init();
    readConfigs();
    EXPECT_EQ(Bindings::current(), kDefaults);
    EXPECT_TRUE((Tools{key::step, key::reset, key::slower, key::faster, key::grid, key::hud}) == defaults);
}

TEST(KeyFile, ReadingAppliesTerminatedLinesInOrder)
{
    // The project's own file gives the defaults.
    key::init();
    readConfigs();
    EXPECT_EQ(Bindings::current(), kDefaults);

    EXPECT_EQ(readFile(""), kDefaults);
    EXPECT_EQ(readFile("\n\n\n"), kDefaults);
    EXPECT_EQ(readFile("pause = a\npause = b\n"),
              (Bindings{SDLK_b, SDLK_ESCAPE, SDLK_f, SDLK_SPACE}));
    // A last line without a line feed is not applied.
    EXPECT_EQ(readFile("pause = c\nwell = d"),
              (Bindings{SDLK_c, SDLK_ESCAPE, SDLK_f, SDLK_SPACE}));
    EXPECT_EQ(readFile("end = q\nfollow = Left\nwell = Return\npause = 1\n"),
              (Bindings{SDLK_1, SDLK_q, SDLK_LEFT, SDLK_RETURN}));
}

TEST(KeyFile, UnknownBindingNamesAddNothing)
{
    const Bindings before = readFile("pause = a\njump = j\n# pause = p\nPause = z\n");
    EXPECT_EQ(before, (Bindings{SDLK_a, SDLK_ESCAPE, SDLK_f, SDLK_SPACE}));
    EXPECT_EQ(key::sdlMap.size(), key::kBindings.size());
    EXPECT_EQ(key::sdlMap.count("jump"), 0u);
    EXPECT_EQ(key::sdlMap.count("#"), 0u);
    EXPECT_EQ(key::sdlMap.count("Pause"), 0u);
}

TEST(KeyFile, FileThatCannotBeReadEndsTheProcess)
{
    Sandbox sandbox;
    key::init();
    const char* message = "^Unable to open file configs/keys\\.cfg\\.\n$";
    std::filesystem::remove(sandbox.keyFile());
    EXPECT_EXIT(readConfigs(), ::testing::ExitedWithCode(1), message);
    std::filesystem::create_directory(sandbox.keyFile());
    EXPECT_EXIT(readConfigs(), ::testing::ExitedWithCode(1), message);
}

// The working directory's file, then the user's, then the installed default
// (none beside a test program); an explicit path goes before them all.
TEST(KeyFileLookup, FirstExistingFileWins)
{
    Sandbox sandbox;
    const std::filesystem::path configHome = sandbox.directory() / "config";
    const std::string user = (configHome / "ballpit" / "keys.cfg").string();
    setenv("XDG_CONFIG_HOME", configHome.c_str(), 1);
    EXPECT_EQ(keyFilePath(), "configs/keys.cfg");

    std::filesystem::create_directories(configHome / "ballpit");
    std::ofstream(user) << "pause = k\n";
    EXPECT_EQ(keyFilePath(), user);
    key::init();
    readConfigs();
    EXPECT_EQ(key::pause, SDLK_k);

    // A directory in the working directory's place is passed over.
    std::filesystem::create_directory(sandbox.keyFile());
    EXPECT_EQ(keyFilePath(), user);
    std::filesystem::remove(sandbox.keyFile());
    sandbox.write("");
    EXPECT_EQ(keyFilePath(), "configs/keys.cfg");
    useKeyFile("elsewhere.cfg");
    EXPECT_EQ(keyFilePath(), "elsewhere.cfg");
}

// XDG_CONFIG_HOME counts only as an absolute path; otherwise ~/.config.
TEST(KeyFileLookup, ConfigHomeDefaultsToDotConfig)
{
    Sandbox sandbox;
    const std::filesystem::path home = sandbox.directory() / "home";
    const std::string user = (home / ".config" / "ballpit" / "keys.cfg").string();
    std::filesystem::create_directories(home / ".config" / "ballpit");
    std::ofstream(user) << "";
    setenv("HOME", home.c_str(), 1);
    for (const char* configHome : {"", "config"}) {
        std::filesystem::create_directories(std::filesystem::path(configHome) / "ballpit");
        std::ofstream(std::filesystem::path(configHome) / "ballpit" / "keys.cfg") << "";
        setenv("XDG_CONFIG_HOME", configHome, 1);
        EXPECT_EQ(keyFilePath(), user) << "XDG_CONFIG_HOME=" << configHome;
    }
    unsetenv("XDG_CONFIG_HOME");
    EXPECT_EQ(keyFilePath(), user);
    unsetenv("HOME");
    EXPECT_EQ(keyFilePath(), "configs/keys.cfg");
}

TEST(KeyFile, HostileFilesApplyOnlyTheirSoundLines)
{
    // Blanks count toward the line length, so a padded line tests the bound
    // without changing what the line says.
    EXPECT_EQ(readFile(paddedLine("well = w", 4096) + "\n"),
              (Bindings{SDLK_p, SDLK_ESCAPE, SDLK_f, SDLK_w}));
    EXPECT_EQ(readFile(paddedLine("well = w", 4097) + "\nfollow = g\n"),
              (Bindings{SDLK_p, SDLK_ESCAPE, SDLK_g, SDLK_SPACE}));
    // NUL bytes end a line; CRs are part of it.
    EXPECT_EQ(readFile("pause = q\0junk\n\0end = e\nwell = r\r\nfollow = t \r\n"s),
              (Bindings{SDLK_q, SDLK_ESCAPE, SDLK_t, SDLK_SPACE}));

    // Random bytes around one sound line.
    std::mt19937 random(1234);
    std::string binary;
    for (int i = 0; i < 64 * 1024; ++i)
        binary.push_back(static_cast<char>(random()));
    const Bindings afterBinary = readFile(binary + "\nend = x\n" + binary);
    EXPECT_EQ(afterBinary.end, SDLK_x);
    EXPECT_TRUE(keyfile::invariantsHold());

    // One 10 MB line: the line before it applies, reading stops inside it.
    EXPECT_EQ(readFile("pause = h\n" + std::string(10 * 1024 * 1024, 'x') + "\nwell = k\n"),
              (Bindings{SDLK_h, SDLK_ESCAPE, SDLK_f, SDLK_SPACE}));
    EXPECT_TRUE(keyfile::invariantsHold());
}

TEST(KeyFile, EndlessFileStopsBeingRead)
{
    Sandbox sandbox;
    std::filesystem::create_symlink("/dev/zero", sandbox.keyFile());
    key::init();
    readConfigs();
    EXPECT_EQ(Bindings::current(), kDefaults);

    // Valid lines past the first mebibyte are never reached.
    std::string many;
    while (many.size() < (1u << 20))
        many += "pause = a\n";
    EXPECT_EQ(readFile(many + "pause = b\n"),
              (Bindings{SDLK_a, SDLK_ESCAPE, SDLK_f, SDLK_SPACE}));
}

// Random lines built mostly from the grammar's own pieces, so that many are
// accepted, checked against the independent model of a line.
TEST(KeyFile, RandomLinesMatchTheModel)
{
    key::init();
    createKeyMap();
    const std::vector<std::string> pieces = {
        "pause", "end", "follow", "well", "Pause", "jump", "=", "=", " ", " ", "\t", "\r",
        std::string(1, '\0'), "#", "p", "P", "Space", "Left", "Esc", "escape", "F1", "q", "\xff", "\xc3\xa9",
    };
    std::mt19937 random(20240601);
    std::uniform_int_distribution<std::size_t> pick(0, pieces.size() - 1);
    std::uniform_int_distribution<int> length(0, 9);
    std::uniform_int_distribution<int> byte(0, 255);
    for (int i = 0; i < 20000; ++i) {
        std::string line;
        for (int n = length(random); n > 0; --n) {
            if (byte(random) < 16)
                line.push_back(static_cast<char>(byte(random)));
            else
                line += pieces[pick(random)];
        }
        const Bindings expected = keyfile::applyModel(Bindings::current(), line);
        std::string name;
        std::string value;
        const bool accepted = extractLine(line, &name, &value);
        const auto split = keyfile::splitLine(line);
        ASSERT_EQ(accepted, split.has_value()) << "line: \"" << line << "\"";
        if (accepted) {
            ASSERT_EQ(name, split->first) << "line: \"" << line << "\"";
            ASSERT_EQ(value, split->second) << "line: \"" << line << "\"";
        }
        processLine(line);
        ASSERT_EQ(Bindings::current(), expected) << "line: \"" << line << "\"";
        ASSERT_TRUE(keyfile::invariantsHold()) << "line: \"" << line << "\"";
    }
}
