#include "recognition_tesseract_engine.h"

#include <omp.h>
#include <tesseract/baseapi.h>
#include <tesseract/ocrclass.h>
#include <tesseract/resultiterator.h>

#include <algorithm>
#include <chrono>
#include <cstddef>
#include <cstdlib>
#include <filesystem>
#include <future>
#include <iterator>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <thread>
#include <utility>
#include <vector>

#include "recognition_tesseract_planes.h"
#include "recognition_tesseract_words.h"
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

// Tesseract's result iterator puts the words of right-to-left scripts in reading order, but each
// of its steps walks the page from its start: on a dense page of ten thousand words that takes
// minutes, and so does its paragraph analysis, which reads every line through it. Where every
// language reads left to right, the order on the page is the reading order: the page is walked
// once, and paragraphs, which the reply does not use, are found from the layout alone.
bool ReadsRightToLeft(std::string_view languages) {
    for (const std::string_view language : {"ara", "heb", "fas", "urd", "yid"}) {
        for (std::size_t at = languages.find(language); at != std::string_view::npos;
             at = languages.find(language, at + 1)) {
            const std::size_t end = at + language.size();
            if ((at == 0 || languages[at - 1] == '+') &&
                (end == languages.size() || languages[end] == '+')) {
                return true;
            }
        }
    }
    return false;
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

// The one engine kept between requests, with the settings it was started for.
struct CachedEngine {
    std::mutex mutex;
    EngineSettings settings;
    std::unique_ptr<tesseract::TessBaseAPI> engine;
    std::unique_ptr<tesseract::TessBaseAPI> ideographic;  // a Chinese profile's Chinese model alone
    std::unique_ptr<tesseract::TessBaseAPI> second;       // the same languages, for a second band
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
        : RecognitionDeadline(std::chrono::steady_clock::now() + limit) {}
    // The same deadline with a monitor of its own, for another engine reading at the same time.
    explicit RecognitionDeadline(std::chrono::steady_clock::time_point end) : end_(end) {
        monitor_.cancel = &RecognitionDeadline::Cancel;
        monitor_.cancel_this = this;
    }
    std::chrono::steady_clock::time_point End() const { return end_; }
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

// A reading as one block this confident is kept; below it the page is read again as sparse text
// (frames, list boxes and rows of buttons break the block apart), and the more confident wins.
constexpr int kConfidentBlockReading = 80;
// The sparse reading replaces the block's rows only when it is this much more confident; below
// that the block stands, with the lines the sparse reading found apart from its words.
constexpr int kSparseReadingMargin = 5;

// Tesseract reads screen text best with text lines of about this height in pixels; 12 to 16
// pixel fonts on a screen give lines of 14 to 20, read with many more mistakes. Lines from about
// 21 pixels on are read as well as enlarged ones, and are left as they are: enlarging a full
// page costs more time than the layout analysis that measures it.
constexpr float kReadableLineHeight = 32;
constexpr float kLargestEnlargement = 3;
constexpr float kSmallestEnlargement = 1.6F;

// Frames and rules are taken out before reading, so that the block of a dialog is read as text
// and not as a picture: straight thin strokes at least this many text lines long. Text holds
// none so long (a horizontal stroke spans one character, a vertical one a line's height).
constexpr float kShortestRuleAcross = 3;
constexpr float kShortestRuleDown = 1.3F;

// A line holding a word below this confidence without any ideograph is read again by the
// Chinese model alone, in a Chinese profile.
constexpr float kDoubtfulWordConfidence = 85;
// A Chinese reading replaces a doubtful word only from this confidence on: icons beside a label
// are read as ideographs too, rated lower.
constexpr float kLeastIdeographicConfidence = 60;
constexpr std::size_t kMostLinesReadAgain = 40;
constexpr int kLineMargin = 4;

// A page is split between two engines from this many text lines and pixels on: below, the
// second engine's share would not pay for handing it over. Dialogs and labels, enlarged or not,
// stay with one engine.
constexpr std::size_t kLeastLinesToSplit = 8;
constexpr std::uint64_t kLeastPixelsToSplit = 300'000;

struct Reading {
    std::vector<ReadLine> lines;
    int confidence = 0;
};

// The rows [top, bottom) of a plane.
GreyPlane Rows(const GreyPlane& plane, std::uint32_t top, std::uint32_t bottom) {
    GreyPlane band{plane.width, bottom - top, {}};
    band.levels.assign(plane.levels.begin() + std::ptrdiff_t{top} * plane.width,
                       plane.levels.begin() + std::ptrdiff_t{bottom} * plane.width);
    return band;
}

// The readings of two bands, the lower one `cut` rows down, as one reading of the page.
Reading Joined(Reading upper, Reading lower, int cut) {
    std::size_t upperWords = 0;
    std::size_t lowerWords = 0;
    for (const ReadLine& line : upper.lines) {
        upperWords += line.size();
    }
    for (ReadLine& line : lower.lines) {
        lowerWords += line.size();
        for (ReadWord& word : line) {
            word.box.top += cut;
            word.box.bottom += cut;
        }
    }
    Reading page;
    const std::size_t words = upperWords + lowerWords;
    page.confidence =
        words == 0 ? 0
                   : static_cast<int>(
                         (upper.confidence * upperWords + lower.confidence * lowerWords) / words);
    page.lines = std::move(upper.lines);
    std::move(lower.lines.begin(), lower.lines.end(), std::back_inserter(page.lines));
    return page;
}

// The first language of a Chinese profile with others behind it ("chi_sim" of "chi_sim+eng"),
// else nothing: a profile of one language has no other model to ask.
std::string IdeographicLanguageOf(const std::string& languages) {
    const std::size_t plus = languages.find('+');
    if (plus == std::string::npos || languages.rfind("chi_", 0) != 0) {
        return {};
    }
    return languages.substr(0, plus);
}

void Forget(tesseract::TessBaseAPI* engine) {
    if (engine != nullptr) {
        engine->Clear();
        engine->ClearAdaptiveClassifier();
    }
}

class TesseractRecognizer final : public TextRecognizer {
  public:
    // Borrows the cached engines while `lease` is held.
    TesseractRecognizer(CachedEngine& cached, std::unique_lock<std::mutex> lease,
                        std::chrono::milliseconds timeLimit)
        : lease_(std::move(lease)),
          settings_(cached.settings),
          engine_(cached.engine.get()),
          ideographic_(&cached.ideographic),
          second_(&cached.second),
          timeLimit_(timeLimit) {}
    TesseractRecognizer(EngineSettings settings, std::unique_ptr<tesseract::TessBaseAPI> engine,
                        std::chrono::milliseconds timeLimit)
        : settings_(std::move(settings)),
          owned_(std::move(engine)),
          engine_(owned_.get()),
          ideographic_(&ownedIdeographic_),
          second_(&ownedSecond_),
          timeLimit_(timeLimit) {}

    TesseractRecognizer(const TesseractRecognizer&) = delete;
    TesseractRecognizer& operator=(const TesseractRecognizer&) = delete;

    // Nothing of this request stays in an engine that serves the next one.
    ~TesseractRecognizer() override {
        Forget(engine_);
        Forget(ideographic_->get());
        Forget(second_->get());
    }

    std::uint32_t MaxImageDimension() const override { return kTesseractMaxImageDimension; }

    std::variant<std::vector<OcrLine>, RecognitionFailure> Recognize(
        const BgraBitmap& bitmap) override {
        if (bitmap.width == 0 || bitmap.height == 0) {
            return std::vector<OcrLine>{};  // no room for text
        }
        KeepRecognitionOnThisThread();
        RecognitionDeadline deadline(timeLimit_);
        GreyPlane plane = GreyPlaneOf(bitmap);
        std::vector<WordBox> layoutLines = LayoutLines(plane);
        if (const std::optional<float> lineHeight = MedianHeight(layoutLines)) {
            RemoveFrameLines(plane, static_cast<std::uint32_t>(*lineHeight * kShortestRuleAcross),
                             static_cast<std::uint32_t>(*lineHeight * kShortestRuleDown));
            if (const float factor = EnlargementFor(*lineHeight, plane); factor > 1) {
                plane = EnlargedPlane(plane, factor);
                layoutLines = ScaledBoxes(layoutLines, factor);
            }
        }
        // The page as it came, before any enlargement, decides whether a split pays.
        const bool fullPage = std::uint64_t{bitmap.width} * bitmap.height >= kLeastPixelsToSplit;
        auto reading =
            fullPage ? ReadSplit(plane, layoutLines, deadline) : Read(plane, layoutLines, deadline);
        auto* first = std::get_if<Reading>(&reading);
        if (first == nullptr) {
            return std::get<RecognitionFailure>(reading);
        }
        if (first->lines.empty() || first->confidence >= kDoubtfulConfidence ||
            plane.width / 2 < kSmallestHalvedSide || plane.height / 2 < kSmallestHalvedSide) {
            ReadDoubtfulLinesAgain(plane, first->lines, deadline);
            return TextLinesOf(first->lines);
        }
        // The second reading only ever improves the first: when it fails or runs out of time,
        // the first stands.
        GreyPlane halvedPlane = HalvedPlane(plane);
        auto halved = Read(halvedPlane, ScaledBoxes(layoutLines, 0.5F), deadline);
        if (auto* second = std::get_if<Reading>(&halved);
            second != nullptr && second->confidence > first->confidence) {
            ReadDoubtfulLinesAgain(halvedPlane, second->lines, deadline);
            return TextLinesOf(second->lines);
        }
        ReadDoubtfulLinesAgain(plane, first->lines, deadline);
        return TextLinesOf(first->lines);
    }

  private:
    static void SetPlane(tesseract::TessBaseAPI& engine, const GreyPlane& plane) {
        engine.SetImage(plane.levels.data(), static_cast<int>(plane.width),
                        static_cast<int>(plane.height), 1, static_cast<int>(plane.width));
    }

    // The boxes of the text lines the layout analysis finds.
    std::vector<WordBox> LayoutLines(const GreyPlane& plane) {
        engine_->SetPageSegMode(tesseract::PSM_AUTO);
        SetPlane(*engine_, plane);
        const std::unique_ptr<tesseract::PageIterator> line(engine_->AnalyseLayout());
        std::vector<WordBox> boxes;
        if (line && !line->Empty(tesseract::RIL_TEXTLINE)) {
            do {
                WordBox box;
                if (line->BoundingBox(tesseract::RIL_TEXTLINE, &box.left, &box.top, &box.right,
                                      &box.bottom)) {
                    boxes.push_back(box);
                }
            } while (line->Next(tesseract::RIL_TEXTLINE));
        }
        return boxes;
    }

    static std::optional<float> MedianHeight(std::vector<WordBox> boxes) {
        if (boxes.empty()) {
            return std::nullopt;
        }
        const auto middle = boxes.begin() + static_cast<std::ptrdiff_t>(boxes.size() / 2);
        std::nth_element(
            boxes.begin(), middle, boxes.end(),
            [](const WordBox& a, const WordBox& b) { return a.bottom - a.top < b.bottom - b.top; });
        return static_cast<float>(std::max(1, middle->bottom - middle->top));
    }

    // How much the page must grow for its text lines to reach the height Tesseract reads best;
    // 1 when they are high enough.
    static float EnlargementFor(float median, const GreyPlane& plane) {
        const float factor = std::min(kLargestEnlargement, kReadableLineHeight / median);
        const float largestSide = static_cast<float>(std::max(plane.width, plane.height));
        if (factor < kSmallestEnlargement ||
            largestSide * factor > static_cast<float>(kTesseractMaxImageDimension)) {
            return 1;
        }
        return factor;
    }

    // Screenshots are rows of text: labels beside their fields, table rows, buttons in a row.
    // Read as one block, they come out in that order. A page the block reading doubts, or where
    // it misses a text line the layout analysis found (frames, list boxes, scattered buttons),
    // is read as sparse text too; the more confident reading wins, and takes in the lines only
    // the other found. A reading that passes the deadline is dropped whole: its words stop where
    // the engine was stopped.
    std::variant<Reading, RecognitionFailure> Read(const GreyPlane& plane,
                                                   const std::vector<WordBox>& layoutLines,
                                                   RecognitionDeadline& deadline) {
        return ReadWith(*engine_, plane, layoutLines, deadline);
    }

    static std::variant<Reading, RecognitionFailure> ReadWith(
        tesseract::TessBaseAPI& engine, const GreyPlane& plane,
        const std::vector<WordBox>& layoutLines, RecognitionDeadline& deadline) {
        Reading best;
        for (const auto mode : {tesseract::PSM_SINGLE_BLOCK, tesseract::PSM_SPARSE_TEXT}) {
            if (deadline.Passed()) {
                return RecognitionFailure::RecognitionTimedOut;
            }
            engine.SetPageSegMode(mode);
            SetPlane(engine, plane);
            const int recognised = engine.Recognize(deadline.Monitor());
            if (deadline.Passed()) {
                return RecognitionFailure::RecognitionTimedOut;
            }
            if (recognised != 0) {
                return RecognitionFailure::RecognitionFailed;
            }
            Reading reading{RecognisedLines(engine), 0};
            if (!reading.lines.empty()) {
                reading.confidence = engine.MeanTextConf();
                if (best.lines.empty()) {
                    best = std::move(reading);
                } else if (reading.confidence > best.confidence + kSparseReadingMargin) {
                    reading.lines = WithLinesFoundApart(std::move(reading.lines), best.lines);
                    best = std::move(reading);
                } else {
                    best.lines = WithLinesFoundApart(std::move(best.lines), reading.lines);
                }
            }
            if (!best.lines.empty() && best.confidence >= kConfidentBlockReading &&
                AllMet(layoutLines, best.lines)) {
                break;
            }
        }
        return best;
    }

    // A full page is read by two engines at once, each on its own band of rows, cut between
    // two text lines of the layout analysis; a page of few lines, or where no cut runs clear of
    // every line (columns of different heights), is read by one. Each band is read as the whole
    // page is, so the text is the one engine's text.
    std::variant<Reading, RecognitionFailure> ReadSplit(const GreyPlane& plane,
                                                        const std::vector<WordBox>& layoutLines,
                                                        RecognitionDeadline& deadline) {
        const std::optional<std::uint32_t> cut =
            layoutLines.size() >= kLeastLinesToSplit && std::thread::hardware_concurrency() >= 2
                ? CutBetweenLines(layoutLines, plane.height)
                : std::nullopt;
        tesseract::TessBaseAPI* second = cut ? SecondEngine() : nullptr;
        if (second == nullptr) {
            return Read(plane, layoutLines, deadline);
        }
        const std::pair<std::vector<WordBox>, std::vector<WordBox>> bands =
            SplitBoxes(layoutLines, *cut);
        const GreyPlane upper = Rows(plane, 0, *cut);
        const GreyPlane lower = Rows(plane, *cut, plane.height);
        auto lowerReading = std::async(std::launch::async, [&, end = deadline.End()] {
            KeepRecognitionOnThisThread();
            RecognitionDeadline own(end);
            return ReadWith(*second, lower, bands.second, own);
        });
        auto upperReading = Read(upper, bands.first, deadline);
        auto lowerResult = lowerReading.get();
        if (auto* failure = std::get_if<RecognitionFailure>(&upperReading)) {
            return *failure;
        }
        if (auto* failure = std::get_if<RecognitionFailure>(&lowerResult)) {
            return *failure;
        }
        return Joined(std::get<Reading>(std::move(upperReading)),
                      std::get<Reading>(std::move(lowerResult)), static_cast<int>(*cut));
    }

    // The engine that reads the second band, for the same languages, started at its first use.
    tesseract::TessBaseAPI* SecondEngine() {
        if (!*second_) {
            *second_ = StartEngine(settings_);
        }
        return second_->get();
    }

    // In a Chinese profile, a line with a doubtful word without an ideograph is read again by
    // the Chinese model alone, and that reading replaces it when it is more confident: the mixed
    // model reads short Chinese labels, and Chinese beside a checkbox, as Latin letters.
    void ReadDoubtfulLinesAgain(const GreyPlane& plane, std::vector<ReadLine>& lines,
                                RecognitionDeadline& deadline) {
        std::vector<ReadLine*> doubtful;
        for (ReadLine& line : lines) {
            const bool doubted = std::any_of(line.begin(), line.end(), Doubted);
            if (doubted && doubtful.size() < kMostLinesReadAgain) {
                doubtful.push_back(&line);
            }
        }
        if (doubtful.empty()) {
            return;
        }
        tesseract::TessBaseAPI* engine = IdeographicEngine();
        if (engine == nullptr) {
            return;
        }
        engine->SetPageSegMode(tesseract::PSM_SINGLE_LINE);
        SetPlane(*engine, plane);
        for (ReadLine* line : doubtful) {
            if (deadline.Passed()) {
                return;
            }
            const WordBox box = BoxOf(*line);
            const int left = std::max(0, box.left - kLineMargin);
            const int top = std::max(0, box.top - kLineMargin);
            const int right = std::min(static_cast<int>(plane.width), box.right + kLineMargin);
            const int bottom = std::min(static_cast<int>(plane.height), box.bottom + kLineMargin);
            if (right <= left || bottom <= top) {
                continue;
            }
            engine->SetRectangle(left, top, right - left, bottom - top);
            if (engine->Recognize(deadline.Monitor()) != 0 || deadline.Passed()) {
                return;
            }
            ReadLine again;
            for (ReadLine& part : RecognisedLines(*engine)) {
                std::move(part.begin(), part.end(), std::back_inserter(again));
            }
            TakeIdeographicReadings(*line, again, kLeastIdeographicConfidence, Doubted);
        }
    }

    static bool Doubted(const ReadWord& word) {
        return word.confidence < kDoubtfulWordConfidence && !HoldsIdeograph(word.text);
    }

    // The engine of the profile's Chinese model alone, started at its first use and kept with
    // the main engine; null in other profiles or when it does not start.
    tesseract::TessBaseAPI* IdeographicEngine() {
        const std::string language = IdeographicLanguageOf(settings_.languages);
        if (language.empty()) {
            return nullptr;
        }
        if (!*ideographic_) {
            *ideographic_ = StartEngine(EngineSettings{settings_.tessdataFolder, language});
        }
        return ideographic_->get();
    }

    // The words of the engine's last recognition, line by line in reading order.
    static std::vector<ReadLine> RecognisedLines(tesseract::TessBaseAPI& engine) {
        std::vector<ReadLine> lines;
        const std::unique_ptr<tesseract::ResultIterator> word(engine.GetIterator());
        if (!word || word->Empty(tesseract::RIL_WORD)) {
            return lines;
        }
        // The page iterator's own steps go from word to word in the order on the page, each in
        // constant time.
        const char* languages = engine.GetInitLanguagesAsString();
        const bool pageOrder = !ReadsRightToLeft(languages != nullptr ? languages : "");
        tesseract::PageIterator& onPage = *word;
        do {
            if (word->Empty(tesseract::RIL_WORD)) {
                continue;  // a block without text, such as a picture, passed on the page
            }
            const bool lineStarts =
                pageOrder ? onPage.PageIterator::IsAtBeginningOf(tesseract::RIL_TEXTLINE)
                          : word->IsAtBeginningOf(tesseract::RIL_TEXTLINE);
            if (lines.empty() || lineStarts) {
                lines.emplace_back();
            }
            const std::unique_ptr<char[]> text(word->GetUTF8Text(tesseract::RIL_WORD));
            ReadWord read{text ? Utf16FromUtf8(text.get()) : std::u16string(),
                          word->Confidence(tesseract::RIL_WORD),
                          {}};
            word->BoundingBox(tesseract::RIL_WORD, &read.box.left, &read.box.top, &read.box.right,
                              &read.box.bottom);
            lines.back().push_back(std::move(read));
        } while (pageOrder ? onPage.PageIterator::Next(tesseract::RIL_WORD)
                           : word->Next(tesseract::RIL_WORD));
        return lines;
    }

    std::unique_lock<std::mutex> lease_;
    EngineSettings settings_;
    std::unique_ptr<tesseract::TessBaseAPI> owned_;
    std::unique_ptr<tesseract::TessBaseAPI> ownedIdeographic_;
    std::unique_ptr<tesseract::TessBaseAPI> ownedSecond_;
    tesseract::TessBaseAPI* engine_;
    std::unique_ptr<tesseract::TessBaseAPI>* ideographic_;
    std::unique_ptr<tesseract::TessBaseAPI>* second_;
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
        return std::make_unique<TesseractRecognizer>(settings, std::move(engine), timeLimit);
    }
    CachedEngine& cached = TheCachedEngine();
    std::unique_lock<std::mutex> lease(cached.mutex);
    if (!cached.engine || !(cached.settings == settings)) {
        cached.ideographic.reset();
        cached.second.reset();
        cached.engine.reset();  // the old languages' model is freed before the new one loads
        cached.engine = StartEngine(settings);
        cached.settings = settings;
    }
    if (!cached.engine) {
        return notStarted;  // started again at the next request
    }
    return std::make_unique<TesseractRecognizer>(cached, std::move(lease), timeLimit);
}

void EndTesseractEngines() {
    CachedEngine& cached = TheCachedEngine();
    const std::lock_guard<std::mutex> lease(cached.mutex);
    cached.ideographic.reset();
    cached.second.reset();
    cached.engine.reset();
}

}  // namespace glyphsnap
