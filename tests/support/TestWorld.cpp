#include "support/TestWorld.h"

#include <iostream>

LogCapture::LogCapture() : previous(std::cout.rdbuf(captured.rdbuf())) {}

LogCapture::~LogCapture() { std::cout.rdbuf(previous); }

std::unique_ptr<Game> makeHeadlessGame(const std::string& directory)
{
    resetProcessState();
    ScopedWorkingDirectory inDirectory(directory);
    LogCapture discarded;
    auto game = std::make_unique<Game>(RenderMode::Headless);
    game->readConsoleChar = noConsoleWait;
    return game;
}

void clearScene(Game& game)
{
    game.enemies().clear();
    game.chasers.clear();
    game.lines.clear();
    game.arcs.clear();
}

Entity& placeAvatar(Game& game, float x, float y, float speed, float dirX, float dirY)
{
    Entity& avatar = game.avatar();
    avatar.x = x;
    avatar.y = y;
    avatar.speed = speed;
    avatar.dirX = dirX;
    avatar.dirY = dirY;
    return avatar;
}

Entity& addEntity(Game& game, EntityListIndex list, Vec2 corner, float speed, Vec2 direction)
{
    game.entityLists[list].push_back(
        std::make_unique<Entity>(speed, corner.x, corner.y, 64, 64, direction.x, direction.y));
    Entity& added = *game.entityLists[list].back();
    if (list == kEnemyList) {
        game.chasers.push_back(Chaser{&game, added.id});
    }
    return added;
}
