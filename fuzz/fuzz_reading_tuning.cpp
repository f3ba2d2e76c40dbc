// The tuning file's parser must never read out of bounds, and whatever it accepts must leave the
// table usable: no ratio over zero, no negative margin, every decimal a finite number.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "glyphsnap/recognition/tesseract/layout/reading_tuning.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const glyphsnap::ReadingTuning tuning = glyphsnap::TuningWithOverrides(text);
    for (const glyphsnap::Ratio& ratio :
         {tuning.ideographicReach,   tuning.reachingBelow,     tuning.sameInkShare,
          tuning.tallWordShare,      tuning.roomLeftShare,     tuning.alignedShare,
          tuning.leastRowPitchShare, tuning.sideBySideShare,   tuning.runningTextPitch,
          tuning.rowMarginShare,     tuning.shortestTextMark,  tuning.tallestTextMark,
          tuning.fieldFillShare,     tuning.pieceEnd,          tuning.underscoreFill,
          tuning.underscoreTop,      tuning.underscoreGapEdge, tuning.underscoreDepth,
          tuning.underscoreOverhang, tuning.widestUnderscore,  tuning.boxSideFill,
          tuning.boxInsideFill}) {
        if (ratio.denominator <= 0 || ratio.numerator < 0) {
            std::abort();
        }
    }
    for (const int value :
         {tuning.doubtfulHalvedConfidence, tuning.doubtfulPageConfidence,
          tuning.sparseReadingMargin, tuning.cropMargin, tuning.inkDifference,
          tuning.frameInkDifference, tuning.leastGutterWordGaps, tuning.leastRowMargin}) {
        if (value < 0) {
            std::abort();
        }
    }
    for (const float value :
         {tuning.doubtfulLineConfidence, tuning.betterLineMargin, tuning.doubtfulWordConfidence,
          tuning.leastIdeographicConfidence, tuning.readableLineHeight, tuning.largestEnlargement,
          tuning.smallestEnlargement, tuning.shortestRuleAcross, tuning.shortestRuleDown,
          tuning.widestLoneGlyph, tuning.markConfidence}) {
        if (!std::isfinite(value) || value < 0) {
            std::abort();
        }
    }
    return 0;
}
