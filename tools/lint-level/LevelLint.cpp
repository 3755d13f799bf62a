#include "tools/lint-level/LevelLint.h"

#include "level/InputFile.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>

namespace {

// The whole file, or the reason it cannot be read. It is opened as the game opens its files:
// anything but a regular file is refused before a byte is read.
bool readLevelText(const std::string& path, std::string& text, std::string& problem)
{
    const InputFile input = openInputFile(path);
    if (input.file == nullptr) {
        problem = input.problem;
        return false;
    }
    char buffer[65536];
    std::size_t count = 0;
    while ((count = std::fread(buffer, 1, sizeof buffer, input.file)) > 0) {
        text.append(buffer, count);
    }
    const bool failed = std::ferror(input.file) != 0;
    const int failure = errno;
    std::fclose(input.file);
    if (failed) {
        problem = std::strerror(failure);
    }
    return !failed;
}

} // namespace

LintResult lintLevel(const LintRequest& request)
{
    LintResult result;
    std::string text;
    std::string problem;
    if (!readLevelText(request.levelFile, text, problem)) {
        result.output = request.shownFile + ": error: cannot be read: " + problem + "\n";
        result.status = kLintUnreadable;
        return result;
    }
    std::vector<Diagnostic> diagnostics;
    const LevelContents contents = LevelWalk(text, request.shownFile).run(diagnostics);
    checkWorld(contents, request.folder, request.shownFile, diagnostics);
    result.output = formatDiagnostics(diagnostics) +
                    summaryLine(request.shownFile, diagnostics, contents.records);
    const bool errors =
        std::any_of(diagnostics.begin(), diagnostics.end(),
                    [](const Diagnostic& d) { return d.severity == Severity::Error; });
    if (errors) {
        result.status = kLintErrors;
    } else if (!diagnostics.empty() && request.werror) {
        result.status = kLintWarnings;
    }
    return result;
}
