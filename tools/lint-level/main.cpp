// quillfen-lint: reads a Level.txt with the game's own reader and says, in the form compilers
// use, where the file reads differently from how it looks and what would stop the game.

#include "tools/lint-level/LevelLint.h"
#include "tools/lint-level/LintOptions.h"

#include <iostream>

int main(int argc, char** argv)
{
    LintRequest request;
    bool help = false;
    const std::string problem = parseLintOptions(argc, argv, request, help);
    if (help) {
        std::cout << kLintUsage;
        return kLintClean;
    }
    if (!problem.empty()) {
        std::cerr << "quillfen-lint: " << problem << "\n" << kLintUsage;
        return kLintUnreadable;
    }
    const LintResult result = lintLevel(request);
    std::cout << result.output << std::flush;
    return result.status;
}
