// The decoder of the browser build reads every bitmap as SDL's loader does: same verdict, same
// reason, same pixels, same alpha channel.
#include "support/ReplayRun.h"
#include "tools/workspace/DecoderCheck.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

namespace {

TEST(BitmapDecoder, ReadsEveryCorpusAndGamePictureAsTheSdlLoaderDoes)
{
    std::vector<std::filesystem::path> files;
    for (const char* folder : {"/../fuzz/corpus/picture", "/../assets"}) {
        for (const auto& entry :
             std::filesystem::directory_iterator(std::string(QUILLFEN_TESTS_DIR) + folder)) {
            if (entry.path().extension() != ".txt" && entry.is_regular_file()) {
                files.push_back(entry.path());
            }
        }
    }
    std::sort(files.begin(), files.end());
    int loaded = 0;
    for (const auto& path : files) {
        const std::string bytes = readWholeFile(path);
        const DecoderCheck check =
            checkDecoder(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size());
        EXPECT_EQ(check.difference, "") << path.filename().string();
        loaded += check.loaded ? 1 : 0;
    }
    EXPECT_GE(loaded, 40) << "of " << files.size() << " files";
}

} // namespace
