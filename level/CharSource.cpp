#include "level/CharSource.h"

CharSource::CharSource(std::FILE* openFile) : file(openFile) {}

CharSource::CharSource(const char* text, std::size_t length)
    : bytes(reinterpret_cast<const unsigned char*>(text)), size(length)
{
}

int CharSource::fetch()
{
    if (file != nullptr) {
        return std::getc(file);
    }
    if (bytes == nullptr || position >= size) {
        return EOF;
    }
    return bytes[position++];
}

int CharSource::peek()
{
    if (ahead == kNothingAhead) {
        ahead = fetch();
    }
    return ahead;
}

int CharSource::take()
{
    const int byte = peek();
    if (byte != EOF) {
        ahead = kNothingAhead;
        ++takenCount;
        if (byte == '\n') {
            ++line;
            lineStart = takenCount;
        }
    }
    return byte;
}

TextPosition CharSource::textPosition() const
{
    return TextPosition{line, takenCount - lineStart + 1};
}
