#include "app/SessionHeader.h"

#include "app/ProgramVersion.h"
#include "level/InputFile.h"
#include "world/Game.h"
#include "world/WorldState.h"

#include <cstdio>
#include <sstream>

namespace {

const char* const kMissing = "missing";
const char* const kSessionMark = "# Quillfen session";

// The hash of a file as the game reads it: a file that it would refuse (not a regular file)
// counts as missing.
std::string fileHash(const std::string& name)
{
    const InputFile input = openInputFile(name);
    if (input.file == nullptr) {
        return kMissing;
    }
    std::string bytes;
    char buffer[4096];
    size_t count = 0;
    while ((count = std::fread(buffer, 1, sizeof buffer, input.file)) > 0) {
        bytes.append(buffer, count);
    }
    std::fclose(input.file);
    return hashText(fnv1a64(bytes));
}

std::string recordedAgainstHere(const std::string& what, const std::string& recorded,
                                const std::string& here)
{
    return what + " (recorded " + recorded + ", here " + here + ")";
}

} // namespace

SessionHeader describeSession(Game& world, const std::string& date)
{
    SessionHeader header;
    header.program = kProgramVersion;
    header.date = date;
    header.level = fileHash("Level.txt");
    for (const std::string& picture : world.renderer.pictureFiles) {
        header.pictures.emplace_back(picture, fileHash(picture));
    }
    return header;
}

std::string sessionHeaderText(const SessionHeader& header)
{
    std::string text =
        std::string(kSessionMark) + ": an input script for quillfen-replay --input\n";
    text += "# format " + std::to_string(header.format) + "\n";
    text += "# program " + header.program + "\n";
    text += "# date " + header.date + "\n";
    text += "# level Level.txt " + header.level + "\n";
    for (const auto& [name, hash] : header.pictures) {
        text.append("# picture ").append(name).append(" ").append(hash).append("\n");
    }
    return text;
}

SessionHeader readSessionHeader(const std::vector<std::string>& commentLines)
{
    SessionHeader header;
    header.format = 0;
    if (commentLines.empty() || commentLines.front().rfind(kSessionMark, 0) != 0) {
        return header; // a script written by hand: its comments are its own
    }
    for (const std::string& line : commentLines) {
        std::istringstream words(line);
        std::string hashMark;
        std::string key;
        std::string first;
        std::string second;
        words >> hashMark >> key >> first >> second;
        if (hashMark != "#") {
            continue;
        }
        if (key == "format") {
            // A format this build does not know reads as -1 (not a number, or far too large).
            const bool number = !first.empty() && first.size() < 9 &&
                                first.find_first_not_of("0123456789") == std::string::npos;
            header.format = number ? std::stoi(first) : -1;
        } else if (key == "program") {
            header.program = first;
        } else if (key == "date") {
            header.date = first;
        } else if (key == "level" && first == "Level.txt") {
            header.level = second;
        } else if (key == "picture" && !second.empty()) {
            header.pictures.emplace_back(first, second);
        }
    }
    return header;
}

std::vector<std::string> sessionDifferences(const SessionHeader& recorded,
                                            const SessionHeader& here, bool program)
{
    std::vector<std::string> differences;
    if (!recorded.level.empty() && recorded.level != here.level) {
        differences.push_back(recordedAgainstHere("Level.txt", recorded.level, here.level));
    }
    for (const auto& [name, hash] : recorded.pictures) {
        std::string hashHere = "not loaded";
        for (const auto& [nameHere, loadedHash] : here.pictures) {
            hashHere = nameHere == name ? loadedHash : hashHere;
        }
        if (hashHere != hash) {
            differences.push_back(recordedAgainstHere("picture " + name, hash, hashHere));
        }
    }
    if (!recorded.pictures.empty()) {
        for (const auto& [name, hash] : here.pictures) {
            bool recordedToo = false;
            for (const auto& picture : recorded.pictures) {
                recordedToo = recordedToo || picture.first == name;
            }
            if (!recordedToo) {
                differences.push_back(recordedAgainstHere("picture " + name, "not loaded", hash));
            }
        }
    }
    if (program && !recorded.program.empty() && recorded.program != here.program) {
        differences.push_back(
            recordedAgainstHere("program version", recorded.program, here.program));
    }
    return differences;
}
