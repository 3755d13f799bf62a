#pragma once

#include <string>

// What a run of quillfen-replay gave: exit status, standard output (the log), standard error.
struct ReplayRun {
    int status = -1;
    std::string log;
    std::string errors;
};

// Runs quillfen-replay with `arguments` (shell words), its output caught in `outputDirectory`.
ReplayRun runReplayTool(const std::string& arguments, const std::string& outputDirectory);

// The whole content of a file ("" when it cannot be read); a path quoted for the shell.
std::string readWholeFile(const std::string& path);
std::string quoted(const std::string& path);

// The log without its frame-rate lines, which may follow a message without a line end ("right").
std::string withoutFrameRates(std::string log);

// The folders of the tests' replay scripts and of the expected results.
std::string testReplaysDir();
std::string goldenDir();

// Where a trace (or log) first differs from the expected one, "" if nowhere: step, line and for
// an entity its id, list and field ("step 12, line 40, entity 3 of list 1, y: 51 where 52...").
std::string firstTraceDifference(const std::string& actual, const std::string& expected);
