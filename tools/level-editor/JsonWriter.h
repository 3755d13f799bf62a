#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// Writes JSON text as it is built: objects, arrays, keys and values in order, the commas in
// between. Floats are written so that they read back to the same float ("%.9g"); NaN and the
// infinities, which JSON has no numbers for, as the strings "nan", "inf" and "-inf". Strings
// are written as UTF-8: a byte that is not part of valid UTF-8 becomes U+FFFD.
class JsonWriter {
public:
    JsonWriter& beginObject();
    JsonWriter& endObject();
    JsonWriter& beginArray();
    JsonWriter& endArray();
    JsonWriter& key(std::string_view name);

    JsonWriter& number(float value);
    JsonWriter& number(double value); // as a float when it is one, else with 17 digits
    JsonWriter& integer(int64_t value);
    JsonWriter& boolean(bool value);
    JsonWriter& string(std::string_view text);
    JsonWriter& null();
    // A two-number array: a byte range [from, to).
    JsonWriter& range(std::size_t from, std::size_t to);

    const std::string& text() const { return out; }

private:
    void beginValue();
    void writeDouble(double value, int digits);

    std::string out;
    std::vector<bool> empty; // per open container: nothing written in it yet
    bool afterKey = false;
};

// The text with each byte that begins no valid UTF-8 sequence replaced by U+FFFD, as
// JsonWriter::string writes it.
std::string wellFormedUtf8(std::string_view text);
