// quillfen-describe-level: prints what the level editor is told about a level folder (see
// README.md), the JSON that the browser build's level module gives for the same folder.

#include "tools/level-editor/LevelDescription.h"

#include <iostream>

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::cerr << "usage: quillfen-describe-level DIR\n";
        return 2;
    }
    const std::string description = describeLevel(argv[1]);
    std::cout << description << '\n' << std::flush;
    return description.rfind("{\"ok\":true", 0) == 0 ? 0 : 1;
}
