#include "support/ReplayRun.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include <sys/wait.h>

std::string quoted(const std::string& path)
{
    std::string result = "'";
    for (const char c : path) {
        result += c == '\'' ? std::string("'\\''") : std::string(1, c);
    }
    return result + "'";
}

std::string readWholeFile(const std::string& path)
{
    std::ifstream file(path, std::ios::binary);
    std::ostringstream text;
    text << file.rdbuf();
    return text.str();
}

bool fileExists(const std::string& path) { return std::filesystem::exists(path); }

ReplayRun runReplayTool(const std::string& arguments, const std::string& outputDirectory)
{
    const std::string logFile = outputDirectory + "/replay-stdout.txt";
    const std::string errorFile = outputDirectory + "/replay-stderr.txt";
    const std::string command = quoted(QUILLFEN_REPLAY_TOOL) + " " + arguments + " >" +
                                quoted(logFile) + " 2>" + quoted(errorFile) + " </dev/null";
    const int result = std::system(command.c_str());
    ReplayRun run;
    run.status = WIFEXITED(result) ? WEXITSTATUS(result) : -1;
    run.log = readWholeFile(logFile);
    run.errors = readWholeFile(errorFile);
    return run;
}

std::string testReplaysDir() { return std::string(QUILLFEN_TESTS_DIR) + "/replays"; }

std::string goldenDir() { return std::string(QUILLFEN_TESTS_DIR) + "/golden"; }
