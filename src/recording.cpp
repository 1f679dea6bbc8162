#include "recording.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <chrono>
#include <condition_variable>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <iostream>
#include <mutex>
#include <thread>

#include "checksum.h"
#include "debug.h"

namespace recording {

namespace {

const unsigned char kTick = 'T';
const unsigned char kCheck = 'H';
const unsigned char kEnd = 'E';
const unsigned kLeft = 1;
const unsigned kRight = 2;
const unsigned kClosed = 4;
const unsigned kMiddle = 8;
const std::size_t kMaxBindings = 32;
const std::size_t kMaxNameBytes = 32;
const std::uint32_t kMaxSceneBytes = std::uint32_t(1) << 28;

std::size_t statusBytes(std::size_t bindings)
{
    return (bindings + 3) / 4;
}

// Little-endian numbers into and out of bytes.
void put(std::vector<unsigned char>& out, std::uint64_t value, int bytes)
{
    for (int i = 0; i < bytes; ++i)
        out.push_back(static_cast<unsigned char>(value >> (8 * i)));
}

std::uint64_t get(unsigned char const* in, int bytes)
{
    std::uint64_t value = 0;
    for (int i = 0; i < bytes; ++i)
        value |= static_cast<std::uint64_t>(in[i]) << (8 * i);
    return value;
}

// --- Writing -------------------------------------------------------------

std::mutex muPending;
std::condition_variable s_wake;
// Bytes waiting for the writer thread, and whether it is to finish.
std::vector<unsigned char> s_pending;
bool s_bFinish = false;
std::thread s_writer;
int s_iFile = -1;
std::string s_path;
std::atomic<bool> s_bActive{false};

// Update thread only: the bindings' count and the checksum of the bytes
// since the last one.
std::size_t s_uBindings = 0;
Checksum s_sinceCheck;

// An end asked from outside the update thread (see endSoon). Read in a
// signal handler: lock-free atomics and a pipe, which gets one byte when the
// recording is closed, so that a waiter can poll it with a time limit.
enum State { kNotBegun, kOpen, kEnded, kRefused };
std::atomic<int> s_iState{kNotBegun};
std::atomic<bool> s_bEndAsked{false};
static_assert(std::atomic<int>::is_always_lock_free && std::atomic<bool>::is_always_lock_free,
              "read in a signal handler");
int s_closed_Pipe[2] = {-1, -1};
const long kEndWaitMillis = 500;

void reportFailure(int error)
{
    std::cerr << "ballpit: recording to " << s_path << " stopped: " << std::strerror(error) << std::endl;
}

// What a write reached the disk: a file that cannot be synced (a pipe, a
// device) has nothing more to do.
bool synced()
{
    return fdatasync(s_iFile) == 0 || errno == EINVAL || errno == EROFS;
}

long millisSince(timespec const& start)
{
    timespec now;
    clock_gettime(CLOCK_MONOTONIC, &now);
    return (now.tv_sec - start.tv_sec) * 1000 + (now.tv_nsec - start.tv_nsec) / 1000000;
}

// exit() while the recording is open: another thread called it, the update
// thread is still running. The recording ends first; then the process ends
// with the same status without static destructors, which the threads still
// running would outlive.
void endAtExit(int status, void*)
{
    if (s_iState.load() != kOpen)
        return;
    endSoon();
    debug::quit(status);
}

bool writeAll(std::vector<unsigned char> const& bytes)
{
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t written = write(s_iFile, bytes.data() + done, bytes.size() - done);
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0)
            return false;
        done += static_cast<std::size_t>(written);
    }
    return true;
}

void writeLoop()
{
    std::unique_lock<std::mutex> lock(muPending);
    for (;;) {
        s_wake.wait_for(lock, std::chrono::milliseconds(500), [] { return s_bFinish; });
        std::vector<unsigned char> bytes;
        bytes.swap(s_pending);
        const bool finishing = s_bFinish;
        lock.unlock();
        if (!bytes.empty() && s_bActive.load() && (!writeAll(bytes) || !synced())) {
            const int error = errno != 0 ? errno : EIO;
            s_bActive.store(false);
            reportFailure(error);
        }
        lock.lock();
        if (finishing && s_pending.empty())
            return;
    }
}

// Appends a record, its bytes counted into the running checksum.
void append(std::vector<unsigned char> const& record)
{
    s_sinceCheck.add(record.data(), record.size());
    std::lock_guard<std::mutex> lock(muPending);
    s_pending.insert(s_pending.end(), record.begin(), record.end());
}

// A check or end record: its fields, then the checksum that closes them.
void appendClosing(unsigned char type, std::uint32_t ticks, std::uint64_t worldHash)
{
    std::vector<unsigned char> record;
    record.push_back(type);
    put(record, ticks, 4);
    put(record, worldHash, 8);
    s_sinceCheck.add(record.data(), record.size());
    put(record, s_sinceCheck.value(), 8);
    s_sinceCheck = Checksum();
    std::lock_guard<std::mutex> lock(muPending);
    s_pending.insert(s_pending.end(), record.begin(), record.end());
}

}  // namespace

bool open(std::string const& path, std::string& error)
{
    struct stat info;
    if (stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode)) {
        error = "cannot record to " + path + ": it is a directory";
        return false;
    }
    s_iFile = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (s_iFile < 0) {
        error = "cannot record to " + path + ": " + std::strerror(errno);
        return false;
    }
    s_path = path;
    return true;
}

void begin(std::vector<Binding> const& bindings, std::string const& scene)
{
    s_uBindings = bindings.size();
    s_sinceCheck = Checksum();
    std::vector<unsigned char> header(kMagic, kMagic + sizeof kMagic);
    put(header, kVersion, 4);
    put(header, bindings.size(), 1);
    for (Binding const& binding : bindings) {
        put(header, binding.name.size(), 1);
        header.insert(header.end(), binding.name.begin(), binding.name.end());
        put(header, static_cast<std::uint32_t>(binding.code), 4);
    }
    put(header, scene.size(), 4);
    header.insert(header.end(), scene.begin(), scene.end());
    s_sinceCheck.add(header.data(), header.size());
    put(header, s_sinceCheck.value(), 8);
    s_sinceCheck = Checksum();
    // SIGINT's handler waits for this thread's next tick boundary, so it must
    // run on another one; the writer, started here, inherits the mask.
    sigset_t interrupt;
    sigemptyset(&interrupt);
    sigaddset(&interrupt, SIGINT);
    pthread_sigmask(SIG_BLOCK, &interrupt, nullptr);
    if (s_closed_Pipe[0] < 0 && pipe2(s_closed_Pipe, O_CLOEXEC) == 0)
        on_exit(endAtExit, nullptr);
    // After an end that came before it, the process is on its way out (a
    // sanitizer's exit takes its time): nothing begins.
    int state = s_iState.load();
    do {
        if (state == kRefused)
            return;
    } while (!s_iState.compare_exchange_weak(state, kOpen));
    s_pending = header;
    s_bFinish = false;
    s_bActive.store(true);
    s_writer = std::thread(writeLoop);
}

void tick(Tick const& tick)
{
    if (!s_bActive.load())
        return;
    std::vector<unsigned char> record;
    record.reserve(10 + statusBytes(s_uBindings));
    record.push_back(kTick);
    put(record, static_cast<std::uint32_t>(tick.pointer.x), 4);
    put(record, static_cast<std::uint32_t>(tick.pointer.y), 4);
    put(record,
        (tick.pointer.left ? kLeft : 0) | (tick.pointer.right ? kRight : 0) | (tick.closed ? kClosed : 0) |
            (tick.pointer.middle ? kMiddle : 0),
        1);
    std::vector<unsigned char> statuses(statusBytes(s_uBindings), 0);
    for (std::size_t i = 0; i < s_uBindings && i < tick.statuses.size(); ++i)
        statuses[i / 4] = static_cast<unsigned char>(statuses[i / 4] | (tick.statuses[i] & 3) << (2 * (i % 4)));
    record.insert(record.end(), statuses.begin(), statuses.end());
    append(record);
}

void check(std::uint32_t ticks, std::uint64_t worldHash)
{
    if (s_bActive.load())
        appendClosing(kCheck, ticks, worldHash);
}

void finish(std::uint32_t ticks, std::uint64_t worldHash)
{
    if (!s_writer.joinable())
        return;
    if (s_bActive.load())
        appendClosing(kEnd, ticks, worldHash);
    {
        std::lock_guard<std::mutex> lock(muPending);
        s_bFinish = true;
    }
    s_wake.notify_one();
    s_writer.join();
    if (close(s_iFile) != 0 && s_bActive.load())
        reportFailure(errno);
    s_iFile = -1;
    s_bActive.store(false);
    s_iState.store(kEnded);
    // Unwritten, a waiter only waits out its time limit.
    const char closed = 0;
    const ssize_t told = write(s_closed_Pipe[1], &closed, 1);
    (void)told;
}

bool active()
{
    return s_bActive.load();
}

void endSoon()
{
    int state = kNotBegun;
    if (s_iState.compare_exchange_strong(state, kRefused) || state != kOpen)
        return;
    s_bEndAsked.store(true);
    timespec start;
    clock_gettime(CLOCK_MONOTONIC, &start);
    pollfd closed = {s_closed_Pipe[0], POLLIN, 0};
    // Interrupted by another signal, it waits on for the rest of the time.
    long left = kEndWaitMillis;
    while (left > 0 && poll(&closed, 1, static_cast<int>(left)) <= 0)
        left = kEndWaitMillis - millisSince(start);
}

void endIfAsked(std::uint32_t ticks, std::uint64_t (*worldHash)())
{
    if (!s_bEndAsked.load())
        return;
    finish(ticks, worldHash());
    for (;;)
        pause();
}

// --- Reading -------------------------------------------------------------

namespace {

// Reads exactly `count` bytes into `out`, counting them into `sum`; false at
// the end of the file or on a read error.
bool readInto(std::FILE* file, unsigned char* out, std::size_t count, Checksum& sum)
{
    if (std::fread(out, 1, count, file) != count)
        return false;
    sum.add(out, count);
    return true;
}

// The scene of a version-3 header: its length, then its text, read as far
// as the file goes, so that a damaged length costs no more than the file.
bool readScene(std::FILE* file, std::string& text, Checksum& sum, std::string const& cut, std::string const& corrupt,
               std::string& error)
{
    unsigned char bytes[4];
    if (!readInto(file, bytes, 4, sum)) {
        error = cut;
        return false;
    }
    const auto length = static_cast<std::uint32_t>(get(bytes, 4));
    if (length > kMaxSceneBytes) {
        error = corrupt;
        return false;
    }
    char chunk[65536];
    while (text.size() < length) {
        const std::size_t want = std::min(sizeof chunk, static_cast<std::size_t>(length) - text.size());
        if (std::fread(chunk, 1, want, file) != want) {
            error = cut;
            return false;
        }
        sum.add(chunk, want);
        text.append(chunk, want);
    }
    return true;
}

}  // namespace

Reader::~Reader()
{
    if (file != nullptr)
        std::fclose(file);
}

bool Reader::open(std::string const& path, std::string& error)
{
    struct stat info;
    if (stat(path.c_str(), &info) != 0) {
        error = "cannot open the recording " + path + ": " + std::strerror(errno);
        return false;
    }
    if (S_ISDIR(info.st_mode)) {
        error = path + " is a directory, not a recording";
        return false;
    }
    file = std::fopen(path.c_str(), "rb");
    if (file == nullptr) {
        error = "cannot open the recording " + path + ": " + std::strerror(errno);
        return false;
    }
    Checksum sum;
    unsigned char bytes[kMaxNameBytes + 8];
    if (!readInto(file, bytes, sizeof kMagic, sum) || std::memcmp(bytes, kMagic, sizeof kMagic) != 0) {
        error = path + " is not a recording";
        return false;
    }
    const std::string cut = path + " is not a whole recording: its header is cut short";
    if (!readInto(file, bytes, 5, sum)) {
        error = cut;
        return false;
    }
    version = static_cast<std::uint32_t>(get(bytes, 4));
    if (version < kOldestVersion || version > kVersion) {
        error = path + " is a recording of format version " + std::to_string(version) +
                "; this ballpit reads versions " + std::to_string(kOldestVersion) + " to " + std::to_string(kVersion);
        return false;
    }
    const std::string corrupt = path + " is corrupted: its header is damaged";
    const std::size_t count = bytes[4];
    if (count == 0 || count > kMaxBindings) {
        error = corrupt;
        return false;
    }
    for (std::size_t i = 0; i < count; ++i) {
        if (!readInto(file, bytes, 1, sum)) {
            error = cut;
            return false;
        }
        const std::size_t length = bytes[0];
        if (length == 0 || length > kMaxNameBytes) {
            error = corrupt;
            return false;
        }
        if (!readInto(file, bytes, length + 4, sum)) {
            error = cut;
            return false;
        }
        // A key code, or the one past the table that binds nothing: an
        // SDLKey can hold no other value.
        const auto code = static_cast<std::int32_t>(get(bytes + length, 4));
        if (code < 0 || code > SDLK_LAST) {
            error = corrupt;
            return false;
        }
        header.push_back({std::string(reinterpret_cast<char*>(bytes), length), static_cast<SDLKey>(code)});
    }
    if (version >= 3 && !readScene(file, sceneText, sum, cut, corrupt, error))
        return false;
    const std::uint64_t expected = sum.value();
    if (!readInto(file, bytes, 8, sum)) {
        error = cut;
        return false;
    }
    if (get(bytes, 8) != expected) {
        error = corrupt;
        return false;
    }
    return true;
}

bool Reader::readStretch(std::string& error)
{
    stretch.clear();
    served = 0;
    Checksum sum;
    const std::size_t tickBytes = 9 + statusBytes(header.size());
    unsigned char bytes[64];
    for (;;) {
        if (!readInto(file, bytes, 1, sum)) {
            ending = Next::truncated;
            return true;
        }
        if (bytes[0] == kTick) {
            if (stretch.size() == kTicksPerCheck) {
                error = "more than " + std::to_string(kTicksPerCheck) + " ticks without a checksum after tick " +
                        std::to_string(ticksRead);
                return false;
            }
            if (!readInto(file, bytes + 1, tickBytes, sum)) {
                ending = Next::truncated;
                return true;
            }
            const unsigned flags = bytes[9];
            const unsigned known = kLeft | kRight | kClosed | (version >= 2 ? kMiddle : 0);
            if ((flags & ~known) != 0) {
                error = "a tick after tick " + std::to_string(ticksRead + stretch.size()) + " is damaged";
                return false;
            }
            Tick tick;
            tick.pointer.x = static_cast<std::int32_t>(get(bytes + 1, 4));
            tick.pointer.y = static_cast<std::int32_t>(get(bytes + 5, 4));
            tick.pointer.left = (flags & kLeft) != 0;
            tick.pointer.right = (flags & kRight) != 0;
            tick.pointer.middle = (flags & kMiddle) != 0;
            tick.closed = (flags & kClosed) != 0;
            for (std::size_t i = 0; i < header.size(); ++i)
                tick.statuses.push_back(static_cast<input::KeyStatus>(bytes[10 + i / 4] >> (2 * (i % 4)) & 3));
            stretch.push_back(tick);
        } else if (bytes[0] == kCheck || bytes[0] == kEnd) {
            if (!readInto(file, bytes + 1, 12, sum)) {
                ending = Next::truncated;
                return true;
            }
            const std::uint64_t expected = sum.value();
            unsigned char stored[8];
            if (std::fread(stored, 1, 8, file) != 8) {
                ending = Next::truncated;
                return true;
            }
            endTicks = static_cast<std::uint32_t>(get(bytes + 1, 4));
            endHash = get(bytes + 5, 8);
            if (get(stored, 8) != expected || endTicks != ticksRead + stretch.size()) {
                error = "the checksum after tick " + std::to_string(ticksRead + stretch.size()) + " does not match";
                return false;
            }
            ending = bytes[0] == kCheck ? Next::check : Next::end;
            if (ending == Next::end && std::fgetc(file) != EOF) {
                error = "there are bytes after its end";
                return false;
            }
            return true;
        } else {
            error = "an unknown record follows tick " + std::to_string(ticksRead + stretch.size());
            return false;
        }
    }
}

Reader::Next Reader::next(Tick& tick, std::uint32_t& ticks, std::uint64_t& hash, std::string& error)
{
    if (finished)
        return ending;
    if (served == stretch.size() && served == 0 && !readStretch(error)) {
        finished = true;
        ending = Next::corrupted;
        return ending;
    }
    if (served < stretch.size()) {
        tick = stretch[served++];
        ++ticksRead;
        return Next::tick;
    }
    // The stretch is served: its closing record, or the end of the file.
    served = 0;
    stretch.clear();
    if (ending == Next::check) {
        ticks = endTicks;
        hash = endHash;
        return Next::check;
    }
    finished = true;
    ticks = ending == Next::end ? endTicks : ticksRead;
    hash = endHash;
    return ending;
}

}  // namespace recording
