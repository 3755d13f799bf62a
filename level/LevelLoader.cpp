#include "level/LevelLoader.h"

#include <iostream>

void loadLevel(Game&)
{
    std::cout << "File Failed to load...." << std::endl;
}
