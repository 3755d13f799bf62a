#pragma once

#include "tools/lint-level/WorldChecks.h"

#include <string>

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
