// Scenes: what is written reads back to the bit, every kind of bad file is
// refused with its line and reason, a world saved in the middle of a session
// goes on from its file exactly as it would have gone on at once, a reset
// builds the scene again, and scenes are found in the one search order.

#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "Ball.h"
#include "Polygon.h"
#include "config.h"
#include "debug.h"
#include "effectManager.h"
#include "entityManager.h"
#include "float_checks.h"
#include "game.h"
#include "graphics.h"
#include "inputManager.h"
#include "keys.h"
#include "scene.h"
#include "sceneFiles.h"
#include "session.h"
#include "scratch_file.h"
#include "world.h"

namespace {


std::string errorOf(std::string const& text)
{
    scene::Scene scene;
    std::string error;
    EXPECT_FALSE(scene::parse(text, scene, error)) << text;
    return error;
}

// The game driven tick by tick from input values, as in the program, from
// the starting scene or the one given.
class World {
public:
    explicit World(scene::Scene const* start = nullptr)
    {
        debug::init();
        game::init();
        if (start != nullptr)
            world::build(*start);
        else
            world::build();
        input::init();
    }
    ~World()
    {
        game::clean();
        debug::clean();
    }

    // Tick t of a scripted session: the left button pours at a moving
    // point, the right one takes balls back, the well pulls and follows.
    void tick(int t)
    {
        input::Frame in;
        in.pointer = {100 + (t * 37) % 600, 100 + (t * 11) % 300, t % 50 < 20, t % 70 > 55, false};
        if (t % 90 == 10)
            input::setStatus(in, key::well, input::JustPressed);
        if (t % 90 == 60)
            input::setStatus(in, key::well, input::JustReleased);
        if (t % 90 > 30)
            input::setStatus(in, key::follow, input::Held);
        session::step(in);
    }
    // A tick in which only `key` goes down.
    void press(SDLKey key)
    {
        input::Frame in;
        input::setStatus(in, key, input::JustPressed);
        session::step(in);
    }

    static std::string text() { return scene::write(world::capture()); }
};

}  // namespace

TEST(Scene, WrittenScenesReadBackToTheBit)
{
    scene::Scene scene;
    scene::Body ball;
    ball.position = Vector2(-0.0f, 1.0f / 3.0f);
    ball.velocity = Vector2(1e-30f, -123.456f);
    ball.radius = 7.25f;
    ball.mass = 5.0f;
    ball.colour = cMagenta;
    ball.start = true;
    ball.slot = 4;
    scene::Body polygon;
    polygon.ball = false;
    polygon.colour = cOrange;
    polygon.corners = {Vector2(0.1f, 0.2f), Vector2(700, 0.3f), Vector2(350.5f, 599.9f)};
    polygon.position = Vector2(3, 4);
    polygon.velocity = Vector2(0.5f, 0.25f);
    polygon.slot = 9;
    scene.bodies = {ball, polygon};
    scene.well = Vector2(12.5f, 99.0f);
    scene.wellOn = true;
    scene.free = {7, 2, 5};

    const std::string text = scene::write(scene);
    scene::Scene back;
    std::string error;
    ASSERT_TRUE(scene::parse(text, back, error)) << error;
    EXPECT_EQ(scene::write(back), text);
    ASSERT_EQ(back.bodies.size(), 2u);
    EXPECT_TRUE(sameBits(back.bodies[0].position, ball.position));
    EXPECT_TRUE(sameBits(back.bodies[0].velocity, ball.velocity));
    EXPECT_EQ(back.bodies[0].colour, cMagenta);
    EXPECT_TRUE(back.bodies[0].start);
    EXPECT_EQ(back.bodies[1].corners.size(), 3u);
    EXPECT_TRUE(sameBits(back.bodies[1].corners[2], polygon.corners[2]));
    EXPECT_EQ(back.free, (std::vector<std::size_t>{7, 2, 5}));

    // By hand: decimals, comments, blank lines, CR line ends; slots and the
    // right button's queue follow the file.
    ASSERT_TRUE(scene::parse("ballpit scene 1\r\n# two balls\n\nball 100 200 0 0 10 1 cCyan # the first\r\n"
                             "ball 1e2 2.5e2 0.5 -0.5 10 2 cWhite\npolygon cRed 500 500 300 500 500 300\n",
                             back, error))
        << error;
    EXPECT_EQ(back.bodies[1].queue, 1u);
    EXPECT_EQ(back.bodies[2].slot, 2u);
    EXPECT_FLOAT_EQ(back.bodies[1].position.y, 250.0f);
}

TEST(Scene, BadFilesAreRefusedWithTheirLineAndReason)
{
    const std::string head = "ballpit scene 1\n";
    const std::vector<std::pair<std::string, std::string>> bad = {
        {"", "1: the file is empty"},
        {"ballpit scene 2\n", "1: a scene of format version 2"},
        {"pause = p\n", "1: not a ballpit scene"},
        {std::string("ballpit scene 1\nball\0 1", 24), "2: binary data"},
        {head + "ball 1 2 3\n", "2: no velocity"},
        {head + "\nball 1 x 0 0 10 1 cCyan\n", "3: 'x' is not a number (position)"},
        {head + "ball 1 2 0 0 10 1 cPink\n", "2: unknown colour 'cPink'"},
        {head + "ball nan 2 0 0 10 1 cCyan\n", "2: position 'nan' is not a finite number"},
        {head + "ball 1 2 inf 0 10 1 cCyan\n", "2: velocity 'inf' is not a finite number"},
        {head + "ball 1 2 0 0 -10 1 cCyan\n", "2: the radius -10 is not above 0"},
        {head + "ball 1 2 0 0 10 0 cCyan\n", "2: the mass 0 is not above 0"},
        {head + "ball 1e30 2 0 0 10 1 cCyan\n", "2: position 1e30 is out of range"},
        {head + "polygon cRed 0 0 10 0\n", "2: a polygon has at least 3 corners"},
        {head + "polygon cRed 0 0 10 0 10 10 5 2 0 10\n", "2: the polygon is not convex"},
        {head + "polygon cRed 0 0 10 0 10 10 0 10 0 0 10 0 10 10 0 10 0 0 10 0 10 10 0 10 0 0 10 0 10 10 0 10 1 1\n",
         "2: a polygon has at most 16 corners"},
        {head + "polygon cRed 100 0 195 69 159 181 41 181 5 69 100 0 195 69 159 181 41 181 5 69\n",
         "2: the polygon is not convex"},
        {head + "ball 1 2 0 0 10 1 cCyan slot 5\nball 1 2 0 0 10 1 cCyan slot 5\n", "3: body 2: slots must rise"},
        {head + "ball 1 2 0 0 10 1 cCyan slot 1048576\n", "2: slot '1048576' is not a whole number below"},
        {head + "ball 1 2 0 0 10 1 cCyan\nfree 0\n", "3: slot 0 is free and taken"},
        {head + "ball 1 2 0 0 10 1 cCyan queue 1\n", "2: the queue places of the balls are not 0 to 0"},
        {head + "ball 1 2 0 0 10 1 cCyan extra\n", "2: 'extra' after the end of the line's fields"},
        {head + "wall 1 2\n", "2: unknown line 'wall'"},
        {head + "well 1 2 maybe\n", "2: the well is neither on nor off"},
        {head + std::string(5000, ' ') + "\n", "2: a line longer than 4096 bytes"},
    };
    for (auto const& [text, reason] : bad)
        EXPECT_EQ(errorOf(text).rfind(reason, 0), 0u) << "got \"" << errorOf(text) << "\" for " << text;

    // One polygon more than the world holds, whichever way it is written.
    std::string crowded = head;
    for (std::size_t i = 0; i <= polygon::kMaxInWorld; ++i)
        crowded += "polygon cOrange " + std::to_string(10 * i) + " 0 " + std::to_string(10 * i + 5) + " 0 " +
                   std::to_string(10 * i) + " 5\n";
    EXPECT_EQ(errorOf(crowded), "66: more polygons than the world holds (64)");

    // More bodies than the arena holds, one a line.
    std::string crowd = head;
    for (int i = 0; i <= (1 << 20); ++i)
        crowd += "ball 1 2 0 0 1 1 cCyan\n";
    EXPECT_EQ(errorOf(crowd), "1048578: more bodies than the world holds (1048576)");

    scene::Scene scene;
    std::string error;
    EXPECT_FALSE(scene::read("/nonexistent/a.scene", scene, error));
    EXPECT_EQ(error, "/nonexistent/a.scene:0: No such file or directory");
    EXPECT_FALSE(scene::read("/tmp", scene, error));
    EXPECT_EQ(error, "/tmp:0: a directory, not a scene");
    ScratchFile file;
    file.write(head + "ball 1 2 0 0 10 1\n");
    EXPECT_FALSE(scene::read(file.path, scene, error));
    EXPECT_EQ(error, file.path + ":2: no colour");
}

// Saved after 300 ticks of pouring, removing and pulling, and read into a
// fresh world, the world goes on under the same input exactly as the one
// that was not interrupted: the arena's free slots, the right button's
// queue and the well are all in the file.
TEST(Scene, ASavedWorldGoesOnAsTheUninterruptedOne)
{
    std::string saved;
    std::uint64_t uninterrupted = 0;
    {
        World world;
        for (int t = 0; t < 300; ++t)
            world.tick(t);
        saved = World::text();
        for (int t = 300; t < 600; ++t)
            world.tick(t);
        uninterrupted = manager::worldHash();
    }
    scene::Scene scene;
    std::string error;
    ASSERT_TRUE(scene::parse(saved, scene, error)) << error;
    ASSERT_FALSE(scene.free.empty());
    World world(&scene);
    EXPECT_EQ(World::text(), saved);
    for (int t = 300; t < 600; ++t)
        world.tick(t);
    EXPECT_EQ(manager::worldHash(), uninterrupted);
}

// A reset builds the scene the run started from again, each body in its slot
// with the arena's free slots as they were, and leaves the well where it is.
TEST(Scene, AResetBuildsTheSceneAgainAndLeavesTheWell)
{
    scene::Scene scene;
    std::string error;
    ASSERT_TRUE(scene::parse("ballpit scene 1\nball 300 200 0 0 10 1 cCyan slot 3\nball 340 200 0 0 15 5 cRed start\n"
                             "polygon cOrange 200 400 600 300 600 320 200 420 slot 7\nwell 100 100 on\nfree 5 1\n",
                             scene, error))
        << error;
    World world(&scene);
    scene::Scene built = world::capture();
    for (int t = 0; t < 200; ++t)
        world.tick(t);
    world.press(key::pause);
    effect::setWell(Vector2(7, 8), false);
    world.press(key::reset);
    built.well = Vector2(7, 8);
    built.wellOn = false;
    EXPECT_EQ(World::text(), scene::write(built));
}

// Scenes are looked for as the key file is: under the working directory, then
// the user's saved ones, then the installed presets; the list names each
// scene where finding it by name takes it from.
TEST(SceneFiles, FoundAndListedInTheOneSearchOrder)
{
    char pattern[] = "/tmp/ballpit-scenes-XXXXXX";
    ASSERT_NE(mkdtemp(pattern), nullptr);
    const std::filesystem::path root = pattern;
    const std::filesystem::path saved = root / "data" / "ballpit" / "scenes";
    std::filesystem::create_directories(saved);
    std::filesystem::create_directories(root / "scenes");
    ASSERT_EQ(chdir(pattern), 0);
    setenv("XDG_DATA_HOME", (root / "data").c_str(), 1);
    for (std::filesystem::path const& file : {root / "scenes" / "both.scene", saved / "both.scene",
                                             root / "scenes" / "preset.scene", saved / "mine.scene"})
        std::ofstream(file) << "ballpit scene 1\n";

    EXPECT_EQ(sceneFiles::find("both"), "scenes/both.scene");
    EXPECT_EQ(sceneFiles::find("mine"), (saved / "mine.scene").string());
    std::vector<std::string> listed;
    for (sceneFiles::Entry const& entry : sceneFiles::list())
        listed.push_back(entry.name + " " + entry.path);
    EXPECT_EQ(listed, (std::vector<std::string>{"both scenes/both.scene", "preset scenes/preset.scene",
                                                "mine " + (saved / "mine.scene").string()}));
    std::filesystem::remove_all(root);
}
