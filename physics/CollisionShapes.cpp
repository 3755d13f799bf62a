#include "physics/CollisionShapes.h"

#include "physics/Vec2.h"

CollisionVector::CollisionVector(float startX, float startY, float extentX, float extentY,
                                 uint8_t sideBits, uint32_t lineId)
    : x(startX), y(startY), dx(extentX), dy(extentY), type(sideBits), id(lineId)
{
    const Vec2 normal = normalized(Vec2{-dy, dx});
    nx = normal.x;
    ny = normal.y;
}
