#pragma once

#include "tools/lint-level/LevelLint.h"

#include <string>

extern const char* const kLintUsage;

// Reads `quillfen-lint [--dir DIR] [--werror] [FILE]` into a request. FILE is taken from
// where the tool starts and defaults to Level.txt in DIR; DIR defaults to FILE's folder, or the
// current one. Returns what is wrong with the command line, or "" when it is good.
std::string parseLintOptions(int argc, const char* const* argv, LintRequest& request, bool& help);
