#include "tools/level-editor/JsonWriter.h"

#include <cmath>
#include <cstdio>

namespace {

// The length of the valid UTF-8 sequence at `at`, or 0 when the byte there starts none.
std::size_t utf8Length(std::string_view text, std::size_t at)
{
    const auto byte = [&text](std::size_t index) {
        return static_cast<unsigned char>(text[index]);
    };
    const unsigned char lead = byte(at);
    std::size_t length = 0;
    unsigned lowest = 0;
    if (lead < 0x80) {
        return 1;
    }
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
        lowest = 0x80;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        lowest = 0x800;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        lowest = 0x10000;
    } else {
        return 0;
    }
    if (at + length > text.size()) {
        return 0;
    }
    unsigned code = lead & (0x7Fu >> length);
    for (std::size_t index = 1; index < length; ++index) {
        if ((byte(at + index) & 0xC0u) != 0x80u) {
            return 0;
        }
        code = (code << 6) | (byte(at + index) & 0x3Fu);
    }
    const bool surrogate = code >= 0xD800 && code <= 0xDFFF;
    return code < lowest || code > 0x10FFFF || surrogate ? 0 : length;
}

} // namespace

std::string wellFormedUtf8(std::string_view text)
{
    std::string out;
    out.reserve(text.size());
    for (std::size_t at = 0; at < text.size();) {
        const std::size_t length = utf8Length(text, at);
        if (length == 0) {
            out += "\xEF\xBF\xBD";
            ++at;
        } else {
            out.append(text.substr(at, length));
            at += length;
        }
    }
    return out;
}

void JsonWriter::beginValue()
{
    if (afterKey) {
        afterKey = false;
        return;
    }
    if (!empty.empty()) {
        if (!empty.back()) {
            out += ',';
        }
        empty.back() = false;
    }
}

JsonWriter& JsonWriter::beginObject()
{
    beginValue();
    out += '{';
    empty.push_back(true);
    return *this;
}

JsonWriter& JsonWriter::endObject()
{
    out += '}';
    empty.pop_back();
    return *this;
}

JsonWriter& JsonWriter::beginArray()
{
    beginValue();
    out += '[';
    empty.push_back(true);
    return *this;
}

JsonWriter& JsonWriter::endArray()
{
    out += ']';
    empty.pop_back();
    return *this;
}

JsonWriter& JsonWriter::key(std::string_view name)
{
    string(name);
    out += ':';
    afterKey = true;
    return *this;
}

void JsonWriter::writeDouble(double value, int digits)
{
    if (std::isnan(value)) {
        string("nan");
        return;
    }
    if (std::isinf(value)) {
        string(value > 0 ? "inf" : "-inf");
        return;
    }
    beginValue();
    char buffer[40];
    std::snprintf(buffer, sizeof buffer, "%.*g", digits, value);
    out += buffer;
}

JsonWriter& JsonWriter::number(float value)
{
    writeDouble(static_cast<double>(value), 9);
    return *this;
}

JsonWriter& JsonWriter::number(double value)
{
    // Values the game read as floats print as floats; integers print whole either way.
    const bool isFloat = static_cast<double>(static_cast<float>(value)) == value;
    writeDouble(value, isFloat ? 9 : 17);
    return *this;
}

JsonWriter& JsonWriter::integer(int64_t value)
{
    beginValue();
    out += std::to_string(value);
    return *this;
}

JsonWriter& JsonWriter::boolean(bool value)
{
    beginValue();
    out += value ? "true" : "false";
    return *this;
}

JsonWriter& JsonWriter::null()
{
    beginValue();
    out += "null";
    return *this;
}

JsonWriter& JsonWriter::range(std::size_t from, std::size_t to)
{
    beginArray();
    integer(static_cast<int64_t>(from));
    integer(static_cast<int64_t>(to));
    return endArray();
}

JsonWriter& JsonWriter::string(std::string_view text)
{
    beginValue();
    out += '"';
    for (std::size_t at = 0; at < text.size();) {
        const char c = text[at];
        const std::size_t length = utf8Length(text, at);
        if (length == 0) {
            out += "\xEF\xBF\xBD";
            ++at;
            continue;
        }
        if (c == '"' || c == '\\') {
            out += '\\';
            out += c;
        } else if (c == '\n') {
            out += "\\n";
        } else if (c == '\r') {
            out += "\\r";
        } else if (c == '\t') {
            out += "\\t";
        } else if (static_cast<unsigned char>(c) < 0x20) {
            char escaped[8];
            std::snprintf(escaped, sizeof escaped, "\\u%04x", static_cast<unsigned>(c));
            out += escaped;
        } else {
            out.append(text.substr(at, length));
        }
        at += length;
    }
    out += '"';
    return *this;
}
