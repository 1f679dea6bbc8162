// ballpit-bench: times the world step headless (no window, no threads), with
// the modules driven as the update thread drives them.
//
//   ballpit-bench [--csv DIR] [--ticks T] [--cap C] [--frames F] [lattice N | pour | pile | pegs N | scene NAME | scenes DIR | draw N | record N | rewind N]...
//
// Without scenarios it runs lattice 500, lattice 2000 and pour. `draw N`
// times frames instead: it pours a pile of N balls headless, then draws it F
// times in a real window (it needs an X display) as the draw thread does.
// `record N` pours N balls, then times ticks with and without recording them
// (the input handed over every tick, the world's hash every 100), in
// alternating blocks, and reports what recording adds. `rewind N` pours N
// balls through the session's ticks, then times ticks with and without the
// history in alternating blocks, the memory a second of history takes, and
// the rewind key held for 500 ticks (each checked against its tick's hash
// going forwards); it reads the key file as the program does. `lattice N` times
// N balls of the lattice (any number the arena holds; 2,000 are the lattice
// preset), `pile` the pile scene, `scene
// NAME` any scene (a preset, a saved scene or a file), `pegs N` a pile of
// N balls poured over 32 obstacles. `scenes DIR` writes the preset scenes
// into DIR: the repository's scenes/ are what it writes. Each scenario
// runs in a child process of its own: the modules keep their state in
// file-local statics, and a fresh heap keeps the address order of the bodies
// (which decides the order of updates and contact tests) reproducible.

#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iomanip>
#include <iostream>
#include <sstream>
#include <string>
#include <vector>

#include <SDL.h>

#include "Ball.h"
#include "Vector2.h"
#include "debug.h"
#include "entityArena.h"
#include "entityCreator.h"
#include "entityManager.h"
#include "graphics.h"
#include "history.h"
#include "inputManager.h"
#include "keys.h"
#include "measure.h"
#include "recordFile.h"
#include "recordFormat.h"
#include "recordSink.h"
#include "scene.h"
#include "sceneFiles.h"
#include "session.h"
#include "world.h"
#include "worlds.h"

namespace {

// The starting scene: eight heavy balls and the diagonal of fifty.
const int kStartingBalls = 58;
const double kBudgetMs = 10.0;
const std::size_t kBudgetWindow = 100;
const std::size_t kReportWindow = 500;
const int kPourMargin = 1000;

struct Options {
    std::string csvDir = "build/bench";
    int latticeTicks = 1000;
    int pourCap = 12000;
    int drawFrames = 200;
};

struct Scenario {
    std::string name;      // "lattice", "pour", "pile", "pegs", "scene", "scenes", "draw", "record" or "rewind"
    int balls;             // lattice, pegs, draw, record and rewind
    std::string argument;  // scene: its name or file; scenes: the directory
};

// Per tick: the balls in the world during it, and its wall and processor time.
struct Samples {
    std::vector<int> balls;
    std::vector<double> wall;
    std::vector<double> cpu;

    // Reserved up front so the harness allocates nothing between the balls.
    explicit Samples(std::size_t capacity)
    {
        balls.reserve(capacity);
        wall.reserve(capacity);
        cpu.reserve(capacity);
    }

    void add(int ballCount, bench::Stopwatch const& watch)
    {
        wall.push_back(watch.wallMs());
        cpu.push_back(watch.cpuMs());
        balls.push_back(ballCount);
    }
};

std::string hex(std::uint64_t value)
{
    std::ostringstream out;
    out << std::hex << std::setw(16) << std::setfill('0') << value;
    return out.str();
}

std::ofstream openOrDie(std::string const& path, std::ios::openmode mode)
{
    std::ofstream file(path, mode);
    if (!file) {
        std::cerr << "ballpit-bench: cannot write " << path << std::endl;
        debug::quit(1);
    }
    return file;
}

void writeTicks(std::string const& path, Samples const& samples)
{
    std::ofstream file = openOrDie(path, std::ios::trunc);
    file << "tick,balls,ms,cpu_ms\n" << std::setprecision(6) << std::fixed;
    for (std::size_t t = 0; t < samples.wall.size(); ++t)
        file << t << ',' << samples.balls[t] << ',' << samples.wall[t] << ',' << samples.cpu[t] << '\n';
    std::cout << "  csv: " << path << '\n';
}

// Rows "scenario,metric,value" of summary.csv, for scripts/bench.
class Summary {
public:
    Summary(std::string const& dir, std::string scenario)
        : file(openOrDie(dir + "/summary.csv", std::ios::app)), scenario(std::move(scenario))
    {
        file << std::setprecision(6) << std::fixed;
    }

    template <typename T>
    void add(std::string const& metric, T const& value)
    {
        file << scenario << ',' << metric << ',' << value << '\n';
    }

    // Prints and records the mean wall and processor time of ticks [from, to).
    void addMeans(std::string const& label, std::string const& metric, Samples const& samples, std::size_t from,
                  std::size_t to, std::string const& suffix = "")
    {
        const double wall = bench::meanMs(samples.wall, from, to);
        const double cpu = bench::meanMs(samples.cpu, from, to);
        std::cout << "  " << std::left << std::setw(30) << label << std::right << std::setw(9) << wall
                  << " ms  (processor " << std::setw(8) << cpu << " ms)" << suffix << std::endl;
        add("mean_ms_" + metric, wall);
        add("mean_cpu_ms_" + metric, cpu);
    }

private:
    std::ofstream file;
    std::string scenario;
};

// The first tick at which the mean time of the last kBudgetWindow ticks
// exceeds the budget, in wall-clock or in processor time.
struct Budget {
    char const* metric;
    char const* clock;
    long tick;

    void watch(std::vector<double> const& ms, std::size_t t)
    {
        if (tick < 0 && bench::trailingMeanOver(ms, kBudgetWindow, kBudgetMs))
            tick = static_cast<long>(t);
    }

    void report(Summary& summary, Samples const& samples) const
    {
        std::cout << "  " << clock << " budget tick (mean " << clock << " time of the last " << kBudgetWindow
                  << " ticks above " << kBudgetMs << " ms): ";
        if (tick < 0) {
            std::cout << "not reached\n";
            return;
        }
        std::cout << tick << " with " << samples.balls[tick] << " balls\n";
        summary.add(std::string(metric) + "_tick", tick);
        summary.add(std::string(metric) + "_balls", samples.balls[tick]);
    }
};

// The world's hash after the ticks: the same on every run of the scenario.
void reportHash(Summary& summary)
{
    const std::string hash = hex(manager::worldHash());
    std::cout << "  world hash: " << hash << '\n';
    summary.add("state_hash", hash);
}

// `ticks` world steps of a world of `count` balls, each timed.
Samples timeSteps(int count, std::size_t ticks)
{
    Samples samples(ticks);
    for (std::size_t t = 0; t < ticks; ++t) {
        const bench::Stopwatch watch;
        manager::update(bench::kStep);
        samples.add(count, watch);
    }
    return samples;
}

// A scene's world, as the program starts from it; gives the balls in it.
int loadScene(std::string const& name)
{
    scene::Scene world;
    std::string error;
    if (!sceneFiles::load(name, world, error)) {
        std::cerr << "ballpit-bench: " << error << std::endl;
        debug::quit(1);
    }
    bench::buildWorld(world);
    return creator::ballCount();
}

// Ticks of the world built, `balls` of them balls, reported as `name`.
void runTicks(int balls, std::string const& about, std::string const& name, Options const& options)
{
    const std::size_t ticks = static_cast<std::size_t>(options.latticeTicks);
    const Samples samples = timeSteps(balls, ticks);

    Summary summary(options.csvDir, name);
    std::cout << std::fixed << std::setprecision(3) << name << ": " << balls << " balls of " << about << ", "
              << ticks << " ticks of manager::update(10)\n";
    summary.addMeans("mean per tick, all ticks:", "all", samples, 0, ticks);
    if (ticks >= kReportWindow)
        summary.addMeans("mean per tick, last 500 ticks:", "last500", samples, ticks - kReportWindow, ticks);
    reportHash(summary);
    writeTicks(options.csvDir + "/" + name + ".csv", samples);
}

// Ticks of a scene's world (see loadScene).
void runScene(std::string const& scene, std::string const& name, Options const& options)
{
    runTicks(loadScene(scene), "the scene " + scene, name, options);
}

// Ticks of `count` balls of the lattice; 2,000 of them are the lattice
// preset, to the bit.
void runLattice(int count, Options const& options)
{
    bench::buildWorld(bench::latticeScene(count));
    runTicks(count, "the lattice", "lattice-" + std::to_string(count), options);
}

void runPour(Options const& options)
{
    bench::buildWorld(world::startingScene());
    const std::size_t cap = static_cast<std::size_t>(options.pourCap);
    std::vector<Ball*> poured;
    poured.reserve(cap);
    Samples samples(cap);
    Summary summary(options.csvDir, "pour");
    std::cout << std::fixed << std::setprecision(3) << "pour: the starting scene, then one ball of radius 10 per tick "
              << "at (100 + 7t mod 600, 100 + 3t mod 200) before manager::update(10)\n";
    // Under load the wall-clock budget tick comes early; the processor-time
    // one stays put, so the pour runs until both are known.
    Budget wallBudget{"budget", "wall", -1};
    Budget cpuBudget{"cpu_budget", "processor", -1};
    for (std::size_t t = 0; t < cap; ++t) {
        // The whole tick is timed, as the update thread lives it: the ball
        // from the mouse, then the world step.
        const bench::Stopwatch watch;
        poured.push_back(bench::pourBall(t));
        manager::update(bench::kStep);
        samples.add(kStartingBalls + static_cast<int>(poured.size()), watch);
        if ((t + 1) % kReportWindow == 0) {
            const std::size_t from = t + 1 - kReportWindow;
            const std::string range = std::to_string(from) + "_" + std::to_string(t);
            // The world after a given tick does not depend on timing, unlike
            // the tick the pour stops at: hashes are compared per window.
            const std::string hash = hex(bench::stateHash(poured));
            std::ostringstream label;
            label << "ticks " << std::setw(5) << from << "-" << std::setw(5) << t << ", " << std::setw(5)
                  << samples.balls.back() << " balls:";
            summary.addMeans(label.str(), "ticks_" + range, samples, from, t + 1, "  hash " + hash);
            summary.add("state_hash_after_tick_" + std::to_string(t), hash);
        }
        wallBudget.watch(samples.wall, t);
        cpuBudget.watch(samples.cpu, t);
        if (wallBudget.tick >= 0 && cpuBudget.tick >= 0 &&
            static_cast<long>(t) >= std::max(wallBudget.tick, cpuBudget.tick) + kPourMargin)
            break;
    }

    for (Budget const* budget : {&wallBudget, &cpuBudget})
        budget->report(summary, samples);
    std::cout << "  stopped after " << samples.wall.size() << " ticks with " << samples.balls.back() << " balls\n";
    summary.add("ticks", samples.wall.size());
    writeTicks(options.csvDir + "/pour.csv", samples);
}

// Ticks of a pile of `count` balls poured over 32 pegs and the triangle:
// what many obstacles cost, beside the pile of the preset.
void runPegs(int count, Options const& options)
{
    const std::string name = "pegs-" + std::to_string(count);
    bench::pourPile(count, true);
    const std::size_t ticks = static_cast<std::size_t>(options.latticeTicks);
    const Samples samples = timeSteps(count, ticks);
    Summary summary(options.csvDir, name);
    std::cout << std::fixed << std::setprecision(3) << "pegs " << count << ": " << count
              << " balls poured over 32 pegs and the triangle, " << ticks << " ticks of manager::update(10)\n";
    summary.addMeans("mean per tick, all ticks:", "all", samples, 0, ticks);
    reportHash(summary);
    writeTicks(options.csvDir + "/" + name + ".csv", samples);
}

// Frames of a pile of `count` balls (the starting scene and the pour), each
// as the draw thread makes it: the world drawn, events pumped, the buffers
// swapped and cleared. The pile lies still while it is drawn.
void runDraw(int count, Options const& options)
{
    const std::string name = "draw-" + std::to_string(count);
    bench::pourPile(count);
    graphics::init();
    // The first frames set the renderer up; they are not counted.
    const int warmUp = 10;
    const std::size_t frames = static_cast<std::size_t>(options.drawFrames);
    Samples samples(frames);
    for (std::size_t f = 0; f < frames + warmUp; ++f) {
        const bench::Stopwatch watch;
        manager::draw();
        SDL_PumpEvents();
        graphics::present();
        if (f >= warmUp)
            samples.add(count, watch);
    }

    Summary summary(options.csvDir, name);
    std::cout << std::fixed << std::setprecision(3) << "draw " << count << ": " << count << " balls, " << frames
              << " frames of the draw loop\n";
    summary.addMeans("mean per frame:", "frame", samples, 0, frames);
    const double wallMax = *std::max_element(samples.wall.begin(), samples.wall.end());
    const double cpuMax = *std::max_element(samples.cpu.begin(), samples.cpu.end());
    std::cout << "  " << std::left << std::setw(30) << "slowest frame:" << std::right << std::setw(9) << wallMax
              << " ms  (processor " << std::setw(8) << cpuMax << " ms)" << std::endl;
    summary.add("max_ms_frame", wallMax);
    summary.add("max_cpu_ms_frame", cpuMax);
    writeTicks(options.csvDir + "/" + name + ".csv", samples);
}

// The cost of recording a session: blocks of ticks with and without the
// recording's work, alternately, so that both see the same world.
void runRecord(int count, Options const& options)
{
    const std::string name = "record-" + std::to_string(count);
    bench::pourPile(count);
    std::string error;
    if (!recordFile::open(options.csvDir + "/" + name + ".rec", error)) {
        std::cerr << "ballpit-bench: " << error << std::endl;
        debug::quit(1);
    }
    std::vector<recording::Binding> bindings;
    for (int b = 0; b < 10; ++b)
        bindings.push_back({"binding" + std::to_string(b), static_cast<SDLKey>(b)});
    recordFile::start();
    recording::Sink& sink = recordFile::sink();
    recording::Encoder encoder;
    sink.write(encoder.header(bindings, std::string(), 0));
    const int blocks = 20;
    const std::uint32_t block = recording::kTicksPerCheck;
    Samples plain(blocks * block);
    Samples recorded(blocks * block);
    std::uint32_t ticks = 0;
    for (int b = 0; b < 2 * blocks; ++b) {
        const bool withRecording = b % 2 == 1;
        for (std::uint32_t t = 0; t < block; ++t) {
            const bench::Stopwatch watch;
            if (withRecording) {
                recording::Input in;
                in.pointer = {static_cast<int>(t), 100, true, false};
                in.statuses.assign(bindings.size(), input::Idle);
                sink.write(encoder.input(in));
            }
            manager::update(bench::kStep);
            if (withRecording && ++ticks % block == 0)
                sink.write(encoder.check(ticks, manager::worldHash()));
            (withRecording ? recorded : plain).add(count, watch);
        }
    }
    sink.write(encoder.end(ticks, manager::worldHash()));
    sink.close();

    Summary summary(options.csvDir, name);
    std::cout << std::fixed << std::setprecision(3) << "record " << count << ": " << count << " balls, " << blocks
              << " blocks of " << block << " ticks each way, alternately\n";
    const std::size_t n = plain.wall.size();
    summary.addMeans("mean per tick, not recording:", "plain", plain, 0, n);
    summary.addMeans("mean per tick, recording:", "recorded", recorded, 0, n);
    const double extra = 100.0 * (bench::meanMs(recorded.cpu, 0, n) / bench::meanMs(plain.cpu, 0, n) - 1.0);
    std::cout << "  recording adds " << std::setprecision(2) << extra << " % of processor time per tick\n";
    summary.add("recording_cpu_percent", extra);
}

// The pointer of the rewind scenario's pour: the same moving point as the
// pour's balls, the left button held.
input::Frame pouring(int t)
{
    input::Frame in;
    in.pointer = {100 + (7 * t) % 600, 100 + (3 * t) % 200, true, false, false};
    return in;
}

// Ticks going back with the rewind key held, each timed and checked against
// the hash its tick had going forwards (`hashes`, oldest first, ending with
// the tick the world stands at); gives how many differed.
int timeRewinding(std::vector<std::uint64_t> const& hashes, Samples& samples, int balls)
{
    int differed = 0;
    input::Frame in;
    for (std::size_t back = 1; back < hashes.size(); ++back) {
        input::setStatus(in, key::rewind, back == 1 ? input::JustPressed : input::Held);
        const bench::Stopwatch watch;
        session::step(in);
        samples.add(balls, watch);
        differed += manager::worldHash() != hashes[hashes.size() - 1 - back];
    }
    return differed;
}

void runRewind(int count, Options const& options)
{
    const std::string name = "rewind-" + std::to_string(count);
    session::start(false);
    int t = 0;
    for (; creator::ballCount() < count; ++t)
        session::step(pouring(t));
    const input::Frame idle;
    // The cost: blocks of ticks with the history kept and without, in turn.
    const int blocks = 20;
    const int block = 100;
    Samples kept(blocks * block);
    Samples plain(blocks * block);
    for (int b = 0; b < 2 * blocks; ++b)
        for (int i = 0; i < block; ++i) {
            const bench::Stopwatch watch;
            (b % 2 == 0 ? session::step : session::stepWorld)(idle);
            (b % 2 == 0 ? kept : plain).add(count, watch);
        }
    // The memory: ten seconds of history kept afresh, the hash of each tick.
    history::start(std::size_t(session::kDefaultHistoryMiB) << 20, session::stepWorld);
    std::vector<std::uint64_t> hashes = {manager::worldHash()};
    for (int i = 0; i < 1000; ++i) {
        session::step(idle);
        hashes.push_back(manager::worldHash());
    }
    const double mibPerSecond = history::bytes() / 1048576.0 / (history::reach() * bench::kStep / 1000.0);
    const std::vector<std::uint64_t> last(hashes.end() - 501, hashes.end());
    Samples rewinding(last.size());
    const int differed = timeRewinding(last, rewinding, count);

    Summary summary(options.csvDir, name);
    std::cout << std::fixed << std::setprecision(3) << "rewind " << count << ": " << count << " balls poured, "
              << blocks << " blocks of " << block << " ticks with and without the history, alternately\n";
    const std::size_t n = plain.wall.size();
    summary.addMeans("mean per tick, no history:", "plain", plain, 0, n);
    summary.addMeans("mean per tick, history kept:", "kept", kept, 0, n);
    const double extra = 100.0 * (bench::meanMs(kept.cpu, 0, n) / bench::meanMs(plain.cpu, 0, n) - 1.0);
    summary.addMeans("mean per tick going back:", "rewinding", rewinding, 0, rewinding.wall.size());
    const double slowest = *std::max_element(rewinding.wall.begin(), rewinding.wall.end());
    const double slowestCpu = *std::max_element(rewinding.cpu.begin(), rewinding.cpu.end());
    std::cout << "  the history adds " << std::setprecision(2) << extra << " % of processor time per tick; it takes "
              << mibPerSecond << " MiB per second of world time (" << history::reach() << " ticks in "
              << history::bytes() / 1048576.0 << " MiB)\n  slowest tick going back " << slowest << " ms (processor " << slowestCpu << " ms); "
              << differed << " of " << rewinding.wall.size() << " ticks going back differed from going forwards\n";
    summary.add("history_cpu_percent", extra);
    summary.add("history_mib_per_second", mibPerSecond);
    summary.add("rewind_max_ms", slowest);
    summary.add("rewind_max_cpu_ms", slowestCpu);
    summary.add("rewind_differed", differed);
    writeTicks(options.csvDir + "/" + name + ".csv", rewinding);
    debug::quit(differed == 0 ? 0 : 1);
}

[[noreturn]] void usage()
{
    std::cerr << "usage: ballpit-bench [--csv DIR] [--ticks T] [--cap C] [--frames F] [lattice N | pour | pile | pegs N | scene NAME | scenes DIR | draw N | record N | rewind N]...\n";
    std::exit(2);
}

// A whole number from 1 to `most`.
int positiveArgument(char const* text, long most = 1000000)
{
    char* end = nullptr;
    const long value = std::strtol(text, &end, 10);
    if (end == text || *end != '\0' || value <= 0 || value > most)
        usage();
    return static_cast<int>(value);
}

std::vector<Scenario> parse(int argc, char** argv, Options& options)
{
    std::vector<Scenario> scenarios;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        const bool hasValue = i + 1 < argc;
        if (arg == "--csv" && hasValue)
            options.csvDir = argv[++i];
        else if (arg == "--ticks" && hasValue)
            options.latticeTicks = positiveArgument(argv[++i]);
        else if (arg == "--cap" && hasValue)
            options.pourCap = positiveArgument(argv[++i]);
        else if (arg == "--frames" && hasValue)
            options.drawFrames = positiveArgument(argv[++i]);
        else if (arg == "lattice" && hasValue)
            scenarios.push_back({arg, positiveArgument(argv[++i], static_cast<long>(entityArena::kSlots)), ""});
        else if ((arg == "draw" || arg == "record" || arg == "pegs" || arg == "rewind") && hasValue)
            scenarios.push_back({arg, positiveArgument(argv[++i]), ""});
        else if ((arg == "scene" || arg == "scenes") && hasValue)
            scenarios.push_back({arg, 0, argv[++i]});
        else if (arg == "pour" || arg == "pile")
            scenarios.push_back({arg, 0, ""});
        else
            usage();
    }
    if (scenarios.empty())
        scenarios = {{"lattice", 500, ""}, {"lattice", 2000, ""}, {"pour", 0, ""}};
    return scenarios;
}

// Runs one scenario in a child; true when it finished normally.
bool runIsolated(Scenario const& scenario, Options const& options)
{
    std::cout.flush();
    const pid_t pid = fork();
    if (pid < 0) {
        std::perror("ballpit-bench: fork");
        return false;
    }
    if (pid == 0) {
        if (scenario.name == "pour")
            runPour(options);
        else if (scenario.name == "draw")
            runDraw(scenario.balls, options);
        else if (scenario.name == "record")
            runRecord(scenario.balls, options);
        else if (scenario.name == "rewind")
            runRewind(scenario.balls, options);
        else if (scenario.name == "pegs")
            runPegs(scenario.balls, options);
        else if (scenario.name == "pile")
            runScene("pile", "pile", options);
        else if (scenario.name == "scene")
            runScene(scenario.argument, "scene-" + std::filesystem::path(scenario.argument).stem().string(), options);
        else if (scenario.name == "scenes")
            debug::quit(bench::writePresets(scenario.argument) ? 0 : 1);
        else
            runLattice(scenario.balls, options);
        debug::quit(0);
    }
    int status = 0;
    if (waitpid(pid, &status, 0) != pid || !WIFEXITED(status) || WEXITSTATUS(status) != 0) {
        std::cerr << "ballpit-bench: scenario " << scenario.name << " failed" << std::endl;
        return false;
    }
    return true;
}

}  // namespace

int main(int argc, char** argv)
{
    Options options;
    const std::vector<Scenario> scenarios = parse(argc, argv, options);
    std::error_code error;
    std::filesystem::create_directories(options.csvDir, error);
    openOrDie(options.csvDir + "/summary.csv", std::ios::trunc) << "scenario,metric,value\n";
    // The modules print through DPF, whose lock must exist.
    debug::init();
    bool ok = true;
    for (Scenario const& scenario : scenarios)
        ok = runIsolated(scenario, options) && ok;
    debug::clean();
    return ok ? 0 : 1;
}
