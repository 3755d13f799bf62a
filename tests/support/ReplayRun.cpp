#include "support/ReplayRun.h"

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <vector>

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

ReplayRun runReplayTool(const std::string& arguments, const std::string& outputDirectory)
{
    const std::string logFile = outputDirectory + "/replay-stdout.txt";
    const std::string errorFile = outputDirectory + "/replay-stderr.txt";
    // QUILLFEN_REPLAY_COMMAND runs another build of the tool through the same tests: the
    // browser build under node ("node .../quillfen-replay.js").
    const char* other = std::getenv("QUILLFEN_REPLAY_COMMAND");
    const std::string tool = other != nullptr ? other : quoted(QUILLFEN_REPLAY_TOOL);
    const std::string command =
        tool + " " + arguments + " >" + quoted(logFile) + " 2>" + quoted(errorFile) + " </dev/null";
    const int result = std::system(command.c_str());
    ReplayRun run;
    run.status = WIFEXITED(result) ? WEXITSTATUS(result) : -1;
    run.log = readWholeFile(logFile);
    run.errors = readWholeFile(errorFile);
    return run;
}

std::string withoutFrameRates(std::string log)
{
    for (size_t end = log.find(" FPS\n"); end != std::string::npos; end = log.find(" FPS\n")) {
        const size_t start =
            log.find_last_not_of("0123456789", log.rfind(" frames in ", end) - 1) + 1;
        log.erase(start, end + 5 - start);
    }
    return log;
}

std::string testReplaysDir() { return std::string(QUILLFEN_TESTS_DIR) + "/replays"; }

std::string goldenDir() { return std::string(QUILLFEN_TESTS_DIR) + "/golden"; }

namespace {

std::vector<std::string> split(const std::string& text, char separator)
{
    std::vector<std::string> parts;
    std::istringstream in(text);
    for (std::string part; std::getline(in, part, separator);) {
        parts.push_back(part);
    }
    return parts;
}

} // namespace

std::string firstTraceDifference(const std::string& actual, const std::string& expected)
{
    const std::vector<std::string> got = split(actual, '\n');
    const std::vector<std::string> want = split(expected, '\n');
    std::string step; // none in a log
    for (size_t index = 0; index < std::max(got.size(), want.size()); ++index) {
        const std::string mine = index < got.size() ? got[index] : "";
        const std::string theirs = index < want.size() ? want[index] : "";
        const std::vector<std::string> words = split(theirs, ' ');
        step = theirs.rfind("step ", 0) == 0 ? words.at(1) : step;
        if (mine == theirs) {
            continue;
        }
        const std::string where =
            (step.empty() ? "" : "step " + step + ", ") + "line " + std::to_string(index + 1);
        const std::vector<std::string> values = split(mine, ' ');
        const std::vector<std::string> fields =
            split("e list id x y dirX dirY speed inContact", ' ');
        for (size_t field = 3; theirs.rfind("e ", 0) == 0 && field < words.size(); ++field) {
            if (field >= values.size() || values[field] != words[field]) {
                return where + ", entity " + words[2] + " of list " + words[1] + ", " +
                       fields.at(field) + ": " + (field < values.size() ? values[field] : "none") +
                       " where " + words[field] + " was expected";
            }
        }
        return where + ": [" + mine + "] where [" + theirs + "] was expected";
    }
    return "";
}
