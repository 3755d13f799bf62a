#pragma once

#include <string>

// What one run of the quillfen-replay tool gave: its exit status, its standard output (the
// game's log) and its standard error.
struct ReplayRun {
    int status = -1;
    std::string log;
    std::string errors;
};

// Runs quillfen-replay with `arguments` (as the shell reads them), catching its output in
// files of `outputDirectory`.
ReplayRun runReplayTool(const std::string& arguments, const std::string& outputDirectory);

// The whole content of a file ("" when it cannot be read).
std::string readWholeFile(const std::string& path);

// Whether a file exists.
bool fileExists(const std::string& path);

// A path put in single quotes for the shell.
std::string quoted(const std::string& path);

// The folder of committed replay scripts used by the tests, and of their expected results.
std::string testReplaysDir();
std::string goldenDir();
