#pragma once

#include "physics/Vec2.h"

class Entity;
struct CollisionVector;

// Pushes the entity out of a solid side of the line it moves into and, when gravity presses
// it against the line, keeps only the part of its velocity along the line and marks it
// carried (`supported`) and in contact.
void collideWithLine(Entity& entity, const CollisionVector& line, Vec2 gravity, bool& supported);
