// The decoder of the browser build reads every bitmap as SDL's loader does: same verdict, same
// reason, same pixels, same alpha channel.
#include "gfx/BitmapDecoder.h"
#include "gfx/PictureFile.h"
#include "support/ReplayRun.h"

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
        const PictureFile native = readPictureFile(std::fopen(path.c_str(), "rb"));
        const std::string bytes = readWholeFile(path);
        PixelImage decoded;
        bool alpha = false;
        const std::string reason = decodeBitmap(reinterpret_cast<const uint8_t*>(bytes.data()),
                                                bytes.size(), decoded, alpha);
        SCOPED_TRACE(path.filename().string());
        EXPECT_EQ(reason, native.refusal);
        if (!reason.empty() || !native.refusal.empty()) {
            continue;
        }
        ++loaded;
        EXPECT_EQ(alpha, native.hadAlphaChannel);
        ASSERT_EQ(decoded.width, native.picture.width);
        ASSERT_EQ(decoded.height, native.picture.height);
        const auto [ours, theirs] = std::mismatch(decoded.pixels.begin(), decoded.pixels.end(),
                                                  native.picture.pixels.begin());
        EXPECT_TRUE(ours == decoded.pixels.end())
            << "pixel " << (ours - decoded.pixels.begin()) << ": " << std::hex << *ours
            << " instead of " << *theirs;
    }
    EXPECT_GE(loaded, 40) << "of " << files.size() << " files";
}

} // namespace
