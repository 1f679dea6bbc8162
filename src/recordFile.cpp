#include "recordFile.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <chrono>
#include <condition_variable>
#include <cstring>
#include <ctime>
#include <mutex>
#include <thread>

#include "errorLine.h"
#include "fileWrite.h"
#include "recordSink.h"

namespace recordFile {

namespace {

std::mutex muPending;
std::condition_variable s_wake;
// Bytes waiting for the writer thread, and whether it is to finish.
recording::Bytes s_pending;
bool s_bFinish = false;
std::thread s_writer;
int s_iFile = -1;
std::string s_path;
std::atomic<bool> s_bActive{false};

// An end asked from outside the run (see endSoon). Read in a signal handler:
// lock-free atomics and a pipe, which gets one byte when the recording is
// closed, so that a waiter can poll it with a time limit.
enum State { kNotBegun, kOpen, kEnded, kRefused };
std::atomic<int> s_iState{kNotBegun};
std::atomic<bool> s_bEndAsked{false};
static_assert(std::atomic<int>::is_always_lock_free && std::atomic<bool>::is_always_lock_free,
              "read in a signal handler");
int s_closed_Pipe[2] = {-1, -1};
const long kEndWaitMillis = 500;

void reportFailure(int error)
{
    errorLine::print("recording to " + s_path + " stopped: " + std::strerror(error));
}

// What a write reached the disk: a file that cannot be synced (a pipe, a
// device) has nothing more to do.
int synced()
{
    return fdatasync(s_iFile) == 0 || errno == EINVAL || errno == EROFS ? 0 : errno;
}

long millisSince(timespec const& start)
{
    timespec now;
    clock_gettime(CLOCK_MONOTONIC, &now);
    return (now.tv_sec - start.tv_sec) * 1000 + (now.tv_nsec - start.tv_nsec) / 1000000;
}

void writeLoop()
{
    std::unique_lock<std::mutex> lock(muPending);
    for (;;) {
        s_wake.wait_for(lock, std::chrono::milliseconds(500), [] { return s_bFinish; });
        recording::Bytes bytes;
        bytes.swap(s_pending);
        const bool finishing = s_bFinish;
        lock.unlock();
        if (!bytes.empty() && s_bActive.load()) {
            int error = fileWrite::all(s_iFile, bytes.data(), bytes.size());
            if (error == 0)
                error = synced();
            if (error != 0) {
                s_bActive.store(false);
                reportFailure(error);
            }
        }
        lock.lock();
        if (finishing && s_pending.empty())
            return;
    }
}

class FileSink : public recording::Sink {
public:
    void write(recording::Bytes const& bytes) override
    {
        if (!s_bActive.load())
            return;
        std::lock_guard<std::mutex> lock(muPending);
        s_pending.insert(s_pending.end(), bytes.begin(), bytes.end());
    }

    // Writes everything still waiting, then closes the file.
    void close() override
    {
        if (!s_writer.joinable())
            return;
        {
            std::lock_guard<std::mutex> lock(muPending);
            s_bFinish = true;
        }
        s_wake.notify_one();
        s_writer.join();
        if (::close(s_iFile) != 0 && s_bActive.load())
            reportFailure(errno);
        s_iFile = -1;
        s_bActive.store(false);
        s_iState.store(kEnded);
        // Unwritten, a waiter only waits out its time limit.
        const char closedByte = 0;
        const ssize_t told = ::write(s_closed_Pipe[1], &closedByte, 1);
        (void)told;
    }

    bool endAsked() const override { return s_bEndAsked.load(); }
};

FileSink s_sink;

}  // namespace

bool open(std::string const& path, std::string& error)
{
    struct stat info;
    if (stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode)) {
        error = "cannot record to " + path + ": it is a directory";
        return false;
    }
    s_iFile = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (s_iFile < 0 || (s_closed_Pipe[0] < 0 && pipe2(s_closed_Pipe, O_CLOEXEC) != 0)) {
        error = "cannot record to " + path + ": " + std::strerror(errno);
        return false;
    }
    s_path = path;
    return true;
}

recording::Sink& sink()
{
    return s_sink;
}

void start()
{
    int state = s_iState.load();
    do {
        if (state == kRefused)
            return;
    } while (!s_iState.compare_exchange_weak(state, kOpen));
    s_bFinish = false;
    s_bActive.store(true);
    s_writer = std::thread(writeLoop);
}

bool endSoon()
{
    int state = kNotBegun;
    if (s_iState.compare_exchange_strong(state, kRefused) || state != kOpen)
        return false;
    s_bEndAsked.store(true);
    timespec begun;
    clock_gettime(CLOCK_MONOTONIC, &begun);
    pollfd closedPipe = {s_closed_Pipe[0], POLLIN, 0};
    // Interrupted by another signal, it waits on for the rest of the time.
    long left = kEndWaitMillis;
    while (left > 0 && poll(&closedPipe, 1, static_cast<int>(left)) <= 0)
        left = kEndWaitMillis - millisSince(begun);
    return true;
}

bool closed()
{
    return s_iState.load() == kEnded;
}

}  // namespace recordFile
