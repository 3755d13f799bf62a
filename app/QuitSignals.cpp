#include "app/QuitSignals.h"

#include <csignal>

namespace {

volatile std::sig_atomic_t caught = 0;

void noteQuitSignal(int signal)
{
    if (caught == 0) {
        caught = signal;
    }
}

} // namespace

void catchQuitSignals()
{
    struct sigaction action {};
    action.sa_handler = noteQuitSignal;
    sigemptyset(&action.sa_mask);
    // A wait on the console polls, which a signal interrupts whatever SA_RESTART says; writes
    // of the log are restarted rather than failed.
    action.sa_flags = SA_RESTART | SA_RESETHAND;
    sigaction(SIGTERM, &action, nullptr);
    sigaction(SIGINT, &action, nullptr);
}

int caughtQuitSignal() { return caught; }

std::string caughtQuitSignalName()
{
    switch (caught) {
    case SIGTERM: return "SIGTERM";
    case SIGINT: return "SIGINT";
    default: return "";
    }
}
