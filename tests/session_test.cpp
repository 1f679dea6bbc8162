// Replays judged by the world they build: a recorded session whose input is
// changed, with every checksum still sound, diverges at the first hash after
// the change; a recording that names a binding this program lacks is refused.
// The session driven as a single-threaded program drives it: a plain loop on
// one thread, recording into memory.

#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <vector>

#include "debug.h"
#include "key_events.h"
#include "keys.h"
#include "recordReader.h"
#include "recordSink.h"
#include "replay.h"
#include "scene.h"
#include "sdlCompat.h"
#include "scratch_file.h"
#include "session.h"

namespace {

const char kPour[] = "tests/recordings/pour.rec";

struct Copy {
    std::vector<recording::Binding> bindings;
    std::string scene;
    std::uint32_t historyMiB = 0;
    std::vector<recording::Input> ticks;
    std::vector<std::uint64_t> hashes;  // after every 100th tick, then at the end
};

Copy readRecording(std::string const& path)
{
    Copy copy;
    recording::Reader reader;
    std::string error;
    EXPECT_TRUE(reader.open(path, error)) << error;
    copy.bindings = reader.bindings();
    copy.scene = reader.scene();
    copy.historyMiB = reader.historyMiB();
    for (;;) {
        recording::Input tick;
        std::uint32_t ticks = 0;
        std::uint64_t hash = 0;
        const auto next = reader.next(tick, ticks, hash, error);
        if (next == recording::Reader::Next::input) {
            copy.ticks.push_back(tick);
            continue;
        }
        EXPECT_TRUE(next == recording::Reader::Next::check || next == recording::Reader::Next::end) << error;
        copy.hashes.push_back(hash);
        if (next != recording::Reader::Next::check)
            return copy;
    }
}

// Writes the copy as a sound recording.
void writeRecording(std::string const& path, Copy const& copy)
{
    recording::Encoder encoder;
    recording::MemorySink sink;
    sink.write(encoder.header(copy.bindings, copy.scene, copy.historyMiB));
    std::uint32_t t = 0;
    for (recording::Input const& in : copy.ticks) {
        sink.write(encoder.input(in));
        if (++t % recording::kTicksPerCheck == 0)
            sink.write(encoder.check(t, copy.hashes[t / recording::kTicksPerCheck - 1]));
    }
    sink.write(encoder.end(t, copy.hashes.back()));
    std::ofstream(path, std::ios::binary | std::ios::trunc)
        .write(reinterpret_cast<char const*>(sink.bytes().data()), static_cast<std::streamsize>(sink.bytes().size()));
}

// The headless replay of `path`: its exit status and its output.
int replayHeadless(std::string const& path, std::string& out, std::string& err)
{
    std::string error;
    EXPECT_TRUE(session::openReplay(path, error)) << error;
    testing::internal::CaptureStdout();
    testing::internal::CaptureStderr();
    const int status = session::replayHeadless();
    out = testing::internal::GetCapturedStdout();
    err = testing::internal::GetCapturedStderr();
    return status;
}

}  // namespace

TEST(Session, UnchangedInputReplaysIdentical)
{
    const Copy copy = readRecording(kPour);
    ASSERT_GT(copy.ticks.size(), 300u);
    const ScratchFile file;
    const std::string& path = file.path;
    writeRecording(path, copy);
    std::string out;
    std::string err;
    EXPECT_EQ(replayHeadless(path, out, err), replay::kIdentical) << out << err;
    EXPECT_NE(out.find("replay: " + std::to_string(copy.ticks.size()) + " ticks, identical\n"), std::string::npos)
        << out;
}

TEST(Session, ChangedInputDivergesAtTheNextHash)
{
    Copy copy = readRecording(kPour);
    ASSERT_GT(copy.ticks.size(), 300u);
    // A ball poured a little to the right in tick 151.
    ASSERT_TRUE(copy.ticks[150].pointer.left);
    copy.ticks[150].pointer.x += 3;
    const ScratchFile file;
    const std::string& path = file.path;
    writeRecording(path, copy);
    std::string out;
    std::string err;
    EXPECT_EQ(replayHeadless(path, out, err), replay::kDiverged) << out << err;
    EXPECT_NE(out.find("replay: diverged at tick 200\n"), std::string::npos) << out;
}

TEST(Session, UnknownBindingIsRefused)
{
    Copy copy = readRecording(kPour);
    copy.bindings[0].name = "jump";
    const ScratchFile file;
    writeRecording(file.path, copy);
    std::string error;
    EXPECT_FALSE(session::openReplay(file.path, error));
    EXPECT_NE(error.find("was recorded with a binding this ballpit does not have: jump"), std::string::npos) << error;
}

namespace {

int threadsOfThisProcess()
{
    std::ifstream status("/proc/self/status");
    std::string word;
    while (status >> word)
        if (word == "Threads:" && status >> word)
            return std::stoi(word);
    return -1;
}

// The session as a single-threaded program drives it: start, ticks until
// the run ends, stop, all on the calling thread.
int runOnThisThread()
{
    debug::init();
    session::start(false);
    while (session::tick() == session::Ran::tick) {
    }
    const int status = session::stop();
    debug::clean();
    return status;
}

}  // namespace

TEST(Session, APlainLoopOnOneThreadReplaysToTheVerdict)
{
    std::string error;
    ASSERT_TRUE(session::openReplay("tests/recordings/shape.rec", error)) << error;
    const int threads = threadsOfThisProcess();
    testing::internal::CaptureStdout();
    const int status = runOnThisThread();
    const std::string out = testing::internal::GetCapturedStdout();
    EXPECT_EQ(status, replay::kIdentical) << out;
    EXPECT_NE(out.find(" ticks, identical\n"), std::string::npos) << out;
    // Nothing in the run started a thread of its own.
    EXPECT_EQ(threadsOfThisProcess(), threads);
}

using SessionInWindow = keyevents::KeyEvents;

TEST_F(SessionInWindow, RecordedIntoMemoryReplaysIdentical)
{
    // From a scene, which names every body's slot: the replay's world, built
    // in this process after the recorded one, takes the same slots.
    scene::Scene start;
    std::string error;
    ASSERT_TRUE(scene::read("scenes/start.scene", start, error)) << error;
    session::useScene(start);
    recording::MemorySink sink;
    session::recordInto(sink);
    debug::init();
    session::start(false);
    const int kTicks = 250;
    for (int t = 0; t < kTicks; ++t) {
        // The well switched on and off, so that the input is no idle one.
        if (t % 60 == 10)
            keyevents::press(key::well);
        if (t % 60 == 40)
            keyevents::release(key::well);
        ASSERT_EQ(session::tick(), session::Ran::tick) << "tick " << t;
    }
    ASSERT_EQ(session::stop(), 0);
    debug::clean();

    const ScratchFile file;
    file.write(std::string(sink.bytes().begin(), sink.bytes().end()));
    const Copy copy = readRecording(file.path);
    ASSERT_EQ(copy.ticks.size(), static_cast<std::size_t>(kTicks));
    ASSERT_EQ(copy.hashes.size(), 3u);
    std::size_t well = 0;
    while (well < copy.bindings.size() && copy.bindings[well].name != "well")
        ++well;
    ASSERT_LT(well, copy.bindings.size());
    int presses = 0;
    for (recording::Input const& in : copy.ticks)
        presses += in.statuses[well] == input::JustPressed;
    EXPECT_EQ(presses, 4);
    ASSERT_TRUE(session::openReplay(file.path, error)) << error;
    testing::internal::CaptureStdout();
    const int status = runOnThisThread();
    const std::string out = testing::internal::GetCapturedStdout();
    EXPECT_EQ(status, replay::kIdentical) << out;
    EXPECT_NE(out.find("replay: 250 ticks, identical\n"), std::string::npos) << out;
}

// The end key stops a replay in the window however the loaded SDL numbers
// it: bound to the Windows key, which the compatibility implementation
// reports as Meta, its release stops the replay as it ends a live run.
TEST_F(SessionInWindow, TheEndKeyStopsAReplayWhateverItsCode)
{
    Copy copy = readRecording(kPour);
    bool bound = false;
    for (recording::Binding& binding : copy.bindings)
        if (binding.name == "end") {
            binding.code = SDLK_LSUPER;
            bound = true;
        }
    ASSERT_TRUE(bound);
    const ScratchFile file;
    writeRecording(file.path, copy);
    std::string error;
    ASSERT_TRUE(session::openReplay(file.path, error)) << error;
    debug::init();
    session::start(false);
    for (int t = 0; t < 5; ++t)
        ASSERT_EQ(session::tick(), session::Ran::tick);
    // The code this SDL gives the Windows key.
    const int windowsKey = sdlCompat::classicKeyCode(SDLK_LMETA) == SDLK_LSUPER ? SDLK_LMETA : SDLK_LSUPER;
    keyevents::release(windowsKey);
    EXPECT_EQ(session::tick(), session::Ran::none);
    testing::internal::CaptureStdout();
    const int status = session::stop();
    const std::string out = testing::internal::GetCapturedStdout();
    debug::clean();
    EXPECT_EQ(status, replay::kIdentical);
    EXPECT_NE(out.find("replay: stopped after tick 5\n"), std::string::npos) << out;
}
