// The options: read in any order, and every misuse ends with one usage line
// and status 64 before anything starts.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "commandLine.h"

namespace {

commandLine::Options parse(std::vector<std::string> args)
{
    args.insert(args.begin(), "ballpit");
    std::vector<char*> argv;
    for (std::string& arg : args)
        argv.push_back(arg.data());
    return commandLine::parse(static_cast<int>(argv.size()), argv.data());
}

}  // namespace

TEST(CommandLine, OptionsAreReadInAnyOrder)
{
    const commandLine::Options none = parse({});
    EXPECT_TRUE(none.keysFile.empty() && none.recordFile.empty() && none.replayFile.empty());
    EXPECT_FALSE(none.headless || none.help || none.version);

    const commandLine::Options options = parse({"--headless", "--keys", "k.cfg", "--replay", "r.rec", "--help"});
    EXPECT_EQ(options.keysFile, "k.cfg");
    EXPECT_EQ(options.replayFile, "r.rec");
    EXPECT_TRUE(options.headless && options.help);
    EXPECT_FALSE(options.version);
    EXPECT_EQ(parse({"--record", "out.rec", "--version"}).recordFile, "out.rec");
    const commandLine::Options run = parse({"--ticks", "300", "--scene", "pile", "--save", "a.scene", "--headless"});
    EXPECT_EQ(run.ticks, 300);
    EXPECT_EQ(run.scene, "pile");
    EXPECT_EQ(run.saveFile, "a.scene");
}

TEST(CommandLine, EachMisuseEndsWithOneUsageLineAndStatus64)
{
    const std::vector<std::pair<std::vector<std::string>, std::string>> misuses = {
        {{"--jump"}, "unknown option '--jump'"},
        {{"--keys"}, "--keys needs a file"},
        {{"--record", ""}, "--record needs a file"},
        {{"--record", "a.rec", "--replay", "b.rec"}, "--record and --replay exclude each other"},
        {{"--headless"}, "--headless goes with --replay or --ticks"},
        {{"--headless", "--replay", "a.rec", "--ticks", "5"}, "--replay and --ticks exclude each other"},
        {{"--ticks", "5"}, "--ticks goes with --headless"},
        {{"--headless", "--ticks", "-5"}, "--ticks takes a whole number of ticks up to 1000000000, not '-5'"},
        {{"--save", "a.scene"}, "--save goes with --ticks"},
        {{"--scene", "pile", "--replay", "a.rec"},
         "--scene and --replay exclude each other: a recording starts from its own scene"},
    };
    for (auto const& [args, problem] : misuses)
        EXPECT_EXIT(parse(args), testing::ExitedWithCode(64), "^ballpit: " + problem + "; usage: ballpit [^\n]*\n$")
            << problem;
}
