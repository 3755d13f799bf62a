#pragma once

// What the replay of a recorded session says about the recording's header (app/SessionHeader.h)
// on standard error: the level and pictures that are not the recorded ones, before the run, and
// everything that differs when the world goes another way than the recording.

#include <string>
#include <vector>

class Game;
struct ReplayResult;

// A recording of a format this tool does not read: the message; otherwise "".
std::string unreadableFormat(const std::vector<std::string>& comments);

// Before the run: one note per level or picture file that is not the recorded one.
std::vector<std::string> headerNotes(const std::vector<std::string>& comments, Game& world);

// At a desync: the step and the two hashes, then what differs from the recording (level,
// pictures, program version), or that nothing of those does.
std::vector<std::string> desyncReport(const std::vector<std::string>& comments, Game& world,
                                      const ReplayResult& result);
