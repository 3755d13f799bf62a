#include "tools/lint-level/LevelLint.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>

namespace {

// The whole file, or the reason it cannot be read.
bool readLevelText(const std::string& path, std::string& text, std::string& problem)
{
    std::error_code error;
    const auto status = std::filesystem::status(path, error);
    if (!error && std::filesystem::exists(status) && !std::filesystem::is_regular_file(status)) {
        problem = "not a regular file";
        return false;
    }
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (file == nullptr) {
        problem = std::strerror(errno);
        return false;
    }
    char buffer[65536];
    std::size_t count = 0;
    while ((count = std::fread(buffer, 1, sizeof buffer, file)) > 0) {
        text.append(buffer, count);
    }
    const bool failed = std::ferror(file) != 0;
    const int failure = errno;
    std::fclose(file);
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
