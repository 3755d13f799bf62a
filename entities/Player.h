#pragma once

#include "physics/Vec2.h"

#include <cstdint>
#include <vector>

class Entity;

// One fired shot: a segment from (x, y) to the aimed point (x + dx, y + dy), resolved in full
// by the next physics step.
struct Shot {
    float x = 0.0f;
    float y = 0.0f;
    float dx = 0.0f;
    float dy = 0.0f;
};

// A weapon holds the shots it has fired that the physics step has not yet resolved.
struct Weapon {
    char type = 'S';
    std::vector<Shot> shots;
};

// What belongs to the person playing rather than to the avatar's body.
class Player {
public:
    // The world's own player: 3 hit points and one default weapon.
    Player();

    // A player described by a level file record; it starts with no weapons.
    Player(int32_t hitPoints, int32_t ammoGValue, int32_t ammoFValue, int32_t ammoBValue,
           int32_t scoreValue, char gunTypeValue);

    // Turns the avatar to `direction` (made unit) and then sets its speed.
    void steer(float newSpeed, Vec2 direction);

    // The weapon in use: the front of `weapons`.
    Weapon& currentWeapon() { return weapons.front(); }

    Entity* avatar = nullptr;
    int32_t hp = 3;
    int32_t ammoG = 0;
    int32_t ammoF = 0;
    int32_t ammoB = 0;
    int32_t score = 0;
    char gunType = ' ';
    int32_t avatarId = 0;
    std::vector<Weapon> weapons;
};

// A shot from the centre of a 64 by 64 avatar at avatarPosition towards the window pixel
// (mouseX, mouseY) seen through a view whose top-left corner is at `camera`.
Shot buildShot(Vec2 avatarPosition, Vec2 camera, int mouseX, int mouseY);
