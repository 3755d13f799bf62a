#include "tools/lint-level/LintOptions.h"

#include <filesystem>

const char* const kLintUsage =
    "usage: quillfen-lint [--dir DIR] [--werror] [FILE]\n"
    "  FILE      the level to check (default: Level.txt in DIR)\n"
    "  --dir DIR the game's folder, with the pictures (default: FILE's folder, or the current "
    "one)\n"
    "  --werror  exit with status 1 when there are warnings\n"
    "exit status: 0 clean (or warnings only), 1 warnings with --werror, 2 errors (the game\n"
    "would stop), 3 the level cannot be read or the command line is wrong\n";

std::string parseLintOptions(int argc, const char* const* argv, LintRequest& request, bool& help)
{
    bool gotDir = false;
    bool gotFile = false;
    for (int index = 1; index < argc; ++index) {
        const std::string argument = argv[index];
        if (argument == "--help" || argument == "-h") {
            help = true;
        } else if (argument == "--werror") {
            request.werror = true;
        } else if (argument == "--dir") {
            if (index + 1 == argc || argv[index + 1][0] == '\0') {
                return "--dir needs a folder";
            }
            request.folder.path = argv[++index];
            gotDir = true;
        } else if (argument.size() > 1 && argument[0] == '-') {
            return "unknown option '" + argument + "'";
        } else if (gotFile) {
            return "only one level at a time ('" + request.shownFile + "', '" + argument + "')";
        } else {
            request.shownFile = argument;
            gotFile = true;
        }
    }
    if (gotDir) {
        request.folder.shown = request.folder.path;
    } else if (gotFile) {
        request.folder.path = std::filesystem::path(request.shownFile).parent_path().string();
        request.folder.shown = request.folder.path;
    }
    if (!gotFile) {
        const std::string& dir = request.folder.shown;
        request.shownFile =
            dir.empty() ? "Level.txt" : dir + (dir.back() == '/' ? "" : "/") + "Level.txt";
    }
    request.levelFile = request.shownFile;
    if (!request.folder.path.empty() && !std::filesystem::is_directory(request.folder.path)) {
        return "no folder '" + request.folder.path + "'";
    }
    return "";
}
