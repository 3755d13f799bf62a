#pragma once

// The head of a recorded session: comment lines that say what it was recorded with, so that a
// replay can name what is not the same when it goes another way.
//   # Quillfen session: ...                               the first comment line of the file
//   # format 1
//   # program <version of the build>
//   # date <UTC, as 2026-12-07T01:02:03Z>
//   # level Level.txt <hash of the file, or "missing">
//   # picture <file> <hash of the file, or "missing">     one per bitmap the world loaded
// Hashes are the 64-bit FNV-1a of the file's bytes, as 16 hexadecimal digits.

#include <string>
#include <utility>
#include <vector>

class Game;

constexpr int kSessionFormat = 1;

struct SessionHeader {
    int format = kSessionFormat;
    std::string program;
    std::string date;
    std::string level;                                         // the hash of Level.txt
    std::vector<std::pair<std::string, std::string>> pictures; // file name, hash
};

// What this build and the files of the working directory say for a world built and loaded.
SessionHeader describeSession(Game& world, const std::string& date);

// The header as the comment lines written at the top of a recording.
std::string sessionHeaderText(const SessionHeader& header);

// Reads the header back from a recording's comment lines (each without its line end); fields
// that are not there stay empty. Without the first line of a recording (a script written by
// hand) the format is 0 and nothing is read; a format line that is not a number reads as -1.
SessionHeader readSessionHeader(const std::vector<std::string>& commentLines);

// What differs between a recorded header and this run's, one phrase each ("Level.txt
// (recorded ..., here ...)"); the date is not compared. With `program` false, the program
// version is left out.
std::vector<std::string> sessionDifferences(const SessionHeader& recorded,
                                            const SessionHeader& here, bool program);
