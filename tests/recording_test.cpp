// Recordings: what is written reads back the same, and every kind of bad
// file ends in a clear verdict, never a crash, a hang or unbounded memory.

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <vector>

#include "recordFile.h"
#include "recordReader.h"
#include "recordSink.h"
#include "scratch_file.h"

using recording::Reader;

namespace {

using Next = Reader::Next;

recording::Input tickNumber(int i)
{
    recording::Input tick;
    tick.pointer = {i * 7 - 50, 100000 - i, i % 2 == 0, i % 3 == 0, i % 5 == 0};
    tick.closed = i % 50 == 49;
    for (int b = 0; b < 10; ++b)
        tick.statuses.push_back(static_cast<input::KeyStatus>((i + b) % 4));
    return tick;
}

// A recording of `ticks` ticks whose world hash after tick t is t * 1000,
// written by the program's file writer.
void writeRecording(std::string const& path, int ticks, std::uint32_t historyMiB = 77)
{
    std::string error;
    ASSERT_TRUE(recordFile::open(path, error)) << error;
    recordFile::start();
    recording::Sink& sink = recordFile::sink();
    recording::Encoder encoder;
    std::vector<recording::Binding> bindings;
    for (int b = 0; b < 10; ++b)
        bindings.push_back({"binding" + std::to_string(b), static_cast<SDLKey>(b * 31 + 7)});
    sink.write(encoder.header(bindings, std::string(), historyMiB));
    for (int t = 1; t <= ticks; ++t) {
        sink.write(encoder.input(tickNumber(t)));
        if (t % 100 == 0)
            sink.write(encoder.check(static_cast<std::uint32_t>(t), static_cast<std::uint64_t>(t) * 1000));
    }
    sink.write(encoder.end(static_cast<std::uint32_t>(ticks), static_cast<std::uint64_t>(ticks) * 1000));
    sink.close();
}

struct Outcome {
    bool opened = false;
    std::string error;
    int ticks = 0;
    std::vector<std::uint32_t> checks;
    Next last = Next::end;
    std::uint32_t endTicks = 0;
};

// Reads a whole file as a replay does, with a bound on the records.
Outcome readAll(std::string const& path)
{
    Outcome outcome;
    Reader reader;
    outcome.opened = reader.open(path, outcome.error);
    if (!outcome.opened)
        return outcome;
    for (int record = 0; record < 1000000; ++record) {
        recording::Input tick;
        std::uint32_t ticks = 0;
        std::uint64_t hash = 0;
        const Next next = reader.next(tick, ticks, hash, outcome.error);
        if (next == Next::input) {
            ++outcome.ticks;
            continue;
        }
        if (next == Next::check) {
            outcome.checks.push_back(ticks);
            continue;
        }
        outcome.last = next;
        outcome.endTicks = ticks;
        return outcome;
    }
    ADD_FAILURE() << "no end after a million records";
    return outcome;
}

}  // namespace

TEST(Recording, ReadsBackWhatWasWritten)
{
    ScratchFile file;
    writeRecording(file.path, 250);
    Reader reader;
    std::string error;
    ASSERT_TRUE(reader.open(file.path, error)) << error;
    ASSERT_EQ(reader.bindings().size(), 10u);
    EXPECT_EQ(reader.bindings()[3].name, "binding3");
    EXPECT_EQ(reader.bindings()[9].code, static_cast<SDLKey>(286));
    EXPECT_EQ(reader.historyMiB(), 77u);
    int t = 0;
    for (;;) {
        recording::Input tick;
        std::uint32_t ticks = 0;
        std::uint64_t hash = 0;
        const Next next = reader.next(tick, ticks, hash, error);
        if (next == Next::input) {
            const recording::Input expected = tickNumber(++t);
            EXPECT_EQ(tick.pointer.x, expected.pointer.x);
            EXPECT_EQ(tick.pointer.y, expected.pointer.y);
            EXPECT_EQ(tick.pointer.left, expected.pointer.left);
            EXPECT_EQ(tick.pointer.right, expected.pointer.right);
            EXPECT_EQ(tick.pointer.middle, expected.pointer.middle);
            EXPECT_EQ(tick.closed, expected.closed);
            EXPECT_EQ(tick.statuses, expected.statuses) << "tick " << t;
            continue;
        }
        ASSERT_TRUE(next == Next::check || next == Next::end) << error;
        EXPECT_EQ(ticks, static_cast<std::uint32_t>(t));
        EXPECT_EQ(hash, static_cast<std::uint64_t>(t) * 1000);
        if (next == Next::end)
            break;
        EXPECT_EQ(t % 100, 0);
    }
    EXPECT_EQ(t, 250);
    // Ten minutes at a hundred ticks a second stay well under a few MiB.
    EXPECT_LT(file.bytes().size() * 60000 / 250, 1u << 20);
}

// A good recording of 230 ticks, to damage.
class BadRecording : public ::testing::Test {
protected:
    BadRecording()
    {
        writeRecording(file.path, 230);
        good = file.bytes();
    }
    Outcome verdict(std::string const& bytes)
    {
        file.write(bytes);
        return readAll(file.path);
    }

    ScratchFile file;
    std::string good;
    // The header: magic, version, 10 bindings of 8-byte names, no scene,
    // the history's cap, checksum.
    const std::size_t header = 8 + 5 + 10 * (1 + 8 + 4) + 4 + 4 + 8;
    const std::size_t tickBytes = 1 + 9 + 3;
    const std::size_t firstCheck = header + 100 * tickBytes;
};

TEST_F(BadRecording, AHeaderThatCannotServeIsRefusedAtOpening)
{
    Outcome outcome = verdict(good);
    EXPECT_EQ(outcome.last, Next::end);
    EXPECT_EQ(outcome.ticks, 230);
    EXPECT_EQ(outcome.checks, (std::vector<std::uint32_t>{100, 200}));

    for (std::string const& notOne : {std::string(), std::string("BALLPIT"), std::string("pause = p\n"),
                                      std::string(1000, '\0')}) {
        outcome = verdict(notOne);
        EXPECT_FALSE(outcome.opened);
        EXPECT_NE(outcome.error.find("is not a recording"), std::string::npos) << outcome.error;
    }

    std::string other = good;
    other[8] = 5;
    outcome = verdict(other);
    EXPECT_FALSE(outcome.opened);
    EXPECT_NE(outcome.error.find("format version 5"), std::string::npos) << outcome.error;

    // A scene longer than any world, or than the file.
    for (unsigned char top : {0x7f, 0x00}) {
        std::string long_scene = good;
        long_scene[header - 13] = static_cast<char>(top);
        long_scene[header - 14] = 1;
        outcome = verdict(long_scene);
        EXPECT_FALSE(outcome.opened);
        EXPECT_NE(outcome.error.find(top != 0 ? "corrupted" : "cut short"), std::string::npos) << outcome.error;
    }

    outcome = verdict(good.substr(0, header - 3));
    EXPECT_FALSE(outcome.opened);
    EXPECT_NE(outcome.error.find("cut short"), std::string::npos) << outcome.error;

    std::string damagedName = good;
    damagedName[15] ^= 1;
    outcome = verdict(damagedName);
    EXPECT_FALSE(outcome.opened);
    EXPECT_NE(outcome.error.find("corrupted"), std::string::npos) << outcome.error;

    // A history larger than any session keeps, checksum and all.
    writeRecording(file.path, 10, recording::kMostHistoryMiB + 1);
    outcome = readAll(file.path);
    EXPECT_FALSE(outcome.opened);
    EXPECT_NE(outcome.error.find("corrupted"), std::string::npos) << outcome.error;

    EXPECT_FALSE(readAll("/tmp").opened);
    EXPECT_NE(readAll("/tmp").error.find("is a directory"), std::string::npos);
    EXPECT_FALSE(readAll("/nonexistent/recording").opened);
}

TEST_F(BadRecording, DamagedOrCutRecordsEndInTheirVerdict)
{
    // Damage inside a stretch: none of its ticks come out.
    std::string damagedTick = good;
    damagedTick[header + 150 * tickBytes + 3] ^= 0x40;
    Outcome outcome = verdict(damagedTick);
    EXPECT_EQ(outcome.last, Next::corrupted);
    EXPECT_EQ(outcome.ticks, 100);

    // A damaged hash is damage, not a divergence.
    std::string damagedHash = good;
    damagedHash[firstCheck + 6] ^= 1;
    outcome = verdict(damagedHash);
    EXPECT_EQ(outcome.last, Next::corrupted);
    EXPECT_EQ(outcome.ticks, 0);

    std::string unknown = good;
    unknown[header] = 'X';
    EXPECT_EQ(verdict(unknown).last, Next::corrupted);

    EXPECT_EQ(verdict(good + "T").last, Next::corrupted);

    // Cut short: what is there, then the cut.
    outcome = verdict(good.substr(0, firstCheck + 21 + 40 * tickBytes + 5));
    EXPECT_EQ(outcome.last, Next::truncated);
    EXPECT_EQ(outcome.ticks, 140);
    EXPECT_EQ(outcome.endTicks, 140u);
    outcome = verdict(good.substr(0, header));
    EXPECT_EQ(outcome.last, Next::truncated);
    EXPECT_EQ(outcome.ticks, 0);
}

// Random damage anywhere, never a crash or a hang: every read ends in one of
// the verdicts, and a file with damage never reads as whole.
TEST(Recording, RandomDamageEndsInAVerdict)
{
    ScratchFile file;
    writeRecording(file.path, 320);
    const std::string good = file.bytes();
    std::mt19937 random(7);
    for (int round = 0; round < 400; ++round) {
        std::string bytes = good;
        const int hits = 1 + static_cast<int>(random() % 4);
        for (int hit = 0; hit < hits; ++hit) {
            const std::size_t at = random() % bytes.size();
            switch (random() % 3) {
            case 0:
                bytes[at] = static_cast<char>(bytes[at] ^ (1 + random() % 255));
                break;
            case 1:
                bytes.erase(at, 1 + random() % 16);
                break;
            default:
                bytes.insert(at, std::string(1 + random() % 16, static_cast<char>(random())));
                break;
            }
            if (bytes.empty())
                break;
        }
        if (bytes == good)
            continue;
        file.write(bytes);
        const Outcome outcome = readAll(file.path);
        EXPECT_FALSE(outcome.opened && outcome.last == Next::end && outcome.endTicks == 320 &&
                     outcome.ticks == 320)
            << "round " << round;
    }
}
