#pragma once

class Game;

// Draws the collision geometry of the world (listCollisionOverlay, gfx/OverlayShapes.h) over
// whatever is drawn, in world coordinates with the projection in place (as the frame drawing
// leaves it). OpenGL state is restored afterwards.
void drawCollisionOverlay(const Game& world);
