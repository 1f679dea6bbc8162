// The options: read in any order, and every misuse ends with one usage line
// and status 64 before anything starts; a file named without an option is
// taken as a scene or a recording by its content, or refused.

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "commandLine.h"
#include "scene.h"
#include "sceneFiles.h"

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
    EXPECT_EQ(run.historyMiB, -1);
    EXPECT_EQ(parse({"--history", "0"}).historyMiB, 0);
    EXPECT_EQ(parse({"--history", "4096", "--record", "a.rec"}).historyMiB, 4096);
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
        {{"--history", "-1"}, "--history takes a whole number of MiB up to 4096, not '-1'"},
        {{"--history", "4097"}, "--history takes a whole number of MiB up to 4096, not '4097'"},
        {{"--history", "99999999999"}, "--history takes a whole number of MiB up to 4096, not '99999999999'"},
        {{"--history", "1e3"}, "--history takes a whole number of MiB up to 4096, not '1e3'"},
        {{"--history", "8", "--replay", "a.rec"},
         "--history and --replay exclude each other: a recording keeps its own history"},
        {{"--history", "8", "--headless", "--ticks", "5"}, "--history goes with a run that takes input, not --ticks"},
    };
    for (auto const& [args, problem] : misuses)
        EXPECT_EXIT(parse(args), testing::ExitedWithCode(64), "^ballpit: " + problem + "; usage: ballpit [^\n]*\n$")
            << problem;
}

namespace {

// A scratch directory the test works in, so that files can be named without
// a '/'; removed with what it holds when the test ends.
class ScratchDir {
public:
    ScratchDir()
    {
        char pattern[] = "/tmp/ballpit-test-XXXXXX";
        EXPECT_NE(mkdtemp(pattern), nullptr);
        path = pattern;
        EXPECT_EQ(chdir(path.c_str()), 0);
    }
    ~ScratchDir() { std::filesystem::remove_all(path); }

    void write(std::string const& name, std::string const& bytes) const
    {
        std::ofstream(path + "/" + name, std::ios::binary) << bytes;
    }

    std::string path;
};

const char kScene[] = "ballpit scene 1\nball 100 100 0 0 10 1 cRed\n";
const char kRecording[] = "BALLPITR\3\0\0\0";

}  // namespace

TEST(CommandLine, AFileIsASceneOrARecordingByItsFirstBytes)
{
    const ScratchDir dir;
    dir.write("pile", kScene);
    dir.write("list.scene", std::string(kRecording, sizeof kRecording - 1));
    dir.write("-odd", kScene);
    // Named as a preset would be, the file is still the one read.
    const commandLine::Options scene = parse({"--keys", "k.cfg", "pile", "--record", "out.rec"});
    EXPECT_EQ(scene.scene, "./pile");
    EXPECT_EQ(scene.recordFile, "out.rec");
    EXPECT_EQ(scene.keysFile, "k.cfg");
    EXPECT_EQ(parse({dir.path + "/pile", "--headless", "--ticks", "5"}).scene, dir.path + "/pile");
    const commandLine::Options recording = parse({"list.scene", "--headless"});
    EXPECT_EQ(recording.replayFile, "list.scene");
    EXPECT_TRUE(recording.scene.empty() && recording.headless);
    EXPECT_EQ(parse({"--", "-odd"}).scene, "./-odd");
}

TEST(CommandLine, AFileOfNeitherKindEndsWithOneLineAndStatus1)
{
    const ScratchDir dir;
    dir.write("empty", "");
    dir.write("text", "ballpit scenery\n");
    dir.write("cut", "BALLPIT");
    dir.write("zero", std::string(64, '\0'));
    ASSERT_EQ(mkdir("folder", 0755), 0);
    ASSERT_EQ(mkfifo("pipe", 0644), 0);
    const std::vector<std::pair<std::string, std::string>> refusals = {
        {"none", "cannot open none: No such file or directory"},
        {"empty", "empty is empty, not a scene or a recording"},
        {"text", "text is neither a scene nor a recording"},
        {"cut", "cut is neither a scene nor a recording"},
        {"zero", "zero is neither a scene nor a recording"},
        {"folder", "folder is a directory, not a scene or a recording"},
        // Refused at once: no writer is waited for.
        {"pipe", "pipe is a pipe or a device, not a scene or a recording"},
        {"/dev/zero", "/dev/zero is a pipe or a device, not a scene or a recording"},
    };
    for (auto const& [file, problem] : refusals)
        EXPECT_EXIT(parse({file}), testing::ExitedWithCode(1), "^ballpit: " + problem + "\n$") << file;
}

TEST(CommandLine, AFileWhereItMakesNoSenseIsAUsageError)
{
    const ScratchDir dir;
    dir.write("a.scene", kScene);
    dir.write("b.scene", kScene);
    const std::vector<std::pair<std::vector<std::string>, std::string>> misuses = {
        {{"a.scene", "b.scene"}, "one file at most, not both 'a.scene' and 'b.scene'"},
        {{"a.scene", "--scene", "pile"}, "a file excludes --scene"},
        {{"--replay", "r.rec", "a.scene"}, "a file excludes --replay"},
        {{"-a.scene"}, "unknown option '-a.scene'"},
        {{""}, "an empty name is no file"},
    };
    for (auto const& [args, problem] : misuses)
        EXPECT_EXIT(parse(args), testing::ExitedWithCode(64), "^ballpit: " + problem + "; usage: ballpit [^\n]*\n$")
            << problem;
}

TEST(CommandLine, ASceneFileThatVanishesIsNeverTakenForThePresetOfItsName)
{
    const ScratchDir dir;
    ASSERT_EQ(mkdir("scenes", 0755), 0);
    dir.write("scenes/pile.scene", kScene);
    dir.write("pile", kScene);
    const commandLine::Options options = parse({"pile"});
    ASSERT_EQ(std::remove("pile"), 0);
    scene::Scene scene;
    std::string error;
    EXPECT_FALSE(sceneFiles::load(options.scene, scene, error));
    EXPECT_EQ(error, "./pile:0: No such file or directory");
}
