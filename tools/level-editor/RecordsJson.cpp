#include "tools/level-editor/RecordsJson.h"

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

// What the game read for the record.
void writeValue(JsonWriter& json, const LevelRecord& record)
{
    json.beginObject();
    switch (record.header) {
    case LevelHeader::Image: json.key("fileName").string(record.picture.fileName); break;
    case LevelHeader::Size:
        json.key("width").number(record.size.width);
        json.key("height").number(record.size.height);
        break;
    case LevelHeader::TileList: {
        const TileRecord& tile = record.tile;
        json.key("imageName").string(tile.imageName);
        json.key("id").integer(tile.id);
        json.key("x").number(tile.x);
        json.key("y").number(tile.y);
        json.key("imageId").integer(tile.imageId);
        break;
    }
    case LevelHeader::CollisionVector: {
        const LineRecord& line = record.line;
        json.key("x").number(line.x).key("y").number(line.y);
        json.key("dx").number(line.dx).key("dy").number(line.dy);
        json.key("type").integer(line.type).key("id").integer(line.id);
        break;
    }
    case LevelHeader::CollisionArc: {
        const ArcRecord& arc = record.arc;
        json.key("x").number(arc.x).key("y").number(arc.y).key("radius").number(arc.radius);
        json.key("quadrant").integer(arc.quadrant).key("flag").integer(arc.flag);
        json.key("minSpeed").number(arc.minSpeed).key("distance").number(arc.distance);
        break;
    }
    case LevelHeader::Player: {
        const PlayerRecord& player = record.player;
        json.key("hp").integer(player.hp).key("ammoG").integer(player.ammoG);
        json.key("ammoF").integer(player.ammoF).key("ammoB").integer(player.ammoB);
        json.key("score").integer(player.score);
        json.key("gunType").string(std::string(1, player.gunType));
        break;
    }
    case LevelHeader::Objects:
    case LevelHeader::Events: break;
    }
    json.endObject();
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
