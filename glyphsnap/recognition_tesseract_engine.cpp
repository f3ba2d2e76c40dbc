#include "recognition_tesseract_engine.h"

#include <omp.h>
#include <tesseract/baseapi.h>
#include <tesseract/ocrclass.h>
#include <tesseract/resultiterator.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <mutex>
#include <string>
#include <utility>
#include <vector>

#include "recognition_tesseract_planes.h"
#include "utf.h"

namespace glyphsnap {
namespace {

// Where Debian installs the trained data; TESSDATA_PREFIX names another folder.
constexpr const char* kDefaultTessdataFolder = "/usr/share/tesseract-ocr/5/tessdata";

struct EngineSettings {
    std::string tessdataFolder;
    std::string languages;  // empty: nothing installed to recognise with
    friend bool operator==(const EngineSettings&, const EngineSettings&) = default;
};

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
    const std::vector<std::string> names{"debug_file"};
    const std::vector<std::string> values{"/dev/null"};
    if (engine->Init(settings.tessdataFolder.c_str(), settings.languages.c_str(),
                     tesseract::OEM_LSTM_ONLY, nullptr, 0, &names, &values, false) != 0) {
        return nullptr;
    }
    return engine;
}

// The one engine kept between requests, with the settings it was started for.
struct CachedEngine {
    std::mutex mutex;
    EngineSettings settings;
    std::unique_ptr<tesseract::TessBaseAPI> engine;
};

// Never destroyed with the static data: Tesseract's own static data is made during the first
// start of an engine, after this, and is therefore destroyed before it at exit. The engine ends
// through EndTesseractEngines instead.
CachedEngine& TheCachedEngine() {
    static CachedEngine* const cached = new CachedEngine;
    return *cached;
}

// Stops the engine once the time is up. Tesseract asks after each word; the layout analysis
// before the first word cannot be stopped.
class RecognitionDeadline {
  public:
    explicit RecognitionDeadline(std::chrono::milliseconds limit)
        : end_(std::chrono::steady_clock::now() + limit) {
        monitor_.cancel = &RecognitionDeadline::Cancel;
        monitor_.cancel_this = this;
    }
    RecognitionDeadline(const RecognitionDeadline&) = delete;
    RecognitionDeadline& operator=(const RecognitionDeadline&) = delete;

    bool Passed() const { return std::chrono::steady_clock::now() >= end_; }
    tesseract::ETEXT_DESC* Monitor() { return &monitor_; }

  private:
    static bool Cancel(void* self, int /*words*/) {
        return static_cast<const RecognitionDeadline*>(self)->Passed();
    }

    std::chrono::steady_clock::time_point end_;
    tesseract::ETEXT_DESC monitor_;
};

// Tesseract asks OpenMP for up to four threads per parallel region; on a machine with few cores
// they spin against each other and make recognition several times slower. The nesting limit is
// kept per thread, so it is set on the thread that recognises. A user who sets OMP_THREAD_LIMIT
// has chosen for themselves.
void KeepRecognitionOnThisThread() {
    if (std::getenv("OMP_THREAD_LIMIT") == nullptr) {
        omp_set_max_active_levels(0);
    }
}

// Below this mean word confidence a reading is doubted. Tesseract misreads glyphs that the
// enlargement for small images has made very large (a single line of Chinese becomes Latin
// nonsense at about 45, while a good reading scores above 90); the same page at half size is
// then read as well, and the more confident reading wins.
constexpr int kDoubtfulConfidence = 60;
constexpr std::uint32_t kSmallestHalvedSide = 32;

struct Reading {
    std::vector<OcrLine> lines;
    int confidence = 0;
};

class TesseractRecognizer final : public TextRecognizer {
  public:
    // Borrows the cached engine while `lease` is held.
    TesseractRecognizer(tesseract::TessBaseAPI& engine, std::unique_lock<std::mutex> lease,
                        std::chrono::milliseconds timeLimit)
        : lease_(std::move(lease)), engine_(&engine), timeLimit_(timeLimit) {}
    TesseractRecognizer(std::unique_ptr<tesseract::TessBaseAPI> engine,
                        std::chrono::milliseconds timeLimit)
        : owned_(std::move(engine)), engine_(owned_.get()), timeLimit_(timeLimit) {}

    TesseractRecognizer(const TesseractRecognizer&) = delete;
    TesseractRecognizer& operator=(const TesseractRecognizer&) = delete;

    // Nothing of this request stays in an engine that serves the next one.
    ~TesseractRecognizer() override {
        engine_->Clear();
        engine_->ClearAdaptiveClassifier();
    }

    std::uint32_t MaxImageDimension() const override { return kTesseractMaxImageDimension; }

    std::variant<std::vector<OcrLine>, RecognitionFailure> Recognize(
        const BgraBitmap& bitmap) override {
        if (bitmap.width == 0 || bitmap.height == 0) {
            return std::vector<OcrLine>{};  // no room for text
        }
        KeepRecognitionOnThisThread();
        RecognitionDeadline deadline(timeLimit_);
        const GreyPlane plane = GreyPlaneOf(bitmap);
        auto reading = Read(plane, deadline);
        auto* first = std::get_if<Reading>(&reading);
        if (first == nullptr) {
            return std::get<RecognitionFailure>(reading);
        }
        if (first->lines.empty() || first->confidence >= kDoubtfulConfidence ||
            plane.width / 2 < kSmallestHalvedSide || plane.height / 2 < kSmallestHalvedSide) {
            return std::move(first->lines);
        }
        // The second reading only ever improves the first: when it fails or runs out of time,
        // the first stands.
        auto halved = Read(HalvedPlane(plane), deadline);
        if (auto* second = std::get_if<Reading>(&halved);
            second != nullptr && second->confidence > first->confidence) {
            return std::move(second->lines);
        }
        return std::move(first->lines);
    }

  private:
    // Screenshots hold columns, panels and captions, so the page's layout is analysed first.
    // That analysis drops some pages altogether (a single line of large Chinese text, for one); a
    // page where it finds no word is read again as one block of text. A reading that passes the
    // deadline is dropped whole: its words stop where the engine was stopped.
    std::variant<Reading, RecognitionFailure> Read(const GreyPlane& plane,
                                                   RecognitionDeadline& deadline) {
        Reading reading;
        for (const auto mode : {tesseract::PSM_AUTO, tesseract::PSM_SINGLE_BLOCK}) {
            if (deadline.Passed()) {
                return RecognitionFailure::RecognitionTimedOut;
            }
            engine_->SetPageSegMode(mode);
            engine_->SetImage(plane.levels.data(), static_cast<int>(plane.width),
                              static_cast<int>(plane.height), 1, static_cast<int>(plane.width));
            const int recognised = engine_->Recognize(deadline.Monitor());
            if (deadline.Passed()) {
                return RecognitionFailure::RecognitionTimedOut;
            }
            if (recognised != 0) {
                return RecognitionFailure::RecognitionFailed;
            }
            reading.lines = RecognisedLines();
            if (!reading.lines.empty()) {
                reading.confidence = engine_->MeanTextConf();
                break;
            }
        }
        return reading;
    }

    // The words of the last recognition, line by line in reading order.
    std::vector<OcrLine> RecognisedLines() {
        std::vector<OcrLine> lines;
        const std::unique_ptr<tesseract::ResultIterator> word(engine_->GetIterator());
        if (!word || word->Empty(tesseract::RIL_WORD)) {
            return lines;
        }
        do {
            if (lines.empty() || word->IsAtBeginningOf(tesseract::RIL_TEXTLINE)) {
                lines.emplace_back();
            }
            const std::unique_ptr<char[]> text(word->GetUTF8Text(tesseract::RIL_WORD));
            lines.back().words.push_back(text ? Utf16FromUtf8(text.get()) : std::u16string());
        } while (word->Next(tesseract::RIL_WORD));
        return lines;
    }

    std::unique_lock<std::mutex> lease_;
    std::unique_ptr<tesseract::TessBaseAPI> owned_;
    tesseract::TessBaseAPI* engine_;
    std::chrono::milliseconds timeLimit_;
};

}  // namespace

RecognizerOrError CreateTesseractRecognizer(const EnvironmentReader& environment, EngineUse use,
                                            std::chrono::milliseconds timeLimit) {
    const EngineSettings settings = SettingsFor(environment);
    if (settings.languages.empty()) {
        return nullptr;
    }
    const RecognitionError notStarted{RecognitionFailure::RecognizerNotStarted, {}};
    if (use == EngineUse::Fresh) {
        auto engine = StartEngine(settings);
        if (!engine) {
            return notStarted;
        }
        return std::make_unique<TesseractRecognizer>(std::move(engine), timeLimit);
    }
    CachedEngine& cached = TheCachedEngine();
    std::unique_lock<std::mutex> lease(cached.mutex);
    if (!cached.engine || !(cached.settings == settings)) {
        cached.engine.reset();  // the old languages' model is freed before the new one loads
        cached.engine = StartEngine(settings);
        cached.settings = settings;
    }
    if (!cached.engine) {
        return notStarted;  // started again at the next request
    }
    return std::make_unique<TesseractRecognizer>(*cached.engine, std::move(lease), timeLimit);
}

void EndTesseractEngines() {
    CachedEngine& cached = TheCachedEngine();
    const std::lock_guard<std::mutex> lease(cached.mutex);
    cached.engine.reset();
}

}  // namespace glyphsnap
