#include "tools/replay/OutputGuard.h"

#include "level/InputFile.h"
#include "level/LevelReader.h"

#include <sys/stat.h>

#include <filesystem>

namespace fs = std::filesystem;

namespace {

// The pictures a level text names, its other records read past as the loader reads them.
void addLevelPictures(const std::string& levelFile, const fs::path& folder,
                      std::vector<std::string>& inputs)
{
    const InputFile input = openInputFile(levelFile);
    if (input.file == nullptr) {
        return;
    }
    CharSource text(input.file);
    LevelReader reader(text);
    std::string word;
    LevelHeader header = LevelHeader::Objects;
    while (reader.nextWord(word)) {
        if (findHeader(word, header)) {
            const LevelRecord record = reader.readRecord(header);
            if (header == LevelHeader::Image) {
                inputs.push_back(folder / record.picture.fileName);
            }
        }
    }
    std::fclose(input.file);
}

} // namespace

std::vector<std::string> replayInputs(const ReplayOptions& options)
{
    const fs::path folder = options.dir.empty() ? fs::path(".") : fs::path(options.dir);
    std::vector<std::string> inputs;
    if (!options.input.empty()) {
        inputs.push_back(options.input);
    }
    for (const char* name :
         {"Level.txt", "level.bmp", "tile.bmp", "bitmap.bmp", "bitmap1.bmp", "bitmap2.bmp"}) {
        inputs.push_back(folder / name);
    }
    addLevelPictures(folder / "Level.txt", folder, inputs);
    return inputs;
}

std::string outputClash(const ReplayOptions& options)
{
    const std::pair<const char*, std::string> outputs[] = {
        {"--trace", options.trace}, {"--map", options.map}, {"--frame", options.frame}};
    std::vector<std::string> inputs;
    for (const auto& [option, path] : outputs) {
        struct stat output {};
        if (path.empty() || ::stat(path.c_str(), &output) != 0) {
            continue;
        }
        if (inputs.empty()) {
            inputs = replayInputs(options);
        }
        for (const std::string& input : inputs) {
            struct stat read {};
            // Inputs that are not regular files are never read, only refused.
            if (::stat(input.c_str(), &read) == 0 && S_ISREG(read.st_mode) &&
                sameFile(output, read)) {
                std::string clash = option;
                clash += " " + path;
                clash += " is the same file as the input " + input;
                return clash + "; it would be overwritten";
            }
        }
    }
    return "";
}
