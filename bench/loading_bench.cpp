// Loading: a large level file, and the disc mask and whole load of a large picture.

#include "support/BenchSupport.h"

#include "gfx/Image.h"
#include "level/LevelLoader.h"

#include <benchmark/benchmark.h>

#include <SDL.h>

#include <chrono>
#include <cstdio>
#include <fstream>
#include <iostream>
#include <sstream>

namespace {

// A level file of `records` records: in every ten, seven lines, two arcs and one tile, spread
// over a world of their own size; one record in `picturePeriod` is a picture instead (0: none).
std::string generatedLevel(int records, int picturePeriod)
{
    std::ostringstream text;
    text << "#_Size 300000 680\n";
    for (int i = 0; i < records - 1; ++i) {
        const int x = (i / 10) * 30;
        if (picturePeriod > 0 && i % picturePeriod == picturePeriod - 1) {
            text << "#_Image bitmap2.bmp\n";
            continue;
        }
        switch (i % 10) {
        case 7:
        case 8:
            text << "#_CollArc\n//Position " << x + 15 << " 300 //Radius " << 10 + i % 40
                 << " //Sector " << 1 + i % 15 << " //flag " << 1 + i % 31
                 << " //speed/distance 60 -1\n";
            break;
        case 9:
            text << "#_TList\n//Image tile.bmp //Id " << i << " //Vector " << x
                 << " 100 //ImgId 1\n";
            break;
        default:
            text << "#_CollVec\n//X " << x << " //Y " << 400 + i % 10 << " //Dx 30 //Dy "
                 << i % 7 - 3 << " //Type " << 1 + i % 3 << " //ID " << i << "\n";
            break;
        }
    }
    return text.str();
}

// Times loadLevel alone: the world is built before it and destroyed after it, untimed. The
// echo goes to a discarding buffer, or (third argument 1) to /dev/null through a file buffer
// that writes at every line end, as the game's standard output does into a file or a pipe.
void BM_LoadLevel(benchmark::State& state)
{
    const auto records = static_cast<int>(state.range(0));
    const auto picturePeriod = static_cast<int>(state.range(1));
    ScratchDirectory folder;
    folder.write("Level.txt", generatedLevel(records, picturePeriod));
    SilencedLog silenced;
    std::filebuf devNull;
    std::streambuf* discarding = nullptr;
    if (state.range(2) != 0) {
        devNull.open("/dev/null", std::ios::out);
        discarding = std::cout.rdbuf(&devNull);
    }
    ScopedWorkingDirectory inFolder(folder.path());
    size_t lines = 0;
    size_t pictures = 0;
    for (auto _ : state) {
        auto world = buildWorld(RenderMode::Headless, false);
        const auto start = std::chrono::steady_clock::now();
        loadLevel(*world);
        const auto end = std::chrono::steady_clock::now();
        state.SetIterationTime(std::chrono::duration<double>(end - start).count());
        lines = world->lines.size();
        pictures = world->levelPictures().size();
    }
    if (discarding != nullptr) {
        std::cout.rdbuf(discarding);
    }
    state.counters["records"] = records;
    state.counters["lines"] = static_cast<double>(lines);
    state.counters["pictures"] = static_cast<double>(pictures);
}

// The same file read record by record with the loader's reader, without the echo on the log
// and without building anything: the reading's share of BM_LoadLevel.
void BM_ReadLevelOnly(benchmark::State& state)
{
    const auto records = static_cast<int>(state.range(0));
    const auto picturePeriod = static_cast<int>(state.range(1));
    ScratchDirectory folder;
    folder.write("Level.txt", generatedLevel(records, picturePeriod));
    int headers = 0;
    for (auto _ : state) {
        std::FILE* file = std::fopen(folder.file("Level.txt").c_str(), "r");
        CharSource text(file);
        headers = readEveryRecord(text);
        std::fclose(file);
    }
    state.counters["records"] = headers;
}

void BM_DiscMask(benchmark::State& state)
{
    const auto side = static_cast<int>(state.range(0));
    PixelImage picture;
    picture.width = side;
    picture.height = side;
    picture.pixels.assign(static_cast<size_t>(side) * static_cast<size_t>(side), 0u);
    for (auto _ : state) {
        applyDiscMask(picture);
        benchmark::ClobberMemory();
    }
}

// The whole headless load of a 24-bit bitmap: read, conversion to RGBA, disc mask.
void BM_LoadImage(benchmark::State& state)
{
    const auto side = static_cast<int>(state.range(0));
    ScratchDirectory folder;
    SDL_Surface* picture =
        SDL_CreateRGBSurface(0, side, side, 24, 0xFF0000u, 0x00FF00u, 0x0000FFu, 0);
    if (picture == nullptr || SDL_SaveBMP(picture, folder.file("big.bmp").c_str()) != 0) {
        state.SkipWithError("The test bitmap cannot be written.");
        return;
    }
    SDL_FreeSurface(picture);
    SilencedLog silenced;
    ScopedWorkingDirectory inFolder(folder.path());
    for (auto _ : state) {
        // A renderer of its own for every load: a second load of the file would share the first.
        Renderer renderer(nullptr, 640.0f, 480.0f, 3000.0f, 680.0f, RenderMode::Headless);
        benchmark::DoNotOptimize(renderer.loadImage("big.bmp"));
    }
}

// A later load of a file loaded before: it shares the first load's picture.
void BM_LoadImageAgain(benchmark::State& state)
{
    SilencedLog silenced;
    ScopedWorkingDirectory inAssets(assetsDir());
    Renderer renderer(nullptr, 640.0f, 480.0f, 3000.0f, 680.0f, RenderMode::Headless);
    renderer.loadImage("bitmap2.bmp");
    for (auto _ : state) {
        benchmark::DoNotOptimize(renderer.loadImage("bitmap2.bmp"));
    }
}

} // namespace

BENCHMARK(BM_LoadLevel)
    ->ArgNames({"records", "picture_every", "log_to_dev_null"})
    ->Args({100000, 0, 0})
    ->Args({100000, 100, 0})
    ->Args({100000, 0, 1})
    ->UseManualTime()
    ->Iterations(10)
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ReadLevelOnly)
    ->ArgNames({"records", "picture_every"})
    ->Args({100000, 0})
    ->Args({100000, 100})
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DiscMask)->Arg(64)->Arg(1024)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_LoadImage)->Arg(64)->Arg(1024)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_LoadImageAgain)->Unit(benchmark::kMicrosecond);
