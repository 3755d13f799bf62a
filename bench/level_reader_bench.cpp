// How long reading a big level takes: 100,000 records of every kind with notes between
// them, read from memory and from a file, without applying them to a world.

#include "support/BenchSupport.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <string>

namespace {

constexpr int kRecords = 100000;

std::string bigLevel()
{
    const char* const records[] = {
        "#_CollVec //X 1300 //Y 210 //Dx 200 //Dy 50 //Type 1 //ID 301\n",
        "#_CollArc //Position 980 150 //Radius 120 //Sector 13 //Flag 10 //speed/distance 60 -1\n",
        "a note between records\n#_Size 3000 680\n",
        "#_TList //Image tile.bmp //Id 1 //Vector 0 0 //ImgId 2\n",
        "#_Player //Hp 3 //Ammo 10 20 30 //Score 0 //GunType S\n",
        "#_Image bitmap2.bmp\n#_Objects #_Events\n",
    };
    std::string text;
    for (int record = 0; record < kRecords; ++record) {
        text += records[record % 6];
    }
    return text;
}

void readFromMemory(benchmark::State& state)
{
    const std::string text = bigLevel();
    while (state.KeepRunning()) {
        CharSource source(text.data(), text.size());
        benchmark::DoNotOptimize(readEveryRecord(source));
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) *
                            static_cast<int64_t>(text.size()));
}

void readFromFile(benchmark::State& state)
{
    const std::string text = bigLevel();
    std::FILE* file = std::tmpfile();
    if (file == nullptr) {
        state.SkipWithError("No temporary file could be made.");
        return;
    }
    std::fwrite(text.data(), 1, text.size(), file);
    while (state.KeepRunning()) {
        std::rewind(file);
        CharSource source(file);
        benchmark::DoNotOptimize(readEveryRecord(source));
    }
    std::fclose(file);
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) *
                            static_cast<int64_t>(text.size()));
}

} // namespace

BENCHMARK(readFromMemory)->Unit(benchmark::kMillisecond);
BENCHMARK(readFromFile)->Unit(benchmark::kMillisecond);
