#pragma once

class Game;

// Reads "Level.txt" from the working directory and adds its records to the world, echoing
// each one on the log. A missing file is reported and the world keeps its built-in scene.
void loadLevel(Game& world);
