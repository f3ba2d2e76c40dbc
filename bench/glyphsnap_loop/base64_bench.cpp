// Throughput of the Base64 decoder on image-sized texts, plain and with line breaks every 76
// characters (as MIME encoders write them).
#include <benchmark/benchmark.h>

#include <random>
#include <string>

#include "glyphsnap/text/base64.h"

namespace {

std::string EncodedText(std::size_t bytes, std::size_t lineLength) {
    constexpr char alphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    std::mt19937 random(7);
    std::string text;
    text.reserve(bytes / 3 * 4 + bytes / 3 * 4 / 76 * 2 + 4);
    for (std::size_t i = 0; i < bytes / 3 * 4; ++i) {
        text += alphabet[random() % 64];
        if (lineLength != 0 && (i + 1) % lineLength == 0) {
            text += "\r\n";
        }
    }
    return text;
}

void DecodeBase64Text(benchmark::State& state) {
    const std::string text = EncodedText(static_cast<std::size_t>(state.range(0)),
                                         static_cast<std::size_t>(state.range(1)));
    for (auto _ : state) {
        auto decoded = glyphsnap::DecodeBase64(text);
        benchmark::DoNotOptimize(decoded);
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) *
                            static_cast<std::int64_t>(text.size()));
}

BENCHMARK(DecodeBase64Text)
    ->Args({1 << 20, 0})
    ->Args({16 << 20, 0})
    ->Args({16 << 20, 76})
    ->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
