#pragma once

#include "tools/lint-level/WorldChecks.h"

#include <string>
#include <vector>

// quillfen-lint's exit statuses.
constexpr int kLintClean = 0;      // no findings, or warnings without --werror
constexpr int kLintWarnings = 1;   // warnings, with --werror
constexpr int kLintErrors = 2;     // the game cannot run with this level: it would stop
constexpr int kLintUnreadable = 3; // the level could not be read at all (or a bad command line)

// One level to lint.
struct LintRequest {
    std::string levelFile; // the level text to read
    std::string shownFile; // its name as the user gave it, for every finding
    GameFolder folder;     // where the game would run: its pictures
    bool werror = false;   // warnings make the status 1
};

// The findings, one per line, then the summary line; and the exit status.
struct LintResult {
    std::string output;
    int status = kLintClean;
};

// Reads the level with the game's own reader and checks it and the world it builds.
LintResult lintLevel(const LintRequest& request);

// The whole file, or the reason it cannot be read. It is opened as the game opens its files:
// anything but a regular file is refused before a byte is read.
bool readLevelText(const std::string& path, std::string& text, std::string& problem);

// The output for a level that cannot be read.
std::string unreadableOutput(const std::string& shownFile, const std::string& problem);

// The findings of a level text, each naming `shownFile`, and how many records it holds.
struct LintFindings {
    std::vector<Diagnostic> diagnostics; // in the order they were found
    int records = 0;
};

// Reads the text with the game's own reader and checks it and the world it builds in `folder`.
LintFindings lintText(const std::string& text, const std::string& shownFile,
                      const GameFolder& folder);

// The findings in the order of the text, one per line, then the summary line.
std::string lintOutput(const LintFindings& findings, const std::string& shownFile);
