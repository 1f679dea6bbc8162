#include "liveStats.h"

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <mutex>

#include "collisionManager.h"
#include "config.h"
#include "entityCreator.h"
#include "game.h"

namespace liveStats {

namespace {

struct Report {
    int balls = 0;
    int ups = 0;
    int fps = 0;
    float stepMeanMs = 0.0f;
    float stepMaxMs = 0.0f;
    float timeScale = 1.0f;
    bool paused = false;
    unsigned serial = 0;
};

// Update thread only: the ticks since the last report.
long long s_llStepMicroSum = 0;
int s_iStepMicroMax = 0;
int s_iSteps = 0;

// The latest report, written once a second and read every frame.
std::mutex muReport;
Report s_report;
// The draw thread's last caption.
unsigned s_uCaptionSerial = 0;

std::atomic<long> s_lTicksBack{0};

// Of the last world step.
std::atomic<int> s_iPairs{0};
std::atomic<int> s_iContacts{0};
std::atomic<int> s_cell_Bodies[collision::kColumns][collision::kRows];

Report latest()
{
    std::lock_guard<std::mutex> lock(muReport);
    return s_report;
}

std::string format(const char* pattern, double a, double b = 0.0, double c = 0.0)
{
    char text[128];
    std::snprintf(text, sizeof text, pattern, a, b, c);
    return text;
}

// Balls, ups, fps and the step, then the time scale when it is not 1 and
// "paused" while paused.
std::vector<std::string> figuresOf(Report const& report)
{
    std::vector<std::string> figures = {
        format("%.0f balls", report.balls),
        format("%.0f ups", report.ups),
        format("%.0f fps", report.fps),
        format("step %.2f ms (max %.2f)", report.stepMeanMs, report.stepMaxMs),
    };
    if (report.timeScale != 1.0f)
        figures.push_back(format("time scale %g", report.timeScale));
    if (report.paused)
        figures.push_back("paused");
    const long back = s_lTicksBack.load(std::memory_order_relaxed);
    if (back > 0)
        figures.push_back(format("rewind -%.2f s", back * game::kStep / 1000.0));
    return figures;
}

}  // namespace

void endTick(int stepMicro)
{
    s_llStepMicroSum += stepMicro;
    s_iStepMicroMax = std::max(s_iStepMicroMax, stepMicro);
    ++s_iSteps;
    // The grid keeps the last world step's figures until the next one, so
    // they are copied only while shown, never into every tick.
    if (!cfg::showGrid() && !cfg::showHud())
        return;
    int pairs = 0;
    for (int column = 0; column < collision::kColumns; ++column)
        for (int row = 0; row < collision::kRows; ++row) {
            const int bodies = collision::bodiesIn(column, row);
            pairs += bodies * (bodies - 1) / 2;
            s_cell_Bodies[column][row].store(bodies, std::memory_order_relaxed);
        }
    s_iPairs.store(pairs, std::memory_order_relaxed);
    s_iContacts.store(collision::contactsResolved(), std::memory_order_relaxed);
}

void setTicksBack(long ticks)
{
    s_lTicksBack.store(ticks, std::memory_order_relaxed);
}

void report(int ups, int fps)
{
    std::lock_guard<std::mutex> lock(muReport);
    s_report.balls = creator::ballCount();
    s_report.ups = ups;
    s_report.fps = fps;
    s_report.stepMeanMs = s_iSteps > 0 ? static_cast<float>(s_llStepMicroSum) / s_iSteps / 1000.0f : 0.0f;
    s_report.stepMaxMs = static_cast<float>(s_iStepMicroMax) / 1000.0f;
    s_report.timeScale = cfg::timeScale();
    s_report.paused = cfg::paused();
    ++s_report.serial;
    s_llStepMicroSum = 0;
    s_iStepMicroMax = 0;
    s_iSteps = 0;
}

bool newCaption(std::string& caption)
{
    const Report report = latest();
    if (report.serial == s_uCaptionSerial)
        return false;
    s_uCaptionSerial = report.serial;
    caption = "ballpit:";
    const char* separator = " ";
    for (std::string const& figure : figuresOf(report)) {
        caption += separator + figure;
        separator = ", ";
    }
    return true;
}

std::vector<std::string> overlayLines()
{
    std::vector<std::string> lines = figuresOf(latest());
    lines.insert(lines.begin() + 4, format("%.0f pairs tested, %.0f contacts",
                                           s_iPairs.load(std::memory_order_relaxed),
                                           s_iContacts.load(std::memory_order_relaxed)));
    return lines;
}

int cellBodies(int column, int row)
{
    return s_cell_Bodies[column][row].load(std::memory_order_relaxed);
}

}  // namespace liveStats
