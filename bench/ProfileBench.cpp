// Reading and writing a large profile: 10,000 saved crosswords of 30 x 30
// with 15 clue slots each way, about the most a long-time player collects.
#include "config/Localization.h"
#include "profile/ProfileFile.h"
#include "profile/UserConfig.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <random>

namespace {

ProfileData bigProfile()
{
    std::mt19937 rng(1);
    ProfileData data;
    for (int i = 0; i < 10000; ++i) {
        CrossState e("Pack" + std::to_string(i % 40) + "\\Folder\\Crossword" + std::to_string(i) + "_1_2", 30, 30, 15,
                     15);
        for (int c = 0; c < 30; ++c)
            for (int r = 0; r < 30; ++r) {
                e.setCellState(c, r, int(rng() % 4));
                e.setCellColour(c, r, int(rng() % 19));
            }
        for (int s = 0; s < 15; ++s)
            for (int k = 0; k < 30; ++k) {
                e.setLeftMark(s, k, rng() % 2);
                e.setTopMark(k, s, rng() % 2);
            }
        data.addState(std::move(e));
        if (i % 2 == 0)
            data.addSolved(data.states().back().id());
    }
    data.current = 1234;
    return data;
}

const ProfileData& sample()
{
    static const ProfileData data = bigProfile();
    return data;
}

void BM_ProfileToBytes(benchmark::State& state)
{
    const ProfileData& data = sample();
    std::size_t size = 0;
    for (auto _ : state) {
        const auto bytes = profileBytes(data, "english", true, 15);
        size = bytes.size();
        benchmark::DoNotOptimize(bytes.data());
    }
    state.SetBytesProcessed(std::int64_t(state.iterations()) * std::int64_t(size));
}
BENCHMARK(BM_ProfileToBytes)->Unit(benchmark::kMillisecond);

void BM_ProfileFromBytes(benchmark::State& state)
{
    const auto bytes = profileBytes(sample(), "english", true, 15);
    for (auto _ : state) {
        const ProfileData d = readProfileBytes(bytes.data(), bytes.size());
        benchmark::DoNotOptimize(d.states().data());
    }
    state.SetBytesProcessed(std::int64_t(state.iterations()) * std::int64_t(bytes.size()));
}
BENCHMARK(BM_ProfileFromBytes)->Unit(benchmark::kMillisecond);

// The whole round through the disk, as at start-up and shutdown: the file is
// flushed to the disk and renamed, then read back by a new profile.
void BM_ProfileFileRoundTrip(benchmark::State& state)
{
    std::string pattern = (std::filesystem::temp_directory_path() / "tessellor-bench-XXXXXX").string();
    if (!mkdtemp(pattern.data())) {
        state.SkipWithError("no scratch folder");
        return;
    }
    std::filesystem::create_directory(pattern + "/language");
    std::FILE* lng = std::fopen((pattern + "/language/english.lng").c_str(), "w");
    if (lng)
        std::fclose(lng);
    const auto bytes = profileBytes(sample(), "english", true, 15);
    Localization language;
    language.setFolder(pattern + "/language");
    ProfileBindings bindings;
    bindings.folder = pattern;
    for (auto _ : state) {
        replaceFile(pattern + "/Bench.pfl", bytes);
        UserConfig profile("Bench", language, bindings);
        benchmark::DoNotOptimize(profile.states().data());
    }
    state.SetBytesProcessed(std::int64_t(state.iterations()) * std::int64_t(bytes.size()));
    std::filesystem::remove_all(pattern);
}
BENCHMARK(BM_ProfileFileRoundTrip)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
