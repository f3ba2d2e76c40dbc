#include <chrono>
#include <cstdint>
#include <memory>
#include <mutex>
#include <optional>
#include <utility>
#include <variant>
#include <vector>

#include "glyphsnap/recognition/tesseract/engine/engine.h"
#include "glyphsnap/recognition/tesseract/engine/engine_cache.h"
#include "glyphsnap/recognition/tesseract/engine/recognition_deadline.h"
#include "glyphsnap/recognition/tesseract/layout/access_keys.h"
#include "glyphsnap/recognition/tesseract/layout/cell_order.h"
#include "glyphsnap/recognition/tesseract/layout/reading_policy.h"
#include "glyphsnap/recognition/tesseract/layout/underscores.h"
#include "glyphsnap/recognition/tesseract/layout/words.h"
#include "glyphsnap/recognition/tesseract/passes/page_preparation.h"
#include "glyphsnap/recognition/tesseract/passes/page_state.h"
#include "glyphsnap/recognition/tesseract/passes/pass_doubtful_ideographs.h"
#include "glyphsnap/recognition/tesseract/passes/pass_doubtful_words.h"
#include "glyphsnap/recognition/tesseract/passes/pass_first_reading.h"
#include "glyphsnap/recognition/tesseract/passes/pass_halved.h"
#include "glyphsnap/recognition/tesseract/passes/pass_missed_and_doubtful_lines.h"
#include "glyphsnap/recognition/tesseract/passes/pass_ruled_tables.h"
#include "glyphsnap/recognition/tesseract/passes/pass_sparse.h"

namespace glyphsnap {
namespace {

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

    // The page is read first as one block, its ruled tables left out; a doubtful page is read
    // again at half size; the tables are read cell by cell. The second readings then only ever
    // improve what was read: a doubtful page (a dialog of frames, list boxes and buttons, which
    // break a block apart) as sparse text in the bands of its first reading, outside the budget
    // of the crops, since the Chinese re-reading still has to follow; crops of the pieces of ink
    // no word meets and of the lines it doubts; the whole page as sparse text when a missed piece
    // wider than a glyph and outside the tables stays unread (a button's text inside its frame,
    // which a crop cut at the frame does not read, and which a band cut between the ink's lines
    // may pass through); in a Chinese profile its doubtful Latin words, and on a doubtful page the
    // lines with doubtful ideographs at two other sizes. Words the engine took
    // apart at an underscore are joined again, the lines of a table row with a wrapped cell
    // are put in the order of the page, and access keys read as `{D)` come back as `(D)` last.
    std::variant<std::vector<OcrLine>, RecognitionFailure> Recognize(
        const BgraBitmap& bitmap) override {
        if (bitmap.width == 0 || bitmap.height == 0) {
            return std::vector<OcrLine>{};  // no room for text
        }
        KeepRecognitionOnThisThread(threads_);
        RecognitionDeadline deadline(timeLimit_);
        PageState page = PreparedPage(bitmap, Readers{*engines_, threads_, deadline});
        if (const std::optional<RecognitionFailure> failure = ReadFirst(page)) {
            return *failure;
        }
        if (IsReadAgainHalved(page.reading.lines.empty(), page.reading.confidence, page.plane.width,
                              page.plane.height)) {
            ReadHalved(page);
        }
        ReadRuledTables(page);
        const bool doubtfulPage = IsPageDoubtful(page.reading.confidence);
        if (doubtfulPage) {
            ReadSparse(page, SparseBands::AsFirstReading);
        }
        if (!ReadMissedAndDoubtfulLines(page) && !doubtfulPage) {
            ReadSparse(page, SparseBands::None);
        }
        ReadDoubtfulWordsAgain(page);
        if (doubtfulPage) {
            ReadDoubtfulIdeographsAgain(page);
        }
        // The cell order measures gutters and rows in the pixels the lines were read in.
        return TextLinesOf(WithAccessKeysInParentheses(InCellOrder(WithUnderscoresInGaps(
            WithEachPlaceOnce(AtReadingScale(page, std::move(page.reading.lines))),
            ReadingPlane(page)))));
    }

  private:
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
