#include "app/StandardStreams.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <iostream>

void reserveStandardStreams()
{
    for (int descriptor = STDIN_FILENO; descriptor <= STDERR_FILENO; ++descriptor) {
        if (::fcntl(descriptor, F_GETFD) != -1 || errno != EBADF) {
            continue;
        }
        // The lowest free descriptor is this one: the streams below it are open.
        const int standIn = ::open("/dev/null", O_RDONLY);
        if (standIn != descriptor && standIn >= 0) {
            ::close(standIn);
        }
    }
}

bool logIsLost() { return std::cout.fail() || std::ferror(stdout) != 0; }

void warnOnceIfLogIsLost(const char* program)
{
    static bool warned = false;
    if (warned || !logIsLost()) {
        return;
    }
    warned = true;
    std::cerr << program
              << ": the log cannot be written to standard output; it is being lost from here on"
              << std::endl;
}
