#include "support/OwnDisplay.h"

#include "support/ReplayRun.h"

#include <csignal>
#include <cstdlib>

#include <unistd.h>

OwnDisplay::OwnDisplay(const std::string& folder)
{
    const std::string number = folder + "/display.txt";
    std::system(("Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>" + quoted(number) +
                 " >/dev/null 2>&1 & echo $! >" + quoted(folder + "/xvfb.txt"))
                    .c_str());
    for (int tries = 0; tries < 100 && readWholeFile(number).empty(); ++tries) {
        usleep(100000);
    }
    server = std::stoi(readWholeFile(folder + "/xvfb.txt"));
    name = ":" + std::to_string(std::stoi(readWholeFile(number)));
}

void OwnDisplay::stop()
{
    if (server > 0) {
        kill(server, SIGTERM);
    }
    server = 0;
}
