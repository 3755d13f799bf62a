#pragma once

class Game;

// Draws the collision geometry of the world over whatever is drawn, in world coordinates with
// the projection in place (as the frame drawing leaves it):
// - each line, coloured by its solid sides (yellow both, green only the side opposite the
//   normal, cyan only the normal's side, grey neither), with its normal as a tick from its middle;
// - the solid quarters of each arc (yellow from both sides, orange from outside only, light
//   blue from inside only, grey for quarters that are named but solid from no side);
// - the outer edge of each attraction ring, dashed magenta;
// - each entity's collision circle around its box centre, with a dot at its top-left corner
//   (white: the avatar, red: enemies, violet: pictures placed by the level, grey: the others).
// OpenGL state is restored afterwards.
void drawCollisionOverlay(const Game& world);
