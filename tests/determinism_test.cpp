// The same scene run in two fresh processes ends in the same state, to the
// last bit: recorded trajectories are only worth comparing if it does.

#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <sys/wait.h>

#include "PhysicsEntity.h"
#include "entityCreator.h"
#include "entityManager.h"
#include "graphics.h"
#include "starting_scene.h"

namespace {

const char kDumpSwitch[] = "BALLPIT_TRAJECTORY_DUMP";
const char kLinePrefix[] = "body ";

std::string ownExecutable()
{
    char path[4096];
    const ssize_t length = readlink("/proc/self/exe", path, sizeof path - 1);
    if (length <= 0)
        return std::string();
    return std::string(path, static_cast<std::size_t>(length));
}

// The body lines a fresh process of this program prints for the dump case.
std::string dumpFromFreshProcess()
{
    const std::string command = std::string(kDumpSwitch) + "=1 '" + ownExecutable() +
                                "' --gtest_filter=Determinism.TrajectoryDump 2>&1";
    FILE* pipe = popen(command.c_str(), "r");
    EXPECT_NE(pipe, nullptr);
    if (pipe == nullptr)
        return std::string();
    std::string lines;
    char line[512];
    while (std::fgets(line, sizeof line, pipe) != nullptr)
        if (std::string(line).rfind(kLinePrefix, 0) == 0)
            lines += line;
    const int status = pclose(pipe);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "status " << status;
    return lines;
}

int countLines(std::string const& text)
{
    int count = 0;
    for (const char c : text)
        count += c == '\n';
    return count;
}

}  // namespace

// Runs only as the child of the case below: the starting scene plus a ball
// dropped every 100 ticks, 1000 ticks, then every body's state in hex floats.
TEST(Determinism, TrajectoryDump)
{
    if (std::getenv(kDumpSwitch) == nullptr)
        GTEST_SKIP() << "run by FreshProcessesAgreeToTheBit";
    buildStartingScene();
    for (int tick = 0; tick < 1000; ++tick) {
        if (tick % 100 == 50)
            creator::addBall(Vector2(380.0f + static_cast<float>(tick) / 10.0f, 60.0f), 10.0f, cCyan);
        manager::update(10.0f);
    }
    for (PhysicsEntity const* body : placedBodies())
        std::printf("%s%a %a %a %a\n", kLinePrefix, static_cast<double>(body->position.x),
                    static_cast<double>(body->position.y), static_cast<double>(body->velocity.x),
                    static_cast<double>(body->velocity.y));
    std::fflush(stdout);
}

TEST(Determinism, FreshProcessesAgreeToTheBit)
{
    const std::string first = dumpFromFreshProcess();
    const std::string second = dumpFromFreshProcess();
    // 58 balls and the triangle of the scene, and the ten dropped balls.
    EXPECT_EQ(countLines(first), 69);
    EXPECT_EQ(first, second);
}
