#include "tools/replay/SessionCheck.h"

#include "app/SessionHeader.h"
#include "tools/replay/StepRunner.h"
#include "world/WorldState.h"

namespace {

std::string joined(const std::vector<std::string>& phrases)
{
    std::string text;
    for (const std::string& phrase : phrases) {
        text += (text.empty() ? "" : "; ") + phrase;
    }
    return text;
}

} // namespace

std::string unreadableFormat(const std::vector<std::string>& comments)
{
    const int format = readSessionHeader(comments).format;
    if (format == 0 || format == kSessionFormat) {
        return "";
    }
    return "the recording is of format " + std::to_string(format) +
           "; this quillfen-replay reads format " + std::to_string(kSessionFormat);
}

std::vector<std::string> headerNotes(const std::vector<std::string>& comments, Game& world)
{
    const std::vector<std::string> differences =
        sessionDifferences(readSessionHeader(comments), describeSession(world, ""), false);
    std::vector<std::string> notes;
    notes.reserve(differences.size());
    for (const std::string& difference : differences) {
        notes.push_back("note: not the recorded file: " + difference);
    }
    return notes;
}

std::vector<std::string> desyncReport(const std::vector<std::string>& comments, Game& world,
                                      const ReplayResult& result)
{
    std::vector<std::string> lines;
    lines.push_back("desync at step " + std::to_string(result.desyncStep) +
                    ": the world's state hash is " + hashText(result.stateHash) +
                    ", the recording has " + hashText(result.recordedHash));
    const SessionHeader recorded = readSessionHeader(comments);
    if (recorded.format == 0) {
        lines.emplace_back("the script has no recording header to compare with");
        return lines;
    }
    const std::vector<std::string> differences =
        sessionDifferences(recorded, describeSession(world, ""), true);
    lines.push_back(differences.empty()
                        ? "the level, the pictures and the program version are the recorded ones"
                        : "differs from the recording: " + joined(differences));
    return lines;
}
