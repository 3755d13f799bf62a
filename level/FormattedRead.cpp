#include "level/FormattedRead.h"

#include <cstdlib>

namespace {

bool isDigit(int byte) { return byte >= '0' && byte <= '9'; }

bool isHexDigit(int byte)
{
    return isDigit(byte) || (byte >= 'a' && byte <= 'f') || (byte >= 'A' && byte <= 'F');
}

int toLower(int byte) { return byte >= 'A' && byte <= 'Z' ? byte - 'A' + 'a' : byte; }

// Takes the bytes of `rest` one by one in any case; each mismatching byte is taken too,
// as the C library does while it tries to read "nan" or "infinity".
bool takeLetters(CharSource& source, const char* rest, std::string& text)
{
    for (const char* letter = rest; *letter != '\0'; ++letter) {
        const int byte = source.take();
        if (byte == EOF || toLower(byte) != *letter) {
            return false;
        }
        text += static_cast<char>(byte);
    }
    return true;
}

// "nan", "inf" or "infinity" after the first letter, which is still ahead.
bool takeNamedNumber(CharSource& source, std::string& text)
{
    const int first = toLower(source.take());
    text += static_cast<char>(first);
    if (first == 'n') {
        return takeLetters(source, "an", text);
    }
    if (!takeLetters(source, "nf", text)) {
        return false;
    }
    if (toLower(source.peek()) == 'i') {
        text += static_cast<char>(source.take());
        return takeLetters(source, "nity", text);
    }
    return true;
}

// The digits, point, exponent and exponent sign of a decimal or hexadecimal number. Returns
// false when nothing but a "0x" prefix came.
bool takeNumberBody(CharSource& source, std::string& text)
{
    const std::size_t start = text.size();
    bool hexadecimal = false;
    bool gotDigit = false;
    bool gotDot = false;
    bool gotExponent = false;
    char exponentLetter = 'e';
    if (source.peek() == '0') {
        text += static_cast<char>(source.take());
        if (toLower(source.peek()) == 'x') {
            text += static_cast<char>(source.take());
            hexadecimal = true;
            exponentLetter = 'p';
        } else {
            gotDigit = true;
        }
    }
    for (;;) {
        const int byte = source.peek();
        if (isDigit(byte) || (hexadecimal && !gotExponent && isHexDigit(byte))) {
            gotDigit = true;
        } else if (gotExponent && text.back() == exponentLetter && (byte == '-' || byte == '+')) {
            // the exponent's sign
        } else if (gotDigit && !gotExponent && toLower(byte) == exponentLetter) {
            gotExponent = true;
            gotDot = true;
        } else if (!gotDot && byte == '.') {
            gotDot = true;
        } else {
            break;
        }
        source.take();
        text += static_cast<char>(toLower(byte) == exponentLetter ? exponentLetter : byte);
    }
    return !(hexadecimal && text.size() == start + 2);
}

} // namespace

bool isLevelSpace(int byte)
{
    return byte == ' ' || byte == '\t' || byte == '\n' || byte == '\v' || byte == '\f' ||
           byte == '\r';
}

void skipLevelSpace(CharSource& source)
{
    while (isLevelSpace(source.peek())) {
        source.take();
    }
}

bool readWord(CharSource& source, std::string& word)
{
    skipLevelSpace(source);
    if (source.peek() == EOF) {
        return false;
    }
    word.clear();
    while (source.peek() != EOF && !isLevelSpace(source.peek())) {
        const int byte = source.take();
        if (word.size() < kMaxWordLength) {
            word += static_cast<char>(byte);
        }
    }
    return true;
}

bool readFloat(CharSource& source, float& value)
{
    skipLevelSpace(source);
    std::string text;
    // The sign is read here and the number's body by strtof: "-nan" is a not-a-number with
    // its sign bit set on every C library (some drop the sign of a named number).
    const bool negative = source.peek() == '-';
    if (negative || source.peek() == '+') {
        source.take();
    }
    const int first = toLower(source.peek());
    if (first == EOF) {
        return false;
    }
    const bool named = first == 'n' || first == 'i';
    if (named ? !takeNamedNumber(source, text) : !takeNumberBody(source, text)) {
        return false;
    }
    char* end = nullptr;
    const float number = std::strtof(text.c_str(), &end);
    if (end == text.c_str()) {
        return false;
    }
    value = negative ? -number : number;
    return true;
}

bool readInt(CharSource& source, int32_t& value)
{
    skipLevelSpace(source);
    std::string text;
    if (source.peek() == '-' || source.peek() == '+') {
        text += static_cast<char>(source.take());
    }
    while (isDigit(source.peek())) {
        text += static_cast<char>(source.take());
    }
    if (text.empty() || !isDigit(static_cast<unsigned char>(text.back()))) {
        return false;
    }
    const long long wide = std::strtoll(text.c_str(), nullptr, 10);
    value = static_cast<int32_t>(static_cast<uint32_t>(static_cast<unsigned long long>(wide)));
    return true;
}

bool readChar(CharSource& source, char& value)
{
    const int byte = source.take();
    if (byte == EOF) {
        return false;
    }
    value = static_cast<char>(byte);
    return true;
}
