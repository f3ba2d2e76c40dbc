// EnhanceForOcr on a 1920x1080 BGRA8 bitmap, beside a plain copy of the same bytes.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <cstring>
#include <random>
#include <vector>

#include "glyphsnap/recognition/enhance.h"

namespace {

constexpr std::size_t kBytes = std::size_t{1920} * 1080 * 4;

std::vector<std::uint8_t> ScreenLikePixels() {
    std::vector<std::uint8_t> pixels(kBytes);
    std::mt19937 random(7);
    std::uniform_int_distribution<int> byte(0, 255);
    for (auto& value : pixels) {
        value = static_cast<std::uint8_t>(byte(random));
    }
    return pixels;
}

void BM_EnhanceForOcr(benchmark::State& state) {
    std::vector<std::uint8_t> pixels = ScreenLikePixels();
    for (auto _ : state) {
        glyphsnap::EnhanceForOcr(pixels, glyphsnap::kOcrContrast);
        benchmark::DoNotOptimize(pixels.data());
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * kBytes));
}

void BM_CopyOfTheSameBuffer(benchmark::State& state) {
    const std::vector<std::uint8_t> source = ScreenLikePixels();
    std::vector<std::uint8_t> target(kBytes);
    for (auto _ : state) {
        std::memcpy(target.data(), source.data(), kBytes);
        benchmark::DoNotOptimize(target.data());
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * kBytes));
}

BENCHMARK(BM_EnhanceForOcr)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CopyOfTheSameBuffer)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
