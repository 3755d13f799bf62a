#include "tools/lint-level/Diagnostics.h"

#include <algorithm>
#include <sstream>

namespace {

constexpr std::size_t kLongestQuotedWord = 40;

bool comesBefore(const Diagnostic& a, const Diagnostic& b)
{
    if (a.located != b.located) {
        return !a.located;
    }
    if (a.at.line != b.at.line) {
        return a.at.line < b.at.line;
    }
    return a.at.column < b.at.column;
}

std::string counted(std::size_t count, const char* what)
{
    return std::to_string(count) + " " + what + (count == 1 ? "" : "s");
}

} // namespace

std::string describePosition(TextPosition at)
{
    return std::to_string(at.line) + ":" + std::to_string(at.column);
}

void sortDiagnostics(std::vector<Diagnostic>& diagnostics)
{
    std::stable_sort(diagnostics.begin(), diagnostics.end(), comesBefore);
}

std::string formatDiagnostics(std::vector<Diagnostic> diagnostics)
{
    sortDiagnostics(diagnostics);
    std::string text;
    for (const Diagnostic& diagnostic : diagnostics) {
        text += diagnostic.file + ":";
        if (diagnostic.located) {
            text += describePosition(diagnostic.at) + ":";
        }
        text += diagnostic.severity == Severity::Error ? " error: " : " warning: ";
        text += diagnostic.message + "\n";
    }
    return text;
}

std::string summaryLine(const std::string& file, const std::vector<Diagnostic>& diagnostics,
                        int records)
{
    const auto errors = static_cast<std::size_t>(
        std::count_if(diagnostics.begin(), diagnostics.end(),
                      [](const Diagnostic& d) { return d.severity == Severity::Error; }));
    const std::size_t warnings = diagnostics.size() - errors;
    const std::string recordCount = counted(static_cast<std::size_t>(records), "record");
    if (diagnostics.empty()) {
        return file + ": clean, " + recordCount + "\n";
    }
    return file + ": " + counted(errors, "error") + ", " + counted(warnings, "warning") + " in " +
           recordCount + "\n";
}

std::string quotedWord(const std::string& word)
{
    if (word.size() <= kLongestQuotedWord) {
        return "'" + word + "'";
    }
    return "'" + word.substr(0, kLongestQuotedWord) + "...'";
}

std::string numberText(double number)
{
    std::ostringstream text;
    text << static_cast<float>(number);
    return text.str();
}
