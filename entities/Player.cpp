#include "entities/Player.h"

#include "entities/Entity.h"

Player::Player() : weapons(1) {}

Player::Player(int32_t hitPoints, int32_t ammoGValue, int32_t ammoFValue, int32_t ammoBValue,
               int32_t scoreValue, char gunTypeValue)
    : hp(hitPoints), ammoG(ammoGValue), ammoF(ammoFValue), ammoB(ammoBValue), score(scoreValue),
      gunType(gunTypeValue)
{
}

void Player::steer(float newSpeed, Vec2 direction)
{
    avatar->setDirection(direction);
    avatar->setSpeed(newSpeed);
}

Shot buildShot(Vec2 avatarPosition, Vec2 camera, int mouseX, int mouseY)
{
    // The pointer is shifted by half the avatar's size as an integer; the rest is float.
    const float pointerX = static_cast<float>(mouseX - 32);
    const float pointerY = static_cast<float>(mouseY - 32);
    Shot shot;
    shot.x = avatarPosition.x + 32.0f;
    shot.y = avatarPosition.y + 32.0f;
    shot.dx = (pointerX - avatarPosition.x) + camera.x;
    shot.dy = (pointerY - avatarPosition.y) + camera.y;
    return shot;
}
