#pragma once

class Entity;
struct CollisionArc;

// Puts an entity touching a solid quarter of the arc back one radius from the rim, turned along
// the tangent; holding arcs and attraction rings set `held`, which suspends gravity this step.
void collideWithArc(Entity& entity, const CollisionArc& arc, bool& held);
