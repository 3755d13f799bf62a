#include "world/Game.h"

#include <cstdlib>

namespace {

// A draw from the unseeded standard generator, 0 to bound - 1.
int drawBelow(int bound) { return std::rand() % bound; }

struct LineRow {
    float x, y, dx, dy;
    uint8_t type;
};

// The frame, floors, slopes, walls and the zigzag of the built-in level, in list order.
const LineRow kLines[] = {
    {50, 470, 200, -60, 3},  {250, 410, 150, 0, 3},   {1, 1, 638, 0, 3},
    {1, 1, 0, 478, 3},       {2999, 1, 0, 478, 3},    {1, 479, 2999, 0, 3},
    {300, 310, 500, 0, 1},   {950, 460, 50, 0, 3},    {1000, 460, 100, -50, 3},
    {1100, 410, 0, -200, 3}, {1100, 210, 200, 0, 3},  {1300, 210, 0, 250, 3},
    {1300, 460, 100, 0, 3},  {1500, 360, 0, -100, 3}, {1500, 260, 200, 0, 3},
    {1700, 260, 0, 200, 3},  {1700, 460, 150, 0, 3},  {1850, 460, 0, -300, 3},
    {1850, 160, 350, 0, 3},  {2200, 160, 0, 320, 3},  {2200, 480, 50, -90, 3},
    {2250, 390, 50, 90, 3},  {2300, 480, 50, -90, 3}, {2350, 390, 50, 90, 3},
    {2400, 480, 50, -90, 3}, {2450, 390, 50, 90, 3},  {2500, 480, 50, -90, 3},
    {2550, 390, 50, 90, 3},  {2600, 480, 50, -90, 3}, {2650, 390, 50, 90, 3},
    {2300, 160, 200, 0, 3},  {2300, 160, 0, 50, 3},   {2300, 210, 200, 0, 3},
    {2500, 160, 0, 50, 3},   {2700, 200, 0, 280, 3},  {2700, 200, 300, 0, 3},
};

// x, y, radius, quadrant, flag, minSpeed, distance.
const CollisionArc kArcs[] = {
    {400, 210, 200, 13, 15, 60, -1}, {300, 210, 100, 2, 15, 60, -1},
    {400, 160, 50, 15, 21, -1, 60},  {800, 410, 100, 8, 15, -1, -1},
    {950, 410, 50, 2, 11, -1, -1},   {1400, 360, 100, 1, 10, 60, -1},
};

// An entity kept in no list: it only takes its id, its random position and a picture load,
// which every later id and random draw depends on.
void buildLooseEntity(Renderer& renderer, float speed, Vec2 direction, const char* pictureName)
{
    const float x = static_cast<float>(drawBelow(640));
    const float y = static_cast<float>(drawBelow(480));
    Entity loose(speed, x, y, 64.0f, 64.0f, direction.x, direction.y);
    loose.imageIds.push_back(renderer.loadImage(pictureName));
}

} // namespace

void Game::placeBuiltinScene()
{
    // One direction shared by the avatar and the two loose entities.
    const float directionX = static_cast<float>(drawBelow(10) - 5);
    const float directionY = static_cast<float>(drawBelow(10) - 5);

    Tile tile;
    tile.id = takeObjectId();
    tile.imageId = renderer.loadImage("tile.bmp");
    tile.width = 128.0f;
    tile.height = 128.0f;
    tile.fileName = "tile.bmp";
    tiles.push_back(tile);

    auto avatarEntity =
        std::make_unique<Entity>(200.0f, 50.0f, 50.0f, 64.0f, 64.0f, directionX, directionY);
    auto firstEnemy = std::make_unique<Entity>(0.0f, 1900.0f, 100.0f, 64.0f, 64.0f, 1.0f, 1.0f);
    auto secondEnemy = std::make_unique<Entity>(0.0f, 1950.0f, 100.0f, 64.0f, 64.0f, 1.0f, 1.0f);
    avatarEntity->imageIds.push_back(renderer.loadImage("bitmap.bmp"));
    firstEnemy->imageIds.push_back(renderer.loadImage("bitmap1.bmp"));
    secondEnemy->imageIds.push_back(renderer.loadImage("bitmap1.bmp"));
    const int32_t firstEnemyId = firstEnemy->id;
    const int32_t secondEnemyId = secondEnemy->id;
    avatars().push_back(std::move(avatarEntity));
    enemies().push_back(std::move(firstEnemy));
    enemies().push_back(std::move(secondEnemy));

    player.avatarId = avatars().front()->id;
    player.avatar = findEntityById(player.avatarId, *this);
    player.avatar->x = 50.0f;
    player.avatar->y = 50.0f;

    chasers.push_back(Chaser{this, firstEnemyId});
    chasers.push_back(Chaser{this, secondEnemyId});

    buildLooseEntity(renderer, 100.0f, Vec2{directionX, directionY}, "bitmap1.bmp");
    buildLooseEntity(renderer, 10.0f, Vec2{directionX, directionY}, "bitmap2.bmp");

    for (const LineRow& row : kLines) {
        lines.emplace_back(row.x, row.y, row.dx, row.dy, row.type, 0u);
    }
    arcs.assign(std::begin(kArcs), std::end(kArcs));
}
