// Replays the checked-in key files of tests/corpus/keyfile (nasty lines and
// whole files, and any input the fuzzer found worth keeping), line by line
// and as the program's configs/keys.cfg.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <string>
#include <vector>

#include "keyfile_support.h"
#include "keys.h"
#include "reader.h"

using keyfile::Bindings;

namespace {

namespace fs = std::filesystem;

const fs::path kCorpus = fs::absolute("tests/corpus/keyfile");

// Bindings after reading each file at start-up, worked out by hand.
const std::map<std::string, Bindings> kExpected = {
    {"defaults.cfg", {SDLK_p, SDLK_ESCAPE, SDLK_f, SDLK_SPACE}},
    {"rebinding.cfg", {SDLK_a, SDLK_ESCAPE, SDLK_LEFT, SDLK_RETURN}},
    {"crlf.cfg", {SDLK_p, SDLK_ESCAPE, SDLK_g, SDLK_SPACE}},
    {"nul_bytes.cfg", {SDLK_q, SDLK_ESCAPE, SDLK_f, SDLK_w}},
    {"no_final_newline.cfg", {SDLK_a, SDLK_ESCAPE, SDLK_f, SDLK_SPACE}},
    {"comments_and_junk.cfg", {SDLK_p, SDLK_ESCAPE, SDLK_f, SDLK_TAB}},
    {"high_bytes.cfg", {SDLK_p, SDLK_ESCAPE, SDLK_f, SDLK_9}},
    {"tabs_and_blanks.cfg", {SDLK_a, SDLK_b, SDLK_c, SDLK_SPACE}},
    {"long_line.cfg", {SDLK_p, SDLK_b, SDLK_f, SDLK_SPACE}},
    {"empty.cfg", {SDLK_p, SDLK_ESCAPE, SDLK_f, SDLK_SPACE}},
    {"equals_everywhere.cfg", {SDLK_p, SDLK_ESCAPE, SDLK_EQUALS, SDLK_SPACE}},
    {"later_wins.cfg", {SDLK_c, SDLK_ESCAPE, SDLK_f, SDLK_SPACE}},
    {"binary.bin", {SDLK_p, SDLK_ESCAPE, SDLK_g, SDLK_SPACE}},
};

std::string contentsOf(fs::path const& file)
{
    std::ifstream in(file, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::vector<fs::path> corpusFiles()
{
    std::vector<fs::path> files;
    for (auto const& entry : fs::directory_iterator(kCorpus))
        if (entry.is_regular_file())
            files.push_back(entry.path());
    return files;
}

}  // namespace

TEST(KeyFileCorpus, EveryExpectedFileIsThere)
{
    for (auto const& [name, bindings] : kExpected)
        EXPECT_TRUE(fs::is_regular_file(kCorpus / name)) << name;
}

TEST(KeyFileCorpus, LinesAppliedOneByOneFollowTheModel)
{
    key::init();
    createKeyMap();
    for (fs::path const& file : corpusFiles()) {
        keyfile::setBindings(keyfile::kDefaults);
        for (std::string const& line : keyfile::piecesOf(contentsOf(file))) {
            const Bindings expected = keyfile::applyModel(Bindings::current(), line);
            processLine(line);
            ASSERT_EQ(Bindings::current(), expected) << file.filename() << ": \"" << line << "\"";
            ASSERT_TRUE(keyfile::invariantsHold()) << file.filename();
        }
    }
}

TEST(KeyFileCorpus, FilesReadAtStartUpGiveTheirBindings)
{
    for (fs::path const& file : corpusFiles()) {
        const std::string contents = contentsOf(file);
        // The model below knows nothing of the reading budget.
        ASSERT_LT(contents.size(), 1u << 20) << file.filename();
        keyfile::setBindings(keyfile::kDefaults);
        {
            keyfile::Sandbox sandbox;
            sandbox.write(contents);
            key::init();
            readConfigs();
        }
        const Bindings read = Bindings::current();
        EXPECT_TRUE(keyfile::invariantsHold()) << file.filename();

        // Inputs the fuzzer kept have no hand-made expectation; the model
        // then decides, and it must agree with the hand-made ones.
        const Bindings modelled = keyfile::fileModel(contents);
        const auto known = kExpected.find(file.filename().string());
        if (known != kExpected.end()) {
            EXPECT_EQ(modelled, known->second) << file.filename();
        }
        EXPECT_EQ(read, known != kExpected.end() ? known->second : modelled) << file.filename();
    }
}
