// Replays judged by the world they build: a recorded session whose input is
// changed, with every checksum still sound, diverges at the first hash after
// the change; a recording that names a binding this program lacks is refused.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "recording.h"
#include "scratch_file.h"
#include "session.h"

namespace {

const char kPour[] = "tests/recordings/pour.rec";

struct Copy {
    std::vector<recording::Binding> bindings;
    std::string scene;
    std::vector<recording::Tick> ticks;
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
    for (;;) {
        recording::Tick tick;
        std::uint32_t ticks = 0;
        std::uint64_t hash = 0;
        const auto next = reader.next(tick, ticks, hash, error);
        if (next == recording::Reader::Next::tick) {
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
    std::string error;
    ASSERT_TRUE(recording::open(path, error)) << error;
    recording::begin(copy.bindings, copy.scene);
    std::uint32_t t = 0;
    for (recording::Tick const& tick : copy.ticks) {
        recording::tick(tick);
        if (++t % recording::kTicksPerCheck == 0)
            recording::check(t, copy.hashes[t / recording::kTicksPerCheck - 1]);
    }
    recording::finish(t, copy.hashes.back());
}

// The headless replay of `path`: its exit status and its output.
int replay(std::string const& path, std::string& out, std::string& err)
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
    EXPECT_EQ(replay(path, out, err), session::kIdentical) << out << err;
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
    EXPECT_EQ(replay(path, out, err), session::kDiverged) << out << err;
    EXPECT_NE(out.find("replay: diverged at tick 200\n"), std::string::npos) << out;
}

TEST(Session, UnknownBindingIsRefused)
{
    Copy copy = readRecording(kPour);
    copy.bindings[0].name = "jump";
    const ScratchFile file;
    const std::string& path = file.path;
    writeRecording(path, copy);
    std::string error;
    ASSERT_TRUE(session::openReplay(path, error)) << error;
    EXPECT_EXIT(session::replayHeadless(), testing::ExitedWithCode(session::kBadRecording), "does not have: jump");
}
