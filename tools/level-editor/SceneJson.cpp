#include "tools/level-editor/SceneJson.h"

#include "gfx/OverlayShapes.h"

#include <cmath>
#include <cstdio>
#include <initializer_list>
#include <vector>

namespace {

int recordOf(const std::vector<int>& records, std::size_t index)
{
    return index < records.size() ? records[index] : -1;
}

// The file a picture id was loaded from, or "".
std::string pictureOf(const Renderer& renderer, int32_t imageId)
{
    const int index = renderer.findImageIndex(imageId);
    if (index < 0) {
        return "";
    }
    const int32_t file = renderer.images[static_cast<std::size_t>(index)].fileIndex;
    return file >= 0 && static_cast<std::size_t>(file) < renderer.pictureFiles.size()
               ? renderer.pictureFiles[static_cast<std::size_t>(file)]
               : "";
}

void writeLines(JsonWriter& json, const LevelScene& scene)
{
    json.key("lines").beginArray();
    const Game& world = *scene.world;
    for (std::size_t index = 0; index < world.lines.size(); ++index) {
        const CollisionVector& line = world.lines[index];
        json.beginObject();
        json.key("x").number(line.x).key("y").number(line.y);
        json.key("dx").number(line.dx).key("dy").number(line.dy);
        json.key("nx").number(line.nx).key("ny").number(line.ny);
        json.key("type").integer(line.type).key("id").integer(line.id);
        json.key("record").integer(recordOf(scene.lineRecords, index));
        json.endObject();
    }
    json.endArray();
}

void writeArcs(JsonWriter& json, const LevelScene& scene)
{
    json.key("arcs").beginArray();
    const Game& world = *scene.world;
    for (std::size_t index = 0; index < world.arcs.size(); ++index) {
        const CollisionArc& arc = world.arcs[index];
        json.beginObject();
        json.key("x").number(arc.x).key("y").number(arc.y).key("radius").number(arc.radius);
        json.key("quadrant").integer(arc.quadrant).key("flag").integer(arc.flag);
        json.key("minSpeed").number(arc.minSpeed).key("distance").number(arc.distance);
        json.key("record").integer(recordOf(scene.arcRecords, index));
        json.endObject();
    }
    json.endArray();
}

void writeTilesAndEntities(JsonWriter& json, const LevelScene& scene)
{
    const Game& world = *scene.world;
    json.key("tiles").beginArray();
    for (const Tile& tile : world.tiles) {
        json.beginObject();
        json.key("x").number(tile.x).key("y").number(tile.y);
        json.key("width").number(tile.width).key("height").number(tile.height);
        json.key("id").integer(tile.id);
        json.key("picture").string(pictureOf(world.renderer, tile.imageId));
        json.endObject();
    }
    json.endArray();
    json.key("entities").beginArray();
    for (std::size_t list = 0; list < world.entityLists.size(); ++list) {
        for (std::size_t index = 0; index < world.entityLists[list].size(); ++index) {
            const Entity& entity = *world.entityLists[list][index];
            json.beginObject();
            json.key("list").integer(static_cast<int64_t>(list + 1));
            json.key("id").integer(entity.id);
            json.key("x").number(entity.x).key("y").number(entity.y);
            json.key("width").number(entity.width).key("height").number(entity.height);
            json.key("radius").number(entity.radius);
            const int32_t image = entity.imageIds.empty() ? -1 : entity.imageIds.front();
            json.key("picture").string(pictureOf(world.renderer, image));
            const bool placed = list == kLevelPictureList;
            json.key("record").integer(placed ? recordOf(scene.pictureRecords, index) : -1);
            json.endObject();
        }
    }
    json.endArray();
}

// The frame stretches the background over the whole world's width; its last row lands at
// the world's height / 1.35 (below it the picture's texture is empty).
void writeBackground(JsonWriter& json, const Renderer& renderer)
{
    json.key("background").beginObject();
    json.key("picture").string("level.bmp");
    json.key("x").number(0.0f).key("y").number(0.0f);
    json.key("width").number(renderer.worldSize.x);
    json.key("height").number(renderer.worldSize.y / 1.35f);
    json.endObject();
}

std::string colourText(const OverlayColour& colour)
{
    const auto channel = [](float value) { return static_cast<int>(std::lround(value * 255.0f)); };
    char text[8];
    std::snprintf(text, sizeof text, "#%02x%02x%02x", channel(colour.red), channel(colour.green),
                  channel(colour.blue));
    return text;
}

int overlayRecord(const LevelScene& scene, const OverlayShape& shape)
{
    switch (shape.source) {
    case OverlaySource::Line: return recordOf(scene.lineRecords, shape.index);
    case OverlaySource::Arc: return recordOf(scene.arcRecords, shape.index);
    case OverlaySource::Entity:
        return shape.list == kLevelPictureList ? recordOf(scene.pictureRecords, shape.index) : -1;
    }
    return -1;
}

const char* shapeName(OverlayShapeKind kind)
{
    switch (kind) {
    case OverlayShapeKind::Segment: return "segment";
    case OverlayShapeKind::Polyline: return "polyline";
    case OverlayShapeKind::Circle: return "circle";
    case OverlayShapeKind::Dot: return "dot";
    }
    return "";
}

} // namespace

void writeScene(JsonWriter& json, const LevelScene& scene, bool withShapes)
{
    json.beginObject();
    if (scene.world != nullptr) {
        if (withShapes) {
            writeLines(json, scene);
            writeArcs(json, scene);
        }
        writeTilesAndEntities(json, scene);
        writeBackground(json, scene.world->renderer);
    } else {
        // The game could not build even its own scene.
        const std::vector<const char*> lists =
            withShapes ? std::vector<const char*>{"lines", "arcs", "tiles", "entities"}
                       : std::vector<const char*>{"tiles", "entities"};
        for (const char* list : lists) {
            json.key(list).beginArray().endArray();
        }
    }
    json.endObject();
}

void writeOverlay(JsonWriter& json, const LevelScene& scene)
{
    json.beginArray();
    if (scene.world == nullptr) {
        json.endArray();
        return;
    }
    for (const OverlayShape& shape : listCollisionOverlay(*scene.world)) {
        json.beginObject();
        json.key("shape").string(shapeName(shape.kind));
        if (shape.kind == OverlayShapeKind::Segment || shape.kind == OverlayShapeKind::Polyline) {
            json.key("points").beginArray();
            for (const float point : shape.points) {
                json.number(point);
            }
            json.endArray();
        } else {
            json.key("x").number(shape.x).key("y").number(shape.y);
        }
        if (shape.kind == OverlayShapeKind::Circle) {
            json.key("radius").number(shape.radius);
        }
        json.key("colour").string(colourText(shape.colour));
        json.key("dashed").boolean(shape.dashed);
        json.key("record").integer(overlayRecord(scene, shape));
        json.endObject();
    }
    json.endArray();
}

void tableOverlay(DescriptionTables& tables, const LevelScene& scene)
{
    if (scene.world == nullptr) {
        return;
    }
    for (const OverlayShape& shape : listCollisionOverlay(*scene.world)) {
        const auto first = static_cast<int32_t>(tables.shapeNumbers.size());
        if (shape.kind == OverlayShapeKind::Segment || shape.kind == OverlayShapeKind::Polyline) {
            tables.shapeNumbers.insert(tables.shapeNumbers.end(), shape.points.begin(),
                                       shape.points.end());
        } else {
            tables.shapeNumbers.insert(tables.shapeNumbers.end(), {shape.x, shape.y});
        }
        if (shape.kind == OverlayShapeKind::Circle) {
            tables.shapeNumbers.push_back(shape.radius);
        }
        tables.shapes.insert(tables.shapes.end(),
                             {tables.stringIndex(shapeName(shape.kind)),
                              overlayRecord(scene, shape),
                              tables.stringIndex(colourText(shape.colour)), shape.dashed ? 1 : 0,
                              first, static_cast<int32_t>(tables.shapeNumbers.size()) - first});
    }
}
