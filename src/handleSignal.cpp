#include "handleSignal.h"

#include <csignal>
#include <iostream>
#include <unistd.h>

#include "recordFile.h"

namespace {

// Only async-signal-safe calls: the worker threads may be anywhere, so no
// streams and no static destructors. A recording under way is ended first,
// at the update thread's next tick boundary (half a second at most).
void sighandler(int signal)
{
    recordFile::endSoon();
    static const char kMessage[] = "SIGINT caught\n";
    ssize_t written = write(STDERR_FILENO, kMessage, sizeof kMessage - 1);
    (void)written;
    _exit(signal);
}

}  // namespace

void installSignal()
{
    struct sigaction action {};
    action.sa_handler = sighandler;
    sigemptyset(&action.sa_mask);
    action.sa_flags = 0;
    if (sigaction(SIGINT, &action, nullptr) < 0)
        std::cerr << "could not install SIGINT handler" << std::endl;
}
