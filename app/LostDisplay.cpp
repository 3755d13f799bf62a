// The X server going away while the game runs: without a handler of ours Xlib prints its own
// message and calls exit, whose SDL_Quit waits for ever on the dead server at full speed.

#include "app/Host.h"
#include "app/SessionRecorder.h"

#include <unistd.h>

#include <iostream>

#include <X11/Xlib.h>

namespace {

// Finishes the recording and the log, says so in one line and ends the process without the
// exit handlers (SDL_Quit would talk to the dead server). Nothing here touches X.
int endOnLostConnection(Display* display)
{
    recordLostDisplay();
    std::cout << std::flush;
    const char* name = DisplayString(display);
    std::cerr << "quillfen: the display " << (name != nullptr ? name : "") << " went away"
              << std::endl;
    _exit(1);
}

} // namespace

void endOnLostDisplay() { XSetIOErrorHandler(endOnLostConnection); }
