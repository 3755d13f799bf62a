#include "app/PlayerCommands.h"

#include "app/KeyNumbers.h"
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

void keyPressed(Game& world, int32_t key)
{
    switch (key) {
    case kKeyUp: std::cout << "You moved up.\n"; break;
    case kKeyDown: std::cout << "You moved down.\n"; break;
    case kKeyRight: std::cout << "You moved right.\n"; break;
    case kKeyLeft: std::cout << "You moved left.\n"; break;
    case kKeySpace: jump(world.player); break;
    case kKeyA:
        world.leftHeld = true;
        walk(world.player, -1.0f);
        break;
    case kKeyBackquote:
        world.readConsoleChar();
        world.rightHeld = true;
        walk(world.player, 1.0f);
        break;
    case kKeyD:
        world.rightHeld = true;
        walk(world.player, 1.0f);
        break;
    default: break;
    }
}

void keyReleased(Game& world, int32_t key)
{
    if (key == kKeyA) {
        world.leftHeld = false;
        world.player.avatar->setSpeed(0.0f);
    } else if (key == kKeyD) {
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

void keyHeld(Game& world, int32_t key)
{
    if (key == kKeyA || key == kKeyD) {
        world.player.avatar->setSpeed(kHeldWalkSpeed);
    }
}

} // namespace

void handleEvent(InputEvent event)
{
    Game& world = *event.world;
    const int32_t key = event.sdlEvent.key.keysym.sym;
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
        inputQueue.push_back(keySymbolEvent(this, kKeyHeld, kKeyD));
    }
    if (leftHeld) {
        inputQueue.push_back(keySymbolEvent(this, kKeyHeld, kKeyA));
    }
}
