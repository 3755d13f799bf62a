#include "tools/lint-level/WorldChecks.h"

#include "entities/Entity.h"
#include "gfx/Image.h"
#include "gfx/PictureFile.h"
#include "level/InputFile.h"
#include "level/LevelLoader.h"
#include "physics/CollisionShapes.h"
#include "physics/Vec2.h"
#include "tools/lint-level/GameFolderScope.h"
#include "tools/lint-level/OverlappingLines.h"
#include "world/Game.h"

#include <cmath>
#include <filesystem>
#include <map>
#include <memory>

namespace fs = std::filesystem;

namespace {

// A line of the world, and where it comes from.
struct WorldLine {
    CollisionVector line;
    bool builtin = false;
    TextPosition start; // for lines of the level
};

struct Checker {
    const LevelContents& contents;
    const GameFolder& folder;
    const std::string& shownFile;
    std::vector<Diagnostic>& found;
    std::vector<WorldLine> lines;
    Vec2 worldSize{0.0f, 0.0f};
    std::string sizeSource;

    std::string shownPath(const std::string& name) const
    {
        if (folder.shown.empty() || fs::path(name).is_absolute()) {
            return name;
        }
        const char last = folder.shown.back();
        return folder.shown + (last == '/' ? "" : "/") + name;
    }

    void add(Severity severity, TextPosition at, const std::string& message)
    {
        found.push_back(Diagnostic{shownFile, true, at, severity, message});
    }

    void addRecord(Severity severity, TextPosition start, const std::string& message)
    {
        add(severity, start, message + " (record begins at " + describePosition(start) + ")");
    }

    void addFile(Severity severity, const std::string& name, const std::string& message)
    {
        found.push_back(Diagnostic{shownPath(name), false, TextPosition{}, severity, message});
    }

    void buildGame();
    void checkBackground();
    void checkPictures();
    void checkInsideWorld();
    void checkDuplicates();
    void checkStuckPictures();
    std::string describeLine(const WorldLine& line) const;
};

std::string point(float x, float y) { return "(" + numberText(x) + ", " + numberText(y) + ")"; }

// The world the game builds before it reads the level: its lines and its size. Its own
// pictures must load, or the game stops before the level.
void Checker::buildGame()
{
    worldSize = Vec2{3000.0f, 680.0f};
    sizeSource = "the game's own";
    try {
        const MutedConsole muted;
        const Game world(RenderMode::Headless);
        for (const CollisionVector& line : world.lines) {
            lines.push_back(WorldLine{line, true, TextPosition{}});
        }
        worldSize = world.renderer.worldSize;
    } catch (const ImageLoadError& failure) {
        addFile(Severity::Error, failure.fileName,
                std::string("the game cannot load its own picture (") + failure.what() +
                    "): it stops before it reads the level");
    }
    if (contents.sized) {
        worldSize = Vec2{contents.size.record.width, contents.size.record.height};
        sizeSource = "#_Size at " + describePosition(contents.size.start);
    }
    for (const auto& level : contents.lines) {
        const LineRecord& r = level.record;
        lines.push_back(
            WorldLine{CollisionVector(r.x, r.y, r.dx, r.dy, r.type, static_cast<uint32_t>(r.id)),
                      false, level.start});
    }
}

// Read as the game reads its background.
void Checker::checkBackground()
{
    const InputFile input = openInputFile("level.bmp");
    std::string reason = input.problem;
    if (input.file != nullptr) {
        reason = readPictureFile(input.file).refusal;
    }
    if (!reason.empty()) {
        addFile(Severity::Warning, "level.bmp",
                "the background picture cannot be read (" + reason +
                    "); the game plays without one");
    }
}

// Each picture is loaded as the game loads it; the first that fails would stop the game.
void Checker::checkPictures()
{
    Renderer renderer(nullptr, 640.0f, 480.0f, 3000.0f, 680.0f, RenderMode::Headless);
    std::map<std::string, std::string> failures;
    for (const auto& placed : contents.pictures) {
        const PictureAt& picture = placed.record;
        if (!picture.named) {
            addRecord(Severity::Error, placed.start,
                      "the file ends before the picture's name: the game cannot load a picture "
                      "without one and stops");
            continue;
        }
        if (failures.count(picture.fileName) == 0) {
            std::string failure;
            try {
                const MutedConsole muted;
                renderer.loadImage(picture.fileName.c_str());
            } catch (const ImageLoadError& error) {
                std::error_code ignored;
                failure = fs::exists(picture.fileName, ignored)
                              ? "is refused (" + error.reason + ")"
                              : "is missing";
            }
            failures[picture.fileName] = failure;
        }
        const std::string& failure = failures[picture.fileName];
        if (!failure.empty()) {
            add(Severity::Error, picture.nameAt,
                "the picture " + quotedWord(shownPath(picture.fileName)) + " " + failure +
                    ": the game stops here (record begins at " + describePosition(placed.start) +
                    ")");
        }
    }
}

void Checker::checkInsideWorld()
{
    const std::string world = "the world (" + numberText(worldSize.x) + " by " +
                              numberText(worldSize.y) + ", " + sizeSource + ")";
    // Values that are no finite numbers have been told already.
    const auto inside = [this](float x, float y) {
        return !std::isfinite(x) || !std::isfinite(y) ||
               (x >= 0.0f && y >= 0.0f && x <= worldSize.x && y <= worldSize.y);
    };
    for (const auto& level : contents.lines) {
        const LineRecord& r = level.record;
        const float endX = r.x + r.dx;
        const float endY = r.y + r.dy;
        if (!inside(r.x, r.y) || !inside(endX, endY)) {
            addRecord(Severity::Warning, level.start,
                      "this line from " + point(r.x, r.y) + " to " + point(endX, endY) +
                          " leaves " + world);
        }
    }
    for (const auto& level : contents.arcs) {
        const ArcRecord& r = level.record;
        const float reach = r.radius > 0.0f ? r.radius : 0.0f;
        if (!inside(r.x - reach, r.y - reach) || !inside(r.x + reach, r.y + reach)) {
            addRecord(Severity::Warning, level.start,
                      "this arc around " + point(r.x, r.y) + ", radius " + numberText(r.radius) +
                          ", leaves " + world);
        }
    }
    const float far = kPlacedPictureSize;
    for (const auto& placed : contents.pictures) {
        if (!inside(kPlacedPictureX, kPlacedPictureY) ||
            !inside(kPlacedPictureX + far, kPlacedPictureY + far)) {
            addRecord(Severity::Warning, placed.start,
                      "the picture, placed at " + point(kPlacedPictureX, kPlacedPictureY) + " " +
                          numberText(far) + " by " + numberText(far) + ", leaves " + world);
        }
    }
}

std::string Checker::describeLine(const WorldLine& line) const
{
    const CollisionVector& v = line.line;
    if (line.builtin) {
        return "the built-in line " + point(v.x, v.y) + " to " + point(v.x + v.dx, v.y + v.dy);
    }
    return "the #_CollVec at " + describePosition(line.start);
}

void Checker::checkDuplicates()
{
    std::vector<CollisionVector> shapes;
    for (const WorldLine& line : lines) {
        shapes.push_back(line.line);
    }
    const std::vector<int> first = firstOverlapped(shapes);
    for (std::size_t index = 0; index < lines.size(); ++index) {
        if (!lines[index].builtin && first[index] >= 0) {
            addRecord(Severity::Warning, lines[index].start,
                      "this line overlaps " +
                          describeLine(lines[static_cast<std::size_t>(first[index])]) +
                          " on the same line: it is given twice");
        }
    }
}

// The contact zones of a line: within the radius on a solid side, between the segment's ends.
bool circleOnSolidSide(Vec2 centre, float radius, const CollisionVector& line)
{
    const Vec2 d{line.dx, line.dy};
    const float length = fastSqrt(lengthSquared(d));
    const Vec2 rel = centre - Vec2{line.x, line.y};
    const float s = line.nx * rel.x + line.ny * rel.y;
    const float t = (d.x * rel.x + d.y * rel.y) / length;
    if (!(0.0f <= t && t <= length)) {
        return false;
    }
    const bool behind = (line.type & 1u) != 0 && -radius <= s && s <= 0.0f;
    const bool inFront = (line.type & 2u) != 0 && 0.0f <= s && s <= radius;
    return behind || inFront;
}

void Checker::checkStuckPictures()
{
    const float radius = discRadius(kPlacedPictureSize, kPlacedPictureSize);
    const Vec2 centre{kPlacedPictureX + kPlacedPictureSize * 0.5f,
                      kPlacedPictureY + kPlacedPictureSize * 0.5f};
    for (const auto& placed : contents.pictures) {
        for (const WorldLine& line : lines) {
            if (circleOnSolidSide(centre, radius, line.line)) {
                addRecord(Severity::Warning, placed.start,
                          "the picture, placed at " + point(kPlacedPictureX, kPlacedPictureY) +
                              ", starts stuck: its circle (radius " + numberText(radius) +
                              " around " + point(centre.x, centre.y) +
                              ") overlaps the solid side of " + describeLine(line));
                break;
            }
        }
    }
}

} // namespace

void checkWorld(const LevelContents& contents, const GameFolder& folder,
                const std::string& shownFile, std::vector<Diagnostic>& diagnostics)
{
    Checker checker{contents, folder, shownFile, diagnostics, {}, Vec2{0.0f, 0.0f}, ""};
    {
        const InFolder inFolder(folder.path);
        if (inFolder.problem) {
            diagnostics.push_back(Diagnostic{folder.shown, false, TextPosition{}, Severity::Error,
                                             "cannot be entered: " + inFolder.problem.message()});
            return;
        }
        checker.buildGame();
        checker.checkBackground();
        checker.checkPictures();
    }
    checker.checkInsideWorld();
    checker.checkDuplicates();
    checker.checkStuckPictures();
}
