#include "tools/lint-level/LevelLint.h"

#include "level/InputFile.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>

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

std::string unreadableOutput(const std::string& shownFile, const std::string& problem)
{
    return shownFile + ": error: cannot be read: " + problem + "\n";
}

LintFindings lintText(const std::string& text, const std::string& shownFile,
                      const GameFolder& folder)
{
    LintFindings findings;
    const LevelContents contents = LevelWalk(text, shownFile).run(findings.diagnostics);
    checkWorld(contents, folder, shownFile, findings.diagnostics);
    findings.records = contents.records;
    return findings;
}

std::string lintOutput(const LintFindings& findings, const std::string& shownFile)
{
    return formatDiagnostics(findings.diagnostics) +
           summaryLine(shownFile, findings.diagnostics, findings.records);
}

LintResult lintLevel(const LintRequest& request)
{
    LintResult result;
    std::string text;
    std::string problem;
    if (!readLevelText(request.levelFile, text, problem)) {
        result.output = unreadableOutput(request.shownFile, problem);
        result.status = kLintUnreadable;
        return result;
    }
    const LintFindings findings = lintText(text, request.shownFile, request.folder);
    result.output = lintOutput(findings, request.shownFile);
    const std::vector<Diagnostic>& diagnostics = findings.diagnostics;
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
