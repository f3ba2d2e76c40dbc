// One recognition request's pipeline with the engine kept between requests, against a fresh
// engine per request (a model load each time), and the image steps alone.
#include <benchmark/benchmark.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <string>
#include <vector>

#include "glyphsnap/recognition/image/pipeline.h"
#include "glyphsnap/recognition/tesseract/engine/engine.h"

namespace {

using glyphsnap::CreateTesseractRecognizer;
using glyphsnap::EngineUse;

std::string Base64(const std::vector<unsigned char>& bytes) {
    static constexpr char kAlphabet[] =
        "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    std::string text;
    std::size_t i = 0;
    for (; i + 2 < bytes.size(); i += 3) {
        const unsigned n = (bytes[i] << 16) | (bytes[i + 1] << 8) | bytes[i + 2];
        text += {kAlphabet[n >> 18], kAlphabet[(n >> 12) & 63], kAlphabet[(n >> 6) & 63],
                 kAlphabet[n & 63]};
    }
    if (i + 1 == bytes.size()) {
        const unsigned n = bytes[i] << 16;
        text += {kAlphabet[n >> 18], kAlphabet[(n >> 12) & 63], '=', '='};
    } else if (i + 2 == bytes.size()) {
        const unsigned n = (bytes[i] << 16) | (bytes[i + 1] << 8);
        text += {kAlphabet[n >> 18], kAlphabet[(n >> 12) & 63], kAlphabet[(n >> 6) & 63], '='};
    }
    return text;
}

// A 300x60 label rendered by the project's tool, as Base64 text.
const std::string& LabelImage() {
    static const std::string image = [] {
        char folder[] = "/tmp/bench-ocr-XXXXXX";
        if (mkdtemp(folder) == nullptr) {
            throw std::runtime_error("no scratch folder");
        }
        const std::string file = std::string(folder) + "/label.png";
        std::vector<std::string> arguments{"/usr/bin/python3",
                                           RENDER_TEXT_TOOL,
                                           file,
                                           "Order 58213 shipped",
                                           "--size",
                                           "24",
                                           "--padding",
                                           "12",
                                           "--width",
                                           "300",
                                           "--height",
                                           "60"};
        std::vector<char*> argv;
        argv.reserve(arguments.size() + 1);
        for (auto& argument : arguments) {
            argv.push_back(argument.data());
        }
        argv.push_back(nullptr);
        pid_t child = 0;
        int status = 0;
        if (posix_spawn(&child, argv[0], nullptr, nullptr, argv.data(), environ) != 0 ||
            waitpid(child, &status, 0) != child || status != 0) {
            throw std::runtime_error("cannot render the label");
        }
        std::ifstream in(file, std::ios::binary);
        const std::vector<unsigned char> bytes{std::istreambuf_iterator<char>(in),
                                               std::istreambuf_iterator<char>()};
        std::remove(file.c_str());
        rmdir(folder);
        return Base64(bytes);
    }();
    return image;
}

void Recognise(benchmark::State& state, EngineUse use, const char* lang) {
    const std::string& image = LabelImage();
    const auto environment = [lang](const char* name) -> const char* {
        return std::string_view(name) == "LANG" ? lang : nullptr;
    };
    for (auto _ : state) {
        auto outcome = glyphsnap::RecognizeImageText(
            image, [&] { return CreateTesseractRecognizer(environment, use); });
        benchmark::DoNotOptimize(outcome);
    }
}

void BM_LabelReusedEngineEnglish(benchmark::State& state) {
    Recognise(state, EngineUse::Reused, "en_US.UTF-8");
}
void BM_LabelFreshEngineEnglish(benchmark::State& state) {
    Recognise(state, EngineUse::Fresh, "en_US.UTF-8");
}
void BM_LabelReusedEngineChinese(benchmark::State& state) {
    Recognise(state, EngineUse::Reused, "zh_CN.UTF-8");
}
void BM_LabelFreshEngineChinese(benchmark::State& state) {
    Recognise(state, EngineUse::Fresh, "zh_CN.UTF-8");
}

BENCHMARK(BM_LabelReusedEngineEnglish)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LabelFreshEngineEnglish)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LabelReusedEngineChinese)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LabelFreshEngineChinese)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
