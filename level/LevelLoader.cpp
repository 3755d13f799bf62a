#include "level/LevelLoader.h"

#include "entities/Entity.h"
#include "entities/Player.h"
#include "level/InputFile.h"
#include "physics/CollisionShapes.h"
#include "world/Game.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <memory>

namespace {

// A picture placed by the level: a 64 by 64 entity at (100, 150) moving at 200 in a random
// direction (x drawn first), with the picture as its only image.
void placePicture(Game& world, const PictureRecord& record)
{
    std::cout << "Image\n"
              << "Image File Load:\n"
              << record.fileName << std::endl;
    const float directionX = static_cast<float>(std::rand() % 10 - 5);
    const float directionY = static_cast<float>(std::rand() % 10 - 5);
    auto picture =
        std::make_unique<Entity>(kPlacedPictureSpeed, kPlacedPictureX, kPlacedPictureY,
                                 kPlacedPictureSize, kPlacedPictureSize, directionX, directionY);
    picture->imageIds.push_back(world.renderer.loadImage(record.fileName.c_str()));
    world.levelPictures().push_back(std::move(picture));
}

void echoTile(const TileRecord& record)
{
    std::cout << "Tile\n";
    std::cout << "Id: " << static_cast<uint32_t>(record.id) << std::endl;
    std::cout << "Vec: X" << record.x << "Vec: Y" << record.y << std::endl;
    std::cout << "image: " << record.imageName << std::endl;
}

void addLine(Game& world, const LineRecord& record)
{
    std::cout << "\nCollision Vector Data Loaded\n";
    std::cout << "X Position:" << record.x << std::endl;
    std::cout << "Y Position:" << record.y << std::endl;
    std::cout << "DX:" << record.dx << std::endl;
    std::cout << "DY:" << record.dy << std::endl;
    std::cout << "Type:" << static_cast<char>(record.type) << std::endl;
    std::cout << "ID:" << static_cast<uint32_t>(record.id) << std::endl;
    world.lines.emplace_back(record.x, record.y, record.dx, record.dy, record.type,
                             static_cast<uint32_t>(record.id));
}

void addArc(Game& world, const ArcRecord& record)
{
    std::cout << "\nCollision Arc Data Loaded\n";
    std::cout << "Position Vector: \n"
              << "X:" << record.x << "\nY:" << record.y << std::endl;
    std::cout << "Radius:" << record.radius << std::endl;
    std::cout << "Quadrant:" << static_cast<char>(record.quadrant) << std::endl;
    std::cout << "Flag:" << static_cast<char>(record.flag) << std::endl;
    std::cout << "Minimum Speed:" << record.minSpeed << std::endl;
    std::cout << "Distance:" << record.distance << std::endl;
    CollisionArc arc;
    arc.x = record.x;
    arc.y = record.y;
    arc.radius = record.radius;
    arc.quadrant = record.quadrant;
    arc.flag = record.flag;
    arc.minSpeed = record.minSpeed;
    arc.distance = record.distance;
    world.addArc(arc);
}

// The file's player is only shown: the world's own player keeps its values.
void echoPlayer(const PlayerRecord& record)
{
    std::cout << "\nPlayer\n";
    std::cout << "Hp: " << record.hp << std::endl;
    std::cout << "AmmoG: " << record.ammoG << std::endl;
    std::cout << "AmmoF: " << record.ammoF << std::endl;
    std::cout << "AmmoB: " << record.ammoB << std::endl;
    std::cout << "InputScore: " << record.score << std::endl;
    std::cout << "Current Gun Type: " << record.gunType << std::endl;
    const Player described(record.hp, record.ammoG, record.ammoF, record.ammoB, record.score,
                           record.gunType);
    static_cast<void>(described);
}

// Closes the level file however the reading ends (a picture that cannot be loaded throws).
struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};

} // namespace

void loadLevel(Game& world)
{
    const InputFile input = openInputFile("Level.txt");
    const std::unique_ptr<std::FILE, FileCloser> file(input.file);
    if (!file) {
        std::cout << "File Failed to load...." << std::endl;
        if (!input.missing) {
            std::cerr << "quillfen: Level.txt: " << input.problem
                      << "; the built-in scene plays alone" << std::endl;
        }
        return;
    }
    CharSource text(file.get());
    readLevel(world, text);
}

void readLevel(Game& world, CharSource& text, const LevelObserver* observer)
{
    LevelReader reader(text, observer);
    std::string word;
    while (reader.nextWord(word)) {
        readSection(world, word, reader);
    }
}

void readSection(Game& world, const std::string& header, LevelReader& reader)
{
    LevelHeader section = LevelHeader::Objects;
    if (findHeader(header, section)) {
        applyRecord(world, reader.readRecord(section));
    }
}

void applyRecord(Game& world, const LevelRecord& record)
{
    switch (record.header) {
    case LevelHeader::Image: placePicture(world, record.picture); break;
    case LevelHeader::Size:
        world.renderer.worldSize = Vec2{record.size.width, record.size.height};
        break;
    case LevelHeader::TileList: echoTile(record.tile); break;
    case LevelHeader::CollisionVector: addLine(world, record.line); break;
    case LevelHeader::CollisionArc: addArc(world, record.arc); break;
    case LevelHeader::Player: echoPlayer(record.player); break;
    case LevelHeader::Objects:
    case LevelHeader::Events: break;
    }
}
