#include "glyphsnap/recognition/tesseract/engine/engine_cache.h"

#include <filesystem>
#include <string_view>
#include <utility>
#include <vector>

#include "glyphsnap/recognition/tesseract/engine/engine.h"
#include "glyphsnap/recognition/tesseract/layout/reading_policy.h"

namespace glyphsnap {
namespace {

// Where Debian installs the trained data; TESSDATA_PREFIX names another folder.
constexpr const char* kDefaultTessdataFolder = "/usr/share/tesseract-ocr/5/tessdata";

void Forget(tesseract::TessBaseAPI* engine) {
    if (engine != nullptr) {
        engine->Clear();
        engine->ClearAdaptiveClassifier();
    }
}

}  // namespace

EngineSettings SettingsFor(const EnvironmentReader& environment) {
    EngineSettings settings;
    const char* configured = environment("TESSDATA_PREFIX");
    settings.tessdataFolder =
        (configured != nullptr && configured[0] != '\0') ? configured : kDefaultTessdataFolder;
    const std::filesystem::path folder(settings.tessdataFolder);
    settings.languages =
        TesseractLanguagesFor(ProfileLanguages(environment), [&](std::string_view language) {
            std::error_code error;
            return std::filesystem::is_regular_file(
                folder / (std::string(language) + ".traineddata"), error);
        });
    return settings;
}

std::unique_ptr<tesseract::TessBaseAPI> StartEngine(const EngineSettings& settings) {
    auto engine = std::make_unique<tesseract::TessBaseAPI>();
    // The engine's progress notes would otherwise go to standard error.
    std::vector<std::string> names{"debug_file"};
    std::vector<std::string> values{"/dev/null"};
    if (!ReadsRightToLeft(settings.languages)) {
        names.emplace_back("paragraph_text_based");
        values.emplace_back("0");
    }
    if (engine->Init(settings.tessdataFolder.c_str(), settings.languages.c_str(),
                     tesseract::OEM_LSTM_ONLY, nullptr, 0, &names, &values, false) != 0) {
        return nullptr;
    }
    return engine;
}

EngineSet::EngineSet(EngineSettings settings, std::unique_ptr<tesseract::TessBaseAPI> main)
    : settings_(std::move(settings)), main_(std::move(main)) {}

namespace {

// `engine`, started for the ideographic language of `settings` when it is not yet; null in other
// profiles.
tesseract::TessBaseAPI* IdeographicEngine(const EngineSettings& settings,
                                          std::unique_ptr<tesseract::TessBaseAPI>& engine) {
    const std::string language = IdeographicLanguageOf(settings.languages);
    if (language.empty()) {
        return nullptr;
    }
    if (!engine) {
        engine = StartEngine(EngineSettings{settings.tessdataFolder, language});
    }
    return engine.get();
}

}  // namespace

tesseract::TessBaseAPI* EngineSet::Ideographic() {
    return IdeographicEngine(settings_, ideographic_);
}

tesseract::TessBaseAPI* EngineSet::SecondIdeographic() {
    return IdeographicEngine(settings_, secondIdeographic_);
}

tesseract::TessBaseAPI* EngineSet::Second() {
    if (!second_) {
        second_ = StartEngine(settings_);
    }
    return second_.get();
}

void EngineSet::Forget() {
    glyphsnap::Forget(main_.get());
    glyphsnap::Forget(ideographic_.get());
    glyphsnap::Forget(secondIdeographic_.get());
    glyphsnap::Forget(second_.get());
}

void EngineSet::End() {
    ideographic_.reset();
    secondIdeographic_.reset();
    second_.reset();
    main_.reset();
}

namespace {

// The one set of engines kept between requests, with its lock. Never destroyed with the static
// data: Tesseract's own static data is made during the first start of an engine, after this, and
// is therefore destroyed before it at exit. The engines end through EndTesseractEngines instead.
struct CachedEngines {
    std::mutex mutex;
    EngineSet engines;
};

CachedEngines& TheCachedEngines() {
    static CachedEngines* const cached = new CachedEngines;
    return *cached;
}

}  // namespace

EngineLease LeaseCachedEngines(EngineSettings settings) {
    CachedEngines& cached = TheCachedEngines();
    std::unique_lock<std::mutex> lock(cached.mutex);
    if (cached.engines.Main() == nullptr || !(cached.engines.Settings() == settings)) {
        cached.engines.End();  // the old languages' model is freed before the new one loads
        auto engine = StartEngine(settings);
        cached.engines = EngineSet(std::move(settings), std::move(engine));
    }
    return {std::move(lock), &cached.engines};
}

void EndTesseractEngines() {
    CachedEngines& cached = TheCachedEngines();
    const std::lock_guard<std::mutex> lease(cached.mutex);
    cached.engines.End();
}

}  // namespace glyphsnap
