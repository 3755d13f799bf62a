#include "app/ConsoleWait.h"

#include "app/QuitSignals.h"

#include <poll.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <iostream>

namespace {

// How often a wait looks for a caught signal when the signal went to another thread (Mesa's)
// and did not interrupt the poll.
constexpr int kSignalCheckMilliseconds = 100;

} // namespace

int waitForConsoleChar()
{
    std::cout << std::flush;
    while (caughtQuitSignal() == 0) {
        pollfd console{STDIN_FILENO, POLLIN, 0};
        const int ready = ::poll(&console, 1, kSignalCheckMilliseconds);
        if (ready == 0 || (ready < 0 && errno == EINTR)) {
            continue;
        }
        unsigned char character = 0;
        const ssize_t count = ready < 0 ? -1 : ::read(STDIN_FILENO, &character, 1);
        if (count == 1) {
            return character;
        }
        if (count < 0 && (errno == EINTR || errno == EAGAIN)) {
            continue;
        }
        return EOF;
    }
    return EOF;
}
