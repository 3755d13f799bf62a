#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <string_view>
#include <vector>

// The bulk of a level's description (its records, the shapes the map draws and the findings of
// the lint) as flat tables
// of numbers, for the page: handed over as typed arrays, they cost a copy where the same as
// JSON costs writing, parsing and cloning a million small objects. Words are indices into
// `strings`. web/editor/description-tables.js reads them back into the JSON's shapes.
struct DescriptionTables {
    // Per record: header, kind, from, to, line, column, name from, name to (-1 -1 without a
    // name), first key, keys, first field, fields, first finding, findings.
    std::vector<int32_t> records;
    // Per key: its name, from, to, first value, values.
    std::vector<int32_t> keys;
    // Per value of a key: from, to, flags (kParsed, kName, kEndOfText), its name (or -1).
    std::vector<int32_t> values;
    std::vector<double> valueNumbers; // per value: the number read (0 for none)
    // Per field of what the game read for a record: its name, its type (kNumber, kInteger,
    // kText) and its text (or -1).
    std::vector<int32_t> fields;
    std::vector<double> fieldNumbers; // per field
    std::vector<int32_t> findings;    // the findings of each record, one run per record
    // Per shape of the overlay: its kind, record, colour, dashed, first number, numbers; the
    // numbers are its points, or x, y (and the radius of a circle).
    std::vector<int32_t> shapes;
    std::vector<float> shapeNumbers;
    // Per finding of the lint: line, column, offset, length, severity (0 error, 1 warning),
    // located, record, first byte and end of its message in `messages`, its file.
    std::vector<int32_t> findingRows;
    std::string messages; // the findings' messages, well-formed UTF-8, one after another
    std::string report;   // what quillfen-lint prints (a line a finding: megabytes for some)
    std::vector<std::string> strings;

    static constexpr int32_t kParsed = 1;
    static constexpr int32_t kName = 2;
    static constexpr int32_t kEndOfText = 4;
    static constexpr int32_t kNumber = 0;
    static constexpr int32_t kInteger = 1;
    static constexpr int32_t kText = 2;

    // The index of `text` in `strings`, added when new.
    int32_t stringIndex(std::string_view text);

private:
    std::map<std::string, int32_t, std::less<>> known;
};
