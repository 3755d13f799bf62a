#include "tools/replay/InputScript.h"

#include "app/InputNames.h"
#include "app/KeyNumbers.h"
#include "level/InputFile.h"

#include <cctype>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <sstream>

namespace {

// A word as it may be shown in a message: printable, and not too long.
std::string shown(const std::string& word)
{
    std::string result;
    for (const char c : word.substr(0, 40)) {
        result += std::isprint(static_cast<unsigned char>(c)) != 0 ? c : '?';
    }
    if (word.size() > 40) {
        result += "...";
    }
    return "'" + result + "'";
}

// Splits a line into words, dropping a "#" comment and any carriage return.
std::vector<std::string> wordsOf(const std::string& line)
{
    std::vector<std::string> words;
    std::string word;
    for (const char c : line.substr(0, line.find('#'))) {
        if (c == ' ' || c == '\t' || c == '\r' || c == '\v' || c == '\f') {
            if (!word.empty()) {
                words.push_back(word);
                word.clear();
            }
        } else {
            word += c;
        }
    }
    if (!word.empty()) {
        words.push_back(word);
    }
    return words;
}

enum class NumberForm { Good, NotANumber, Negative, TooLarge };

// A decimal number of digits only (a leading minus sign is recognised to be refused).
NumberForm readNumber(const std::string& word, int64_t largest, int64_t& value)
{
    const bool negative = !word.empty() && word[0] == '-';
    const std::string digits = negative ? word.substr(1) : word;
    if (digits.empty() || digits.find_first_not_of("0123456789") != std::string::npos) {
        return NumberForm::NotANumber;
    }
    value = 0;
    if (negative) {
        return digits.find_first_not_of('0') == std::string::npos ? NumberForm::Good
                                                                  : NumberForm::Negative;
    }
    for (const char c : digits) {
        value = value * 10 + (c - '0');
        if (value > largest) {
            return NumberForm::TooLarge;
        }
    }
    return NumberForm::Good;
}

// Reads one line into an event; returns the message of what is wrong, or "".
class LineReader {
public:
    LineReader(std::vector<std::string> lineWords, ScriptEvent& target)
        : words(std::move(lineWords)), event(target)
    {
    }

    std::string read();

private:
    std::string readStep();
    std::string readKey(const char* what);
    std::string readClick();
    std::string readHash();
    std::string readCoordinate(const char* axis, int32_t size, int32_t& value);
    std::string readNamedOrNumber(const std::string& word, const NamedCode* names, size_t count,
                                  int32_t largest, int32_t& value);

    std::vector<std::string> words;
    ScriptEvent& event;
    size_t next = 0;
};

std::string LineReader::read()
{
    std::string problem = readStep();
    if (!problem.empty()) {
        return problem;
    }
    if (next == words.size()) {
        return "missing event after the step number (down, up, click or quit)";
    }
    const std::string& action = words[next++];
    if (action == "down") {
        event.action = ScriptAction::KeyDown;
        problem = readKey("down");
    } else if (action == "up") {
        event.action = ScriptAction::KeyUp;
        problem = readKey("up");
    } else if (action == "click") {
        event.action = ScriptAction::Click;
        problem = readClick();
    } else if (action == "quit") {
        event.action = ScriptAction::Quit;
    } else if (action == "check") {
        event.action = ScriptAction::Check;
        problem = readHash();
    } else {
        return "unknown event " + shown(action) + " (expected down, up, click or quit)";
    }
    if (event.step == 0 && event.action != ScriptAction::Check) {
        return "step number 0: steps count from 1";
    }
    if (problem.empty() && next < words.size()) {
        problem = "unexpected " + shown(words[next]) + " after the " + action + " event";
    }
    return problem;
}

std::string LineReader::readStep()
{
    const std::string& word = words[next++];
    int64_t step = 0;
    switch (readNumber(word, kLastScriptStep, step)) {
    case NumberForm::NotANumber:
        return "expected a step number at the start of the line, found " + shown(word);
    case NumberForm::Negative:
        return "step number " + shown(word) + " is negative; steps count from 1";
    case NumberForm::TooLarge:
        return "step number " + shown(word) + " is too large (at most " +
               std::to_string(kLastScriptStep) + ")";
    case NumberForm::Good: break;
    }
    event.step = step; // 0 only for the checkpoint of the world as built
    if (step == 0 && next == words.size()) {
        return "step number 0: steps count from 1";
    }
    return "";
}

std::string LineReader::readKey(const char* what)
{
    if (next == words.size()) {
        return std::string("missing key after '") + what + "'";
    }
    const std::string& word = words[next++];
    const std::string problem =
        readNamedOrNumber(word, kKeyNames, std::size(kKeyNames), kLastKeyNumber, event.code);
    if (!problem.empty()) {
        return "unknown key " + shown(word) +
               " (expected a, d, space, backquote, up, down, left, right or an SDL 1.2 key "
               "number from 0 to " +
               std::to_string(kLastKeyNumber) + ")";
    }
    return "";
}

std::string LineReader::readClick()
{
    if (next == words.size()) {
        return "missing button after 'click'";
    }
    const std::string& word = words[next++];
    if (!readNamedOrNumber(word, kButtonNames, std::size(kButtonNames), kLastMouseButton,
                           event.code)
             .empty()) {
        return "unknown button " + shown(word) +
               " (expected left, middle, right, wheelup, wheeldown or a number from 0 to " +
               std::to_string(kLastMouseButton) + ")";
    }
    std::string problem = readCoordinate("x", kWindowWidth, event.x);
    if (problem.empty()) {
        problem = readCoordinate("y", kWindowHeight, event.y);
    }
    return problem;
}

std::string LineReader::readHash()
{
    const std::string word = next < words.size() ? words[next++] : "";
    if (word.size() != 16 || word.find_first_not_of("0123456789abcdef") != std::string::npos) {
        return "a checkpoint needs the state's hash, 16 hexadecimal digits, found " +
               (word.empty() ? std::string("nothing") : shown(word));
    }
    event.stateHash = std::stoull(word, nullptr, 16);
    return "";
}

std::string LineReader::readCoordinate(const char* axis, int32_t size, int32_t& value)
{
    const std::string range =
        std::string(axis) + " must be a window pixel from 0 to " + std::to_string(size - 1);
    if (next == words.size()) {
        return std::string("missing ") + axis + " of the click (" + range + ")";
    }
    const std::string& word = words[next++];
    int64_t number = 0;
    if (readNumber(word, size - 1, number) != NumberForm::Good) {
        return range + ", found " + shown(word);
    }
    value = static_cast<int32_t>(number);
    return "";
}

std::string LineReader::readNamedOrNumber(const std::string& word, const NamedCode* names,
                                          size_t count, int32_t largest, int32_t& value)
{
    for (size_t index = 0; index < count; ++index) {
        if (word == names[index].name) {
            value = names[index].code;
            return "";
        }
    }
    int64_t number = 0;
    if (readNumber(word, largest, number) != NumberForm::Good) {
        return "unknown";
    }
    value = static_cast<int32_t>(number);
    return "";
}

} // namespace

ParsedScript parseInputScript(const std::string& text, const std::string& fileName)
{
    ParsedScript parsed;
    std::istringstream lines(text);
    std::string line;
    int lineNumber = 0;
    while (std::getline(lines, line)) {
        ++lineNumber;
        std::vector<std::string> words = wordsOf(line);
        if (words.empty()) {
            if (line.rfind('#', 0) == 0) {
                parsed.comments.push_back(line);
            }
            continue;
        }
        ScriptEvent event;
        event.line = lineNumber;
        const std::string problem = LineReader(std::move(words), event).read();
        if (!problem.empty()) {
            parsed = ParsedScript{};
            parsed.error = fileName;
            parsed.error += ":" + std::to_string(lineNumber) + ": ";
            parsed.error += problem;
            return parsed;
        }
        (event.action == ScriptAction::Check ? parsed.checkpoints : parsed.events).push_back(event);
    }
    return parsed;
}

ParsedScript readInputScript(const std::string& fileName)
{
    const InputFile input = openInputFile(fileName);
    std::string problem = input.problem;
    std::string text;
    if (input.file != nullptr) {
        char buffer[4096];
        size_t count = 0;
        while ((count = std::fread(buffer, 1, sizeof buffer, input.file)) > 0) {
            text.append(buffer, count);
        }
        if (std::ferror(input.file) != 0) {
            problem = std::strerror(errno);
        }
        std::fclose(input.file);
    }
    if (!problem.empty()) {
        ParsedScript unreadable;
        unreadable.error = fileName + ": cannot read the input script (" + problem + ")";
        return unreadable;
    }
    return parseInputScript(text, fileName);
}
