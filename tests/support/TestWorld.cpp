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
