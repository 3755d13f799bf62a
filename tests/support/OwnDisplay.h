#pragma once

#include <string>

#include <sys/types.h>

// An X server of the test's own (Xvfb), for runs that others must not disturb (other window
// tests raise and focus their windows on the shared one) or that take the server away.
class OwnDisplay {
public:
    // Starts the server; its files go to `folder`.
    explicit OwnDisplay(const std::string& folder);
    ~OwnDisplay() { stop(); }
    OwnDisplay(const OwnDisplay&) = delete;
    OwnDisplay& operator=(const OwnDisplay&) = delete;

    void stop();

    std::string name; // ":N", for DISPLAY
    pid_t server = 0;
};
