#include <omp.h>
#include <tesseract/baseapi.h>
#include <tesseract/ocrclass.h>
#include <tesseract/resultiterator.h>

#include <algorithm>
#include <chrono>
#include <cstddef>
#include <future>
#include <iterator>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "glyphsnap/recognition/tesseract/engine.h"
#include "glyphsnap/recognition/tesseract/engine_cache.h"
#include "glyphsnap/recognition/tesseract/planes.h"
#include "glyphsnap/recognition/tesseract/reading_policy.h"
#include "glyphsnap/recognition/tesseract/words.h"
#include "glyphsnap/text/utf.h"

namespace glyphsnap {
namespace {

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
enum class ThreadUse { OneThread, AsConfigured };

ThreadUse ThreadUseFor(const EnvironmentReader& environment) {
    return environment("OMP_THREAD_LIMIT") == nullptr ? ThreadUse::OneThread
                                                      : ThreadUse::AsConfigured;
}

void KeepRecognitionOnThisThread(ThreadUse threads) {
    if (threads == ThreadUse::OneThread) {
        omp_set_max_active_levels(0);
    }
}

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

class TesseractRecognizer final : public TextRecognizer {
  public:
    // Borrows the cached engines while `lease` is held.
    TesseractRecognizer(EngineLease lease, std::chrono::milliseconds timeLimit, ThreadUse threads)
        : lease_(std::move(lease.lock)),
          engines_(lease.engines),
          timeLimit_(timeLimit),
          threads_(threads) {}
    TesseractRecognizer(EngineSet engines, std::chrono::milliseconds timeLimit, ThreadUse threads)
        : owned_(std::move(engines)), engines_(&owned_), timeLimit_(timeLimit), threads_(threads) {}

    TesseractRecognizer(const TesseractRecognizer&) = delete;
    TesseractRecognizer& operator=(const TesseractRecognizer&) = delete;

    // Nothing of this request stays in an engine that serves the next one.
    ~TesseractRecognizer() override { engines_->Forget(); }

    std::uint32_t MaxImageDimension() const override { return kTesseractMaxImageDimension; }

    std::variant<std::vector<OcrLine>, RecognitionFailure> Recognize(
        const BgraBitmap& bitmap) override {
        if (bitmap.width == 0 || bitmap.height == 0) {
            return std::vector<OcrLine>{};  // no room for text
        }
        KeepRecognitionOnThisThread(threads_);
        RecognitionDeadline deadline(timeLimit_);
        GreyPlane plane = GreyPlaneOf(bitmap);
        std::vector<WordBox> layoutLines = LayoutLines(plane);
        if (const std::optional<float> lineHeight = MedianHeight(layoutLines)) {
            const FrameLineLengths shortest = FrameLineLengthsFor(*lineHeight);
            RemoveFrameLines(plane, shortest.across, shortest.down);
            if (const float factor = EnlargementFor(*lineHeight, plane.width, plane.height);
                factor > 1) {
                plane = EnlargedPlane(plane, factor);
                layoutLines = ScaledBoxes(layoutLines, factor);
            }
        }
        // The page as it came, before any enlargement, decides whether a split pays.
        auto reading = IsSplitWorthwhile(bitmap.width, bitmap.height, layoutLines.size(),
                                         std::thread::hardware_concurrency())
                           ? ReadSplit(plane, layoutLines, deadline)
                           : Read(plane, layoutLines, deadline);
        auto* best = std::get_if<Reading>(&reading);
        if (best == nullptr) {
            return std::get<RecognitionFailure>(reading);
        }
        // A doubtful reading is read again at half size. The second reading only ever improves
        // the first: when it fails or runs out of time, the first stands.
        const GreyPlane* bestPlane = &plane;
        GreyPlane halvedPlane;
        std::variant<Reading, RecognitionFailure> halved;
        if (IsReadAgainHalved(best->lines.empty(), best->confidence, plane.width, plane.height)) {
            halvedPlane = HalvedPlane(plane);
            halved = Read(halvedPlane, ScaledBoxes(layoutLines, 0.5F), deadline);
            if (auto* second = std::get_if<Reading>(&halved);
                second != nullptr && second->confidence > best->confidence) {
                best = second;
                bestPlane = &halvedPlane;
            }
        }
        ReadDoubtfulLinesAgain(*bestPlane, best->lines, deadline);
        return TextLinesOf(best->lines);
    }

  private:
    static void SetPlane(tesseract::TessBaseAPI& engine, const GreyPlane& plane) {
        engine.SetImage(plane.levels.data(), static_cast<int>(plane.width),
                        static_cast<int>(plane.height), 1, static_cast<int>(plane.width));
    }

    // The boxes of the text lines the layout analysis finds.
    std::vector<WordBox> LayoutLines(const GreyPlane& plane) {
        engines_->Main()->SetPageSegMode(tesseract::PSM_AUTO);
        SetPlane(*engines_->Main(), plane);
        const std::unique_ptr<tesseract::PageIterator> line(engines_->Main()->AnalyseLayout());
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

    // Screenshots are rows of text: labels beside their fields, table rows, buttons in a row.
    // Read as one block, they come out in that order. A page the block reading doubts, or where
    // it misses a text line the layout analysis found (frames, list boxes, scattered buttons),
    // is read as sparse text too; the more confident reading wins, and takes in the lines only
    // the other found. A reading that passes the deadline is dropped whole: its words stop where
    // the engine was stopped.
    std::variant<Reading, RecognitionFailure> Read(const GreyPlane& plane,
                                                   const std::vector<WordBox>& layoutLines,
                                                   RecognitionDeadline& deadline) {
        return ReadWith(*engines_->Main(), plane, layoutLines, deadline);
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
                } else if (IsSparseReadingPreferred(reading.confidence, best.confidence)) {
                    reading.lines = WithLinesFoundApart(std::move(reading.lines), best.lines);
                    best = std::move(reading);
                } else {
                    best.lines = WithLinesFoundApart(std::move(best.lines), reading.lines);
                }
            }
            if (!best.lines.empty() && IsBlockReadingConfident(best.confidence) &&
                AllMet(layoutLines, best.lines)) {
                break;
            }
        }
        return best;
    }

    // A full page is read by two engines at once, each on its own band of rows, cut between
    // two text lines of the layout analysis; a page where no cut runs clear of every line
    // (columns of different heights), or whose second engine does not start, is read by one. Each
    // band is read as the whole page is, so the text is the one engine's text.
    std::variant<Reading, RecognitionFailure> ReadSplit(const GreyPlane& plane,
                                                        const std::vector<WordBox>& layoutLines,
                                                        RecognitionDeadline& deadline) {
        const std::optional<std::uint32_t> cut = CutBetweenLines(layoutLines, plane.height);
        tesseract::TessBaseAPI* second = cut ? engines_->Second() : nullptr;
        if (second == nullptr) {
            return Read(plane, layoutLines, deadline);
        }
        const std::pair<std::vector<WordBox>, std::vector<WordBox>> bands =
            SplitBoxes(layoutLines, *cut);
        const GreyPlane upper = Rows(plane, 0, *cut);
        const GreyPlane lower = Rows(plane, *cut, plane.height);
        auto lowerReading = std::async(std::launch::async, [&, end = deadline.End()] {
            KeepRecognitionOnThisThread(threads_);
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

    // In a Chinese profile, a line with a doubtful word without an ideograph is read again by
    // the Chinese model alone, and that reading replaces it when it is more confident: the mixed
    // model reads short Chinese labels, and Chinese beside a checkbox, as Latin letters.
    void ReadDoubtfulLinesAgain(const GreyPlane& plane, std::vector<ReadLine>& lines,
                                RecognitionDeadline& deadline) {
        std::vector<ReadLine*> doubtful;
        for (ReadLine& line : lines) {
            const bool doubted = std::any_of(line.begin(), line.end(), IsDoubtedWord);
            if (doubted && doubtful.size() < kMostLinesReadAgain) {
                doubtful.push_back(&line);
            }
        }
        if (doubtful.empty()) {
            return;
        }
        tesseract::TessBaseAPI* engine = engines_->Ideographic();
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
            TakeIdeographicReadings(*line, again, kLeastIdeographicConfidence, IsDoubtedWord);
        }
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
    EngineSet owned_;
    EngineSet* engines_;
    std::chrono::milliseconds timeLimit_;
    ThreadUse threads_;
};

}  // namespace

RecognizerOrError CreateTesseractRecognizer(const EnvironmentReader& environment, EngineUse use,
                                            std::chrono::milliseconds timeLimit) {
    EngineSettings settings = SettingsFor(environment);
    if (settings.languages.empty()) {
        return nullptr;
    }
    const RecognitionError notStarted{RecognitionFailure::RecognizerNotStarted, {}};
    const ThreadUse threads = ThreadUseFor(environment);
    if (use == EngineUse::Fresh) {
        auto engine = StartEngine(settings);
        if (!engine) {
            return notStarted;
        }
        return std::make_unique<TesseractRecognizer>(
            EngineSet(std::move(settings), std::move(engine)), timeLimit, threads);
    }
    EngineLease lease = LeaseCachedEngines(std::move(settings));
    if (lease.engines->Main() == nullptr) {
        return notStarted;  // started again at the next request
    }
    return std::make_unique<TesseractRecognizer>(std::move(lease), timeLimit, threads);
}

}  // namespace glyphsnap
