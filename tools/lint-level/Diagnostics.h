#pragma once

#include "level/CharSource.h"

#include <string>
#include <vector>

enum class Severity {
    Warning, // the game runs, but not as the text seems to say
    Error,   // the game cannot run with it: it stops
};

// One finding, in the form compilers give them: "file:line:column: warning: message".
struct Diagnostic {
    std::string file;    // as the user named it, so an editor can open it
    bool located = true; // false: the finding is about the whole file
    TextPosition at;
    Severity severity = Severity::Warning;
    std::string message;
};

// "line:column", as the messages name the start of a record.
std::string describePosition(TextPosition at);

// Puts the findings in the order of the text: findings about whole files first, then by line
// and column, findings at one place in the order they were found.
void sortDiagnostics(std::vector<Diagnostic>& diagnostics);

// The findings in the order of the text (findings about whole files first), one per line.
std::string formatDiagnostics(std::vector<Diagnostic> diagnostics);

// "Level.txt: 1 error, 2 warnings in 31 records" or "Level.txt: clean, 31 records".
std::string summaryLine(const std::string& file, const std::vector<Diagnostic>& diagnostics,
                        int records);

// A word of the text for a message: quoted, long ones shortened.
std::string quotedWord(const std::string& word);

// A number as the game's log writes it (six significant digits).
std::string numberText(double number);
