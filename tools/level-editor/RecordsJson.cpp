#include "tools/level-editor/RecordsJson.h"

#include <initializer_list>
#include <string>

namespace {

const char* kindOf(LevelHeader header)
{
    switch (header) {
    case LevelHeader::Image: return "image";
    case LevelHeader::Size: return "size";
    case LevelHeader::TileList: return "tile";
    case LevelHeader::CollisionVector: return "line";
    case LevelHeader::CollisionArc: return "arc";
    case LevelHeader::Player: return "player";
    case LevelHeader::Objects: return "objects";
    case LevelHeader::Events: return "events";
    }
    return "";
}

void writeKey(JsonWriter& json, const KeySpan& key)
{
    json.beginObject();
    json.key("key").string(levelKeyName(key.key));
    json.key("word").range(key.from, key.to);
    json.key("values").beginArray();
    for (const ValueSpan& value : key.values) {
        json.beginObject();
        json.key("range").range(value.from, value.to);
        json.key("parsed").boolean(value.parsed);
        if (value.isName) {
            json.key("name").string(value.name);
        } else if (value.parsed) {
            json.key("number").number(value.number);
        }
        if (value.endOfText) {
            json.key("endOfText").boolean(true);
        }
        json.endObject();
    }
    json.endArray();
    json.endObject();
}

// What the game read for the record, field by field: `out` takes number(name, float),
// integer(name, int64_t) and text(name, string).
template <typename Fields> void readFields(const LevelRecord& record, Fields& out)
{
    switch (record.header) {
    case LevelHeader::Image: out.text("fileName", record.picture.fileName); break;
    case LevelHeader::Size:
        out.number("width", record.size.width);
        out.number("height", record.size.height);
        break;
    case LevelHeader::TileList: {
        const TileRecord& tile = record.tile;
        out.text("imageName", tile.imageName);
        out.integer("id", tile.id);
        out.number("x", tile.x);
        out.number("y", tile.y);
        out.integer("imageId", tile.imageId);
        break;
    }
    case LevelHeader::CollisionVector: {
        const LineRecord& line = record.line;
        out.number("x", line.x);
        out.number("y", line.y);
        out.number("dx", line.dx);
        out.number("dy", line.dy);
        out.integer("type", line.type);
        out.integer("id", line.id);
        break;
    }
    case LevelHeader::CollisionArc: {
        const ArcRecord& arc = record.arc;
        out.number("x", arc.x);
        out.number("y", arc.y);
        out.number("radius", arc.radius);
        out.integer("quadrant", arc.quadrant);
        out.integer("flag", arc.flag);
        out.number("minSpeed", arc.minSpeed);
        out.number("distance", arc.distance);
        break;
    }
    case LevelHeader::Player: {
        const PlayerRecord& player = record.player;
        out.integer("hp", player.hp);
        out.integer("ammoG", player.ammoG);
        out.integer("ammoF", player.ammoF);
        out.integer("ammoB", player.ammoB);
        out.integer("score", player.score);
        out.text("gunType", std::string(1, player.gunType));
        break;
    }
    case LevelHeader::Objects:
    case LevelHeader::Events: break;
    }
}

// The fields as the members of a JSON object.
struct JsonFields {
    JsonWriter& json;
    void number(const char* name, float value) { json.key(name).number(value); }
    void integer(const char* name, int64_t value) { json.key(name).integer(value); }
    void text(const char* name, const std::string& value) { json.key(name).string(value); }
};

// The fields as rows of the tables.
struct TableFields {
    DescriptionTables& tables;
    void add(const char* name, int32_t type, double number, int32_t text)
    {
        tables.fields.insert(tables.fields.end(), {tables.stringIndex(name), type, text});
        tables.fieldNumbers.push_back(number);
    }
    void number(const char* name, float value)
    {
        add(name, DescriptionTables::kNumber, static_cast<double>(value), -1);
    }
    void integer(const char* name, int64_t value)
    {
        add(name, DescriptionTables::kInteger, static_cast<double>(value), -1);
    }
    void text(const char* name, const std::string& value)
    {
        add(name, DescriptionTables::kText, 0.0, tables.stringIndex(value));
    }
};

void writeValue(JsonWriter& json, const LevelRecord& record)
{
    json.beginObject();
    JsonFields fields{json};
    readFields(record, fields);
    json.endObject();
}

int32_t valueFlags(const ValueSpan& value)
{
    return (value.parsed ? DescriptionTables::kParsed : 0) |
           (value.isName ? DescriptionTables::kName : 0) |
           (value.endOfText ? DescriptionTables::kEndOfText : 0);
}

void tableKey(DescriptionTables& tables, const KeySpan& key)
{
    tables.keys.insert(tables.keys.end(),
                       {tables.stringIndex(levelKeyName(key.key)), static_cast<int32_t>(key.from),
                        static_cast<int32_t>(key.to),
                        static_cast<int32_t>(tables.values.size() / 4),
                        static_cast<int32_t>(key.values.size())});
    for (const ValueSpan& value : key.values) {
        const int32_t name = value.isName ? tables.stringIndex(value.name) : -1;
        tables.values.insert(tables.values.end(),
                             {static_cast<int32_t>(value.from), static_cast<int32_t>(value.to),
                              valueFlags(value), name});
        tables.valueNumbers.push_back(value.parsed && !value.isName ? value.number : 0.0);
    }
}

} // namespace

void writeRecords(JsonWriter& json, const std::vector<RecordSpan>& records,
                  const std::vector<std::vector<int>>& findingsOf)
{
    json.beginArray();
    for (std::size_t index = 0; index < records.size(); ++index) {
        const RecordSpan& span = records[index];
        json.beginObject();
        json.key("header").string(span.headerWord);
        json.key("kind").string(kindOf(span.record.header));
        json.key("from").integer(static_cast<int64_t>(span.from));
        json.key("to").integer(static_cast<int64_t>(span.to));
        json.key("lineNumber").integer(static_cast<int64_t>(span.at.line));
        json.key("column").integer(static_cast<int64_t>(span.at.column));
        json.key("keys").beginArray();
        for (const KeySpan& key : span.keys) {
            writeKey(json, key);
        }
        json.endArray();
        if (span.named) {
            json.key("name").range(span.nameFrom, span.nameTo);
        }
        json.key("value");
        writeValue(json, span.record);
        json.key("findings").beginArray();
        for (const int finding : findingsOf[index]) {
            json.integer(finding);
        }
        json.endArray();
        json.endObject();
    }
    json.endArray();
}

void tableRecords(DescriptionTables& tables, const std::vector<RecordSpan>& records,
                  const std::vector<std::vector<int>>& findingsOf)
{
    for (std::size_t index = 0; index < records.size(); ++index) {
        const RecordSpan& span = records[index];
        const auto count = [](std::size_t size) { return static_cast<int32_t>(size); };
        const int32_t firstKey = count(tables.keys.size() / 5);
        const int32_t firstField = count(tables.fields.size() / 3);
        const int32_t firstFinding = count(tables.findings.size());
        for (const KeySpan& key : span.keys) {
            tableKey(tables, key);
        }
        TableFields fields{tables};
        readFields(span.record, fields);
        tables.findings.insert(tables.findings.end(), findingsOf[index].begin(),
                               findingsOf[index].end());
        tables.records.insert(
            tables.records.end(),
            {tables.stringIndex(span.headerWord), tables.stringIndex(kindOf(span.record.header)),
             count(span.from), count(span.to), count(span.at.line), count(span.at.column),
             span.named ? count(span.nameFrom) : -1, span.named ? count(span.nameTo) : -1, firstKey,
             count(span.keys.size()), firstField, count(tables.fields.size() / 3) - firstField,
             firstFinding, count(findingsOf[index].size())});
    }
}
