#include "app/PlayerCommands.h"

#include "world/Game.h"

#include <cmath>
#include <iostream>

namespace {

constexpr float kWalkSpeed = 120.0f;
constexpr float kHeldWalkSpeed = 240.0f;
constexpr float kJumpSpeed = 120.0f;

// Space: only from a surface, the direction of travel turned a quarter turn upward.
void jump(Player& player)
{
    Entity& avatar = *player.avatar;
    if (!avatar.inContact || std::isnan(avatar.dirX)) {
        return;
    }
    const float dx = avatar.dirX;
    const float dy = avatar.dirY;
    Vec2 upward{0.0f, -1.0f};
    if (dx > 0.0f) {
        upward = Vec2{dy, -dx};
    } else if (dx < 0.0f) {
        upward = Vec2{-dy, dx};
    }
    player.steer(kJumpSpeed, upward);
}

// A and D: turn to face the way asked (reversing, or starting from a vertical direction),
// then walk at the starting speed.
void walk(Player& player, float facing)
{
    Entity& avatar = *player.avatar;
    const float dx = avatar.dirX;
    const float dy = avatar.dirY;
    if (dx * facing < 0.0f) {
        player.steer(kWalkSpeed, Vec2{-dx, -dy});
    } else if (dx == 0.0f) {
        player.steer(kWalkSpeed, Vec2{facing, dy});
    }
    avatar.setSpeed(kWalkSpeed);
}

void keyPressed(Game& world, SDLKey key)
{
    switch (key) {
    case SDLK_UP: std::cout << "You moved up.\n"; break;
    case SDLK_DOWN: std::cout << "You moved down.\n"; break;
    case SDLK_RIGHT: std::cout << "You moved right.\n"; break;
    case SDLK_LEFT: std::cout << "You moved left.\n"; break;
    case SDLK_SPACE: jump(world.player); break;
    case SDLK_a:
        world.leftHeld = true;
        walk(world.player, -1.0f);
        break;
    case SDLK_BACKQUOTE:
        world.readConsoleChar();
        world.rightHeld = true;
        walk(world.player, 1.0f);
        break;
    case SDLK_d:
        world.rightHeld = true;
        walk(world.player, 1.0f);
        break;
    default: break;
    }
}

void keyReleased(Game& world, SDLKey key)
{
    if (key == SDLK_a) {
        world.leftHeld = false;
        world.player.avatar->setSpeed(0.0f);
    } else if (key == SDLK_d) {
        world.rightHeld = false;
        world.player.avatar->setSpeed(0.0f);
    }
}

void mouseButtonPressed(Game& world, const SDL_MouseButtonEvent& button)
{
    switch (button.button) {
    case SDL_BUTTON_LEFT:
        world.player.currentWeapon().shots.push_back(
            buildShot(world.player.avatar->position(), world.renderer.camera, button.x, button.y));
        break;
    case SDL_BUTTON_MIDDLE: std::cout << "middle"; break;
    case SDL_BUTTON_RIGHT: std::cout << "right"; break;
    case SDL_BUTTON_WHEELUP: std::cout << "Weapon switched up\n"; break;
    case SDL_BUTTON_WHEELDOWN: std::cout << "weapon switched down\n"; break;
    default: break;
    }
}

void keyHeld(Game& world, SDLKey key)
{
    if (key == SDLK_a || key == SDLK_d) {
        world.player.avatar->setSpeed(kHeldWalkSpeed);
    }
}

} // namespace

void handleEvent(InputEvent event)
{
    Game& world = *event.world;
    const SDLKey key = event.sdlEvent.key.keysym.sym;
    switch (event.kind) {
    case kKeyPressed: keyPressed(world, key); break;
    case kKeyReleased: keyReleased(world, key); break;
    case kMouseButtonPressed: mouseButtonPressed(world, event.sdlEvent.button); break;
    case kKeyHeld: keyHeld(world, key); break;
    case kEntityCollision: world.player.hp -= 1; break;
    default: break;
    }
}

void Game::handleInput()
{
    for (const InputEvent& event : inputQueue) {
        handleEvent(event);
    }
    inputQueue.clear();
    if (rightHeld) {
        inputQueue.push_back(keySymbolEvent(this, kKeyHeld, SDLK_d));
    }
    if (leftHeld) {
        inputQueue.push_back(keySymbolEvent(this, kKeyHeld, SDLK_a));
    }
}
