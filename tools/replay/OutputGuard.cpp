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

namespace {

bool isDevNull(const struct stat& status)
{
    struct stat null {};
    return ::stat("/dev/null", &null) == 0 && sameFile(status, null);
}

// What an existing output path is when it cannot take an output without blocking or writing
// into a device: anything but a regular file or /dev/null. "" when it can.
std::string unwritableKind(const std::string& path)
{
    struct stat status {};
    if (::stat(path.c_str(), &status) != 0 || S_ISREG(status.st_mode) || isDevNull(status)) {
        return "";
    }
    return notARegularFile(status.st_mode);
}

// Where writing to `path` lands: its links followed as far as they lead (a link to a file that
// does not exist yet creates that file), then the canonical form of what exists of it.
fs::path landingPath(fs::path path)
{
    std::error_code error;
    for (int links = 0; links < 40 && fs::is_symlink(fs::symlink_status(path, error)); ++links) {
        const fs::path target = fs::read_symlink(path, error);
        path = target.is_absolute() ? target : path.parent_path() / target;
    }
    return fs::weakly_canonical(path, error);
}

// Whether two outputs would write one file: by device and inode when both exist, by where
// they land otherwise. Any number of outputs may go to /dev/null.
bool sameOutput(const std::string& first, const std::string& second)
{
    struct stat one {};
    struct stat two {};
    if (::stat(first.c_str(), &one) == 0 && ::stat(second.c_str(), &two) == 0) {
        return sameFile(one, two) && !isDevNull(one);
    }
    return landingPath(first) == landingPath(second);
}

// " is the same file as the input ..." when the existing output is one of the inputs, compared
// by device and inode so that links and other names of that file count too; "" otherwise.
std::string inputClash(const std::string& path, const ReplayOptions& options)
{
    struct stat output {};
    if (::stat(path.c_str(), &output) != 0) {
        return "";
    }
    for (const std::string& input : replayInputs(options)) {
        struct stat read {};
        // Inputs that are not regular files are never read, only refused.
        if (::stat(input.c_str(), &read) == 0 && S_ISREG(read.st_mode) && sameFile(output, read)) {
            return " is the same file as the input " + input + "; it would be overwritten";
        }
    }
    return "";
}

} // namespace

std::string outputProblem(const ReplayOptions& options)
{
    std::vector<std::pair<const char*, std::string>> outputs;
    for (const auto& output :
         {std::make_pair("--trace", options.trace), std::make_pair("--map", options.map),
          std::make_pair("--frame", options.frame)}) {
        if (!output.second.empty()) {
            outputs.push_back(output);
        }
    }
    for (size_t index = 0; index < outputs.size(); ++index) {
        const auto& [option, path] = outputs[index];
        std::string named = std::string(option) + " " + path;
        const std::string kind = unwritableKind(path);
        if (!kind.empty()) {
            return named.append(" is ").append(kind).append(
                "; outputs go to regular files or /dev/null");
        }
        for (size_t other = 0; other < index; ++other) {
            if (sameOutput(outputs[other].second, path)) {
                return std::string(outputs[other].first) + " and " + named +
                       " name one file; one would overwrite the other";
            }
        }
        const std::string clash = inputClash(path, options);
        if (!clash.empty()) {
            return named + clash;
        }
    }
    return "";
}
