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

#include "glyphsnap/recognition/tesseract/cell_order.h"
#include "glyphsnap/recognition/tesseract/engine.h"
#include "glyphsnap/recognition/tesseract/engine_cache.h"
#include "glyphsnap/recognition/tesseract/engine_reading.h"
#include "glyphsnap/recognition/tesseract/ink_lines.h"
#include "glyphsnap/recognition/tesseract/page_regions.h"
#include "glyphsnap/recognition/tesseract/pass_doubtful_words.h"
#include "glyphsnap/recognition/tesseract/planes.h"
#include "glyphsnap/recognition/tesseract/reading_policy.h"
#include "glyphsnap/recognition/tesseract/reading_tuning.h"
#include "glyphsnap/recognition/tesseract/recognition_deadline.h"
#include "glyphsnap/recognition/tesseract/words.h"
#include "glyphsnap/text/utf.h"

namespace glyphsnap {
namespace {

// True when every line of `lines` that `again` reads again in part has its middle in `row`.
bool IsReadingOfOneRow(const std::vector<ReadLine>& lines, const ReadLine& again,
                       const WordBox& row) {
    return std::all_of(lines.begin(), lines.end(), [&](const ReadLine& line) {
        const WordBox box = BoxOf(line);
        const int middle = (box.top + box.bottom) / 2;
        return WordsUnder({line}, again).empty() || (row.top <= middle && middle < row.bottom);
    });
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

    // The ink's own lines decide where the image is cut between two engines, before any layout
    // analysis; the engine's layout analysis of the upper band alone (or of the whole image)
    // measures the text lines. Second readings read crops: the pieces of ink lines no word of
    // the first reading meets, the lines it doubts, and in a Chinese profile its doubtful Latin
    // words; a doubtful page (in the two bands of its first reading), or one whose missed piece
    // wider than a glyph no crop reads, is read as sparse text. The lines of a table row with a
    // wrapped cell are put in the order of the page last.
    std::variant<std::vector<OcrLine>, RecognitionFailure> Recognize(
        const BgraBitmap& bitmap) override {
        if (bitmap.width == 0 || bitmap.height == 0) {
            return std::vector<OcrLine>{};  // no room for text
        }
        KeepRecognitionOnThisThread(threads_);
        RecognitionDeadline deadline(timeLimit_);
        GreyPlane plane = GreyPlaneOf(bitmap);
        std::vector<std::uint8_t> framedRows;
        std::vector<WordBox> inkLines = InkLinesOf(plane, Tuning().longestTextStroke, &framedRows);
        // The row the image is cut at between two engines; 0 for one engine.
        std::uint32_t cut = 0;
        switch (SplitFor(inkLines, HoldsStrokeAcross(plane, inkLines, Tuning().longestTextStroke),
                         std::thread::hardware_concurrency())) {
            case Split::AnyWhere:
                cut = CutBetweenLines(inkLines, plane.height).value_or(0);
                break;
            case Split::OutsideFrames:
                cut = CutBetweenLines(inkLines, plane.height, framedRows).value_or(0);
                break;
            case Split::None:
                break;
        }
        const std::vector<WordBox> layoutLines = LayoutLines(cut > 0 ? Rows(plane, 0, cut) : plane);
        const std::optional<float> lineHeight =
            MedianHeight(layoutLines.empty() ? inkLines : layoutLines);
        if (lineHeight) {
            const FrameLineLengths shortest = FrameLineLengthsFor(*lineHeight);
            RemoveFrameLines(plane, shortest.across, shortest.down);
            if (const float factor = EnlargementFor(*lineHeight, plane.width, plane.height);
                factor > 1) {
                plane = EnlargedPlane(plane, factor);
                inkLines = ScaledBoxes(inkLines, factor);
                cut = std::min(plane.height,
                               static_cast<std::uint32_t>(static_cast<float>(cut) * factor));
            }
        }
        auto reading =
            cut > 0 && cut < plane.height
                ? ReadSplit(plane, cut, tesseract::PSM_SINGLE_BLOCK, deadline)
                : ReadWhole(*engines_->Main(), plane, tesseract::PSM_SINGLE_BLOCK, deadline);
        auto* best = std::get_if<Reading>(&reading);
        if (best == nullptr) {
            return std::get<RecognitionFailure>(reading);
        }
        // A doubtful reading is read again at half size. The second reading only ever improves
        // the first: when it fails or runs out of time, the first stands; the lines only the
        // other reading found are kept either way.
        SecondReadingBudget budget(plane.width, plane.height);
        const GreyPlane* bestPlane = &plane;
        GreyPlane halvedPlane;
        if (IsReadAgainHalved(best->lines.empty(), best->confidence, plane.width, plane.height)) {
            halvedPlane = HalvedPlane(plane);
            budget.Take(std::uint64_t{halvedPlane.width} * halvedPlane.height);
            auto halved =
                ReadWhole(*engines_->Main(), halvedPlane, tesseract::PSM_SINGLE_BLOCK, deadline);
            if (auto* second = std::get_if<Reading>(&halved);
                second != nullptr && second->confidence > best->confidence) {
                ScaleLines(best->lines, 0.5F);
                second->lines = WithLinesFoundApart(std::move(second->lines), best->lines);
                *best = std::move(*second);
                inkLines = ScaledBoxes(inkLines, 0.5F);
                bestPlane = &halvedPlane;
                cut /= 2;
            }
        }
        const bool doubtfulPage = IsPageDoubtful(best->confidence);
        if (doubtfulPage) {
            // A doubtful page (a dialog of frames, list boxes and buttons, which break a block
            // apart) is read again as sparse text, in the bands of its first reading, outside the
            // budget of the crops: the Chinese re-reading of its lines still has to follow.
            ReadSparse(*bestPlane, cut, *best, deadline);
        }
        if (!ReadMissingAndDoubtfulLines(*bestPlane, inkLines, best->lines, budget, deadline) &&
            !doubtfulPage) {
            // Text inside a frame (a button) is not read in a crop cut at the frame; rather than
            // lose it, the page is read as sparse text, whole: a band cut between the ink's lines
            // may pass through the frames beside it, and lose the buttons read from the page.
            ReadSparse(*bestPlane, 0, *best, deadline);
        }
        ReadDoubtfulWordsAgain(*engines_, *bestPlane, best->lines, budget, deadline);
        return TextLinesOf(InCellOrder(WithEachPlaceOnce(std::move(best->lines))));
    }

  private:
    // The boxes of the text lines the layout analysis finds.
    std::vector<WordBox> LayoutLines(const GreyPlane& plane) {
        tesseract::TessBaseAPI& engine = *engines_->Main();
        engine.SetPageSegMode(tesseract::PSM_AUTO);
        SetPlane(engine, plane);
        const std::unique_ptr<tesseract::PageIterator> line(engine.AnalyseLayout());
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

    // The plane read in `mode`. Screenshots are rows of text: labels beside their fields, table
    // rows, buttons in a row; read as one block, they come out in that order. A reading that
    // passes the deadline is dropped whole: its words stop where the engine was stopped.
    static std::variant<Reading, RecognitionFailure> ReadWhole(tesseract::TessBaseAPI& engine,
                                                               const GreyPlane& plane,
                                                               tesseract::PageSegMode mode,
                                                               RecognitionDeadline& deadline) {
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
        }
        return reading;
    }

    // Two engines at once, each on its own band of rows, cut between two lines of the ink; an
    // image whose second engine does not start is read by one. Each band is read as the whole
    // image is, so the text is the one engine's text.
    std::variant<Reading, RecognitionFailure> ReadSplit(const GreyPlane& plane, std::uint32_t cut,
                                                        tesseract::PageSegMode mode,
                                                        RecognitionDeadline& deadline) {
        tesseract::TessBaseAPI* second = engines_->Second();
        if (second == nullptr) {
            return ReadWhole(*engines_->Main(), plane, mode, deadline);
        }
        const GreyPlane lower = Rows(plane, cut, plane.height);
        auto lowerReading = std::async(std::launch::async, [&, end = deadline.End()] {
            KeepRecognitionOnThisThread(threads_);
            RecognitionDeadline own(end);
            return ReadWhole(*second, lower, mode, own);
        });
        const GreyPlane upper = Rows(plane, 0, cut);
        auto upperReading = ReadWhole(*engines_->Main(), upper, mode, deadline);
        auto lowerResult = lowerReading.get();
        if (auto* failure = std::get_if<RecognitionFailure>(&upperReading)) {
            return *failure;
        }
        if (auto* failure = std::get_if<RecognitionFailure>(&lowerResult)) {
            return *failure;
        }
        return Joined(std::get<Reading>(std::move(upperReading)),
                      std::get<Reading>(std::move(lowerResult)), static_cast<int>(cut));
    }

    // The page read as sparse text, laid over `best`: the more confident reading's lines stand,
    // with the lines only the other found put in by position. A page the first reading cut at
    // row `cut` (0: not cut) is read the same way, by both engines at once.
    void ReadSparse(const GreyPlane& plane, std::uint32_t cut, Reading& best,
                    RecognitionDeadline& deadline) {
        auto reading =
            cut > 0 && cut < plane.height
                ? ReadSplit(plane, cut, tesseract::PSM_SPARSE_TEXT, deadline)
                : ReadWhole(*engines_->Main(), plane, tesseract::PSM_SPARSE_TEXT, deadline);
        auto* read = std::get_if<Reading>(&reading);
        if (read == nullptr || read->lines.empty()) {
            return;
        }
        Reading& sparse = *read;
        if (IsSparseReadingPreferred(sparse.confidence, best.confidence)) {
            sparse.lines = WithLinesFoundApart(std::move(sparse.lines), best.lines);
            best = std::move(sparse);
        } else {
            best.lines = WithLinesFoundApart(std::move(best.lines), sparse.lines);
        }
    }

    // One reading in `mode` of each crop of `plane`, words in the plane's coordinates; from two
    // crops on, the second engine reads every other crop at the same time. A crop the deadline
    // stops is left unread.
    std::vector<Reading> ReadCrops(const GreyPlane& plane, const std::vector<WordBox>& crops,
                                   tesseract::PageSegMode mode, RecognitionDeadline& deadline) {
        std::vector<Reading> readings(crops.size());
        const auto readEveryOther = [&](tesseract::TessBaseAPI& engine, std::size_t first,
                                        RecognitionDeadline& own) {
            engine.SetPageSegMode(mode);
            SetPlane(engine, plane);
            for (std::size_t i = first; i < crops.size(); i += 2) {
                const WordBox& crop = crops[i];
                engine.SetRectangle(crop.left, crop.top, crop.right - crop.left,
                                    crop.bottom - crop.top);
                if (own.Passed() || engine.Recognize(own.Monitor()) != 0 || own.Passed()) {
                    return;
                }
                readings[i].lines = RecognisedLines(engine);
                readings[i].confidence = readings[i].lines.empty() ? 0 : engine.MeanTextConf();
            }
        };
        tesseract::TessBaseAPI* second =
            crops.size() >= 2 && std::thread::hardware_concurrency() >= 2 ? engines_->Second()
                                                                          : nullptr;
        if (second == nullptr) {
            readEveryOther(*engines_->Main(), 0, deadline);
            readEveryOther(*engines_->Main(), 1, deadline);
            return readings;
        }
        auto odd = std::async(std::launch::async, [&, end = deadline.End()] {
            KeepRecognitionOnThisThread(threads_);
            RecognitionDeadline own(end);
            readEveryOther(*second, 1, own);
        });
        readEveryOther(*engines_->Main(), 0, deadline);
        odd.get();
        return readings;
    }

    // The second readings of whole lines, within the budget, missing ones first. Each piece of
    // an ink line that no word read meets is read as a crop, and its lines are put in by
    // position: the engine's layout analysis passes over whole lines (a second line below a
    // first at some sizes, rows of a tall table), which the same analysis cannot notice. Each
    // doubtful line is read again as sparse text in a crop and replaced by a better reading.
    // False when a missed piece stays unread: its crop gave no words, or the budget ran out; a
    // lone glyph that its crop reads as nothing is taken for the mark it is.
    bool ReadMissingAndDoubtfulLines(const GreyPlane& plane, const std::vector<WordBox>& inkLines,
                                     std::vector<ReadLine>& lines, SecondReadingBudget& budget,
                                     RecognitionDeadline& deadline) {
        bool allRead = true;
        std::vector<WordBox> missing;
        std::vector<bool> missingGlyph;  // for each missing crop, whether it holds one glyph
        for (const WordBox& piece : MissedPieces(inkLines, lines)) {
            if (const WordBox crop = CropOf(piece, plane); !IsEmpty(crop)) {
                if (budget.Take(crop)) {
                    missing.push_back(crop);
                    missingGlyph.push_back(IsLoneGlyph(piece));
                } else {
                    allRead = false;
                }
            }
        }
        std::vector<ReadLine*> doubtful;
        std::vector<WordBox> doubtfulCrops;
        for (ReadLine& line : lines) {
            if (const WordBox crop = CropOf(WithInkItMeets(BoxOf(line), inkLines), plane);
                IsLineDoubtful(line) && !IsEmpty(crop) && budget.Take(crop)) {
                doubtful.push_back(&line);
                doubtfulCrops.push_back(crop);
            }
        }
        std::vector<Reading> again =
            ReadCrops(plane, doubtfulCrops, tesseract::PSM_SPARSE_TEXT, deadline);
        std::vector<ReadLine> readAgain;
        for (std::size_t i = 0; i < doubtful.size(); ++i) {
            // Only the words in the line's own row: the crop may reach into its neighbours.
            const WordBox row = BoxOf(*doubtful[i]);
            ReadLine words;
            for (ReadLine& part : again[i].lines) {
                std::copy_if(part.begin(), part.end(), std::back_inserter(words),
                             [&](const ReadWord& word) {
                                 const int middle = (word.box.top + word.box.bottom) / 2;
                                 return row.top <= middle && middle < row.bottom;
                             });
            }
            // The crop may read the line's neighbours in its row again (the cells of a table's
            // row): the reading replaces what it covers when every line it covers lies in the
            // row and it is better than all of them; otherwise only the line.
            if (!IsLineReadingBetter(words, *doubtful[i])) {
                continue;
            }
            if (IsReadingOfOneRow(lines, words, row) &&
                IsLineReadingBetter(words, WordsUnder(lines, words))) {
                readAgain.push_back(std::move(words));
            } else {
                *doubtful[i] = std::move(words);
            }
        }
        for (ReadLine& words : readAgain) {
            lines = WithRegionReadAgain(std::move(lines), std::move(words));
        }
        std::vector<Reading> found =
            ReadCrops(plane, missing, tesseract::PSM_SPARSE_TEXT, deadline);
        for (std::size_t i = 0; i < found.size(); ++i) {
            std::erase_if(found[i].lines, IsMarkLine);
            allRead = allRead && (!found[i].lines.empty() || missingGlyph[i]);
            DropMarksUnder(lines, found[i].lines);
            lines = WithLinesFoundApart(std::move(lines), found[i].lines);
        }
        return allRead;
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
