#include "glyphsnap/recognition/tesseract/layout/words.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <iterator>
#include <optional>
#include <utility>

#include "glyphsnap/recognition/tesseract/layout/reading_tuning.h"

namespace glyphsnap {
namespace {

bool IsIdeograph(char16_t c) {
    return (c >= 0x3040 && c <= 0x30FF) ||  // kana
           (c >= 0x3400 && c <= 0x9FFF) ||  // CJK ideographs, extension A
           (c >= 0xAC00 && c <= 0xD7A3) ||  // Hangul syllables
           (c >= 0xF900 && c <= 0xFAFF) ||  // compatibility ideographs
           (c >= 0xD840 && c <= 0xD87F);    // lead surrogates of the supplementary ideographs
}

bool IsLetterOrDigit(char16_t c) {
    return (c >= u'0' && c <= u'9') || (c >= u'A' && c <= u'Z') || (c >= u'a' && c <= u'z') ||
           (c >= 0x00C0 && c <= 0x024F && c != 0x00D7 && c != 0x00F7) ||  // Latin letters
           (c >= 0x0370 && c <= 0x052F) ||                                // Greek, Cyrillic
           (c >= 0xFF10 && c <= 0xFF19) || (c >= 0xFF21 && c <= 0xFF3A) ||
           (c >= 0xFF41 && c <= 0xFF5A);  // full-width digits and letters
}

bool IsSpace(char16_t c) {
    return c == u' ' || c == u'\t' || c == u'\r' || c == u'\n' || c == 0x00A0 || c == 0x3000;
}

bool Blank(std::u16string_view text) {
    return std::all_of(text.begin(), text.end(), IsSpace);
}

bool Mark(std::u16string_view text) {
    return std::none_of(text.begin(), text.end(),
                        [](char16_t c) { return IsLetterOrDigit(c) || IsIdeograph(c); });
}

// What frames, list boxes and the edges of buttons are read as at the end of a line.
bool FrameMark(std::u16string_view text) {
    constexpr std::u16string_view kFrameParts = u"|[]{}_~`'\"\u2018\u2019\u201C\u201D\u00AB\u00BB";
    return !text.empty() && std::all_of(text.begin(), text.end(), [&](char16_t c) {
        return kFrameParts.find(c) != std::u16string_view::npos;
    });
}

// Whether a mark is a glyph of its line's text (a brace, a bracket, the slashes of a comment in
// code) rather than a bullet, a checkbox or a frame's edge: it is about as tall as the line's
// words, where a bullet is smaller and a frame's edge runs past the text above and below; and it
// holds no upright or flat stroke, which is what the sunken edges of a checkbox beside its label
// are read as (`[|`, `_|`).
bool IsGlyphOfItsText(const ReadWord& mark, const ReadLine& line) {
    if (mark.text.find_first_of(u"|_") != std::u16string::npos) {
        return false;
    }
    std::vector<int> heights;
    for (const ReadWord& word : line) {
        if (!Mark(word.text) && word.box.bottom > word.box.top) {
            heights.push_back(word.box.bottom - word.box.top);
        }
    }
    const int textHeight = MedianOf(std::move(heights));
    const int height = mark.box.bottom - mark.box.top;
    return textHeight > 0 && Tuning().shortestTextMark.AtLeast(height, textHeight) &&
           Tuning().tallestTextMark.AtMost(height, textHeight);
}

}  // namespace

std::int64_t AreaOf(const WordBox& box) {
    return std::int64_t{std::max(0, box.right - box.left)} * std::max(0, box.bottom - box.top);
}

bool BoxesMeet(const WordBox& a, const WordBox& b) {
    return a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom;
}

bool IsMoreThanAMark(const ReadWord& word) {
    return !Mark(word.text) &&
           (word.confidence >= Tuning().markConfidence || HoldsIdeograph(word.text));
}

bool CoversWordsOf(const ReadLine& other, const ReadLine& line) {
    return std::all_of(line.begin(), line.end(), [&](const ReadWord& word) {
        return !IsMoreThanAMark(word) ||
               std::any_of(other.begin(), other.end(),
                           [&](const ReadWord& mine) { return BoxesMeet(word.box, mine.box); });
    });
}

bool IsMarkBesideText(const ReadWord& word, const ReadLine& line) {
    return Mark(word.text) && !IsGlyphOfItsText(word, line);
}

bool IsMarkLine(const ReadLine& line) {
    return std::all_of(line.begin(), line.end(),
                       [](const ReadWord& word) { return Mark(word.text); });
}

bool HoldsIdeograph(std::u16string_view text) {
    return std::any_of(text.begin(), text.end(), IsIdeograph);
}

std::size_t IdeographsIn(const ReadLine& words) {
    std::size_t count = 0;
    for (const ReadWord& word : words) {
        count += static_cast<std::size_t>(
            std::count_if(word.text.begin(), word.text.end(), IsIdeograph));
    }
    return count;
}

int MedianOf(std::vector<int> values) {
    if (values.empty()) {
        return 0;
    }
    const auto middle = values.begin() + static_cast<std::ptrdiff_t>(values.size() / 2);
    std::nth_element(values.begin(), middle, values.end());
    return *middle;
}

WordBox BoxOf(const ReadLine& line) {
    if (line.empty()) {
        return {};
    }
    WordBox box = line.front().box;
    for (const ReadWord& word : line) {
        box.left = std::min(box.left, word.box.left);
        box.top = std::min(box.top, word.box.top);
        box.right = std::max(box.right, word.box.right);
        box.bottom = std::max(box.bottom, word.box.bottom);
    }
    return box;
}

float MeanConfidence(const ReadLine& line) {
    float sum = 0;
    for (const ReadWord& word : line) {
        sum += word.confidence;
    }
    return line.empty() ? 0 : sum / static_cast<float>(line.size());
}

std::vector<WordBox> ScaledBoxes(const std::vector<WordBox>& boxes, float factor) {
    std::vector<WordBox> scaled;
    scaled.reserve(boxes.size());
    const auto times = [&](int value) {
        return static_cast<int>(static_cast<float>(value) * factor);
    };
    for (const WordBox& box : boxes) {
        scaled.push_back({times(box.left), times(box.top), times(box.right), times(box.bottom)});
    }
    return scaled;
}

std::optional<std::uint32_t> CutBetweenLines(const std::vector<WordBox>& lines,
                                             std::uint32_t height,
                                             const std::vector<std::uint8_t>& framedRows) {
    std::vector<WordBox> sorted = lines;
    std::sort(sorted.begin(), sorted.end(),
              [](const WordBox& a, const WordBox& b) { return a.top < b.top; });
    // Where each prefix ends at the lowest: a cut after line k must pass below all of them.
    std::vector<int> lowest(sorted.size());
    for (std::size_t k = 0; k < sorted.size(); ++k) {
        lowest[k] = std::max(k == 0 ? sorted[k].bottom : lowest[k - 1], sorted[k].bottom);
    }
    std::optional<std::uint32_t> best;
    std::size_t bestDistance = sorted.size();
    const std::size_t middle = sorted.size() / 2;
    for (std::size_t k = 1; k < sorted.size(); ++k) {
        if (lowest[k - 1] < sorted[k].top) {
            const std::size_t distance = k > middle ? k - middle : middle - k;
            const int row = (lowest[k - 1] + sorted[k].top) / 2;
            const bool framed = static_cast<std::size_t>(row) < framedRows.size() &&
                                framedRows[static_cast<std::size_t>(row)] != 0;
            if (distance < bestDistance && row > 0 && static_cast<std::uint32_t>(row) < height &&
                !framed) {
                best = static_cast<std::uint32_t>(row);
                bestDistance = distance;
            }
        }
    }
    return best;
}

bool MeetsAWordOf(const std::vector<ReadLine>& lines, const ReadLine& line) {
    return std::any_of(lines.begin(), lines.end(), [&](const ReadLine& other) {
        return std::any_of(other.begin(), other.end(), [&](const ReadWord& word) {
            return std::any_of(line.begin(), line.end(),
                               [&](const ReadWord& mine) { return BoxesMeet(word.box, mine.box); });
        });
    });
}

std::vector<ReadLine> WithLinesFoundApart(std::vector<ReadLine> lines,
                                          const std::vector<ReadLine>& other) {
    std::vector<ReadLine> apart;
    for (const ReadLine& candidate : other) {
        if (!candidate.empty() && !MeetsAWordOf(lines, candidate)) {
            apart.push_back(candidate);
        }
    }
    for (ReadLine& line : apart) {
        const WordBox box = BoxOf(line);
        const int middle = (box.top + box.bottom) / 2;
        // Before the first line below it, or beside it in its row and further right.
        const auto after = std::find_if(lines.begin(), lines.end(), [&](const ReadLine& kept) {
            if (kept.empty()) {
                return false;
            }
            const WordBox keptBox = BoxOf(kept);
            return keptBox.top > middle || (middle < keptBox.bottom && keptBox.left > box.left);
        });
        lines.insert(after, std::move(line));
    }
    return lines;
}

bool HoldSameInk(const WordBox& a, const WordBox& b) {
    const WordBox shared{std::max(a.left, b.left), std::max(a.top, b.top),
                         std::min(a.right, b.right), std::min(a.bottom, b.bottom)};
    const std::int64_t smaller = std::min(AreaOf(a), AreaOf(b));
    return smaller > 0 && Tuning().sameInkShare.AtLeast(AreaOf(shared), smaller);
}

namespace {

bool HoldsInkOf(const ReadLine& line, const ReadWord& word) {
    return std::any_of(line.begin(), line.end(),
                       [&](const ReadWord& other) { return HoldSameInk(other.box, word.box); });
}

// Whether `mark` lies on the ink of a word (not a mark) of a line of `lines` other than `own`.
bool LiesOnAnotherLinesWord(const std::vector<ReadLine>& lines, const ReadLine& own,
                            const ReadWord& mark) {
    return std::any_of(lines.begin(), lines.end(), [&](const ReadLine& line) {
        return &line != &own && std::any_of(line.begin(), line.end(), [&](const ReadWord& word) {
            return !Mark(word.text) && HoldSameInk(word.box, mark.box);
        });
    });
}

// Whether every word is upright strokes alone: the edge of a button or field beside the text,
// which the frame removal left where it stands apart from any stroke across.
bool IsUprightStrokesAlone(const std::vector<std::u16string>& words) {
    return std::all_of(words.begin(), words.end(), [](const std::u16string& word) {
        return word.find_first_not_of(u'|') == std::u16string::npos;
    });
}

}  // namespace

ReadLine WordsUnder(const std::vector<ReadLine>& lines, const ReadLine& again) {
    ReadLine under;
    for (const ReadLine& line : lines) {
        std::copy_if(line.begin(), line.end(), std::back_inserter(under),
                     [&](const ReadWord& word) { return HoldsInkOf(again, word); });
    }
    return under;
}

std::vector<ReadLine> WithRegionReadAgain(std::vector<ReadLine> lines, ReadLine again) {
    std::vector<ReadLine> kept;
    std::optional<std::size_t> place;  // where `again` goes among the kept lines
    for (ReadLine& line : lines) {
        const std::size_t before = line.size();
        std::erase_if(line, [&](const ReadWord& word) { return HoldsInkOf(again, word); });
        if (line.size() < before && !place) {
            place = kept.size();
        }
        if (!line.empty()) {
            kept.push_back(std::move(line));
        }
    }
    if (!again.empty()) {
        kept.insert(kept.begin() + static_cast<std::ptrdiff_t>(place.value_or(kept.size())),
                    std::move(again));
    }
    return kept;
}

std::vector<ReadLine> WithEachPlaceOnce(std::vector<ReadLine> lines) {
    // A mark read on a word's ink (the dots a reading finds on the baseline of a word another line
    // holds) goes first, whichever line comes first: it never takes the word's place.
    for (ReadLine& line : lines) {
        std::erase_if(line, [&](const ReadWord& word) {
            return Mark(word.text) && LiesOnAnotherLinesWord(lines, line, word);
        });
    }
    std::vector<ReadLine> kept;
    for (ReadLine& line : lines) {
        std::erase_if(line, [&](const ReadWord& word) {
            return std::any_of(kept.begin(), kept.end(),
                               [&](const ReadLine& earlier) { return HoldsInkOf(earlier, word); });
        });
        if (!line.empty()) {
            kept.push_back(std::move(line));
        }
    }
    return kept;
}

namespace {

// A word of Latin letters alone between two words holding ideographs: a Latin name in running
// Chinese text, which the mixed model rates low; a mark (a checkbox, an icon) is no word of
// letters, nor stands amid a line's text.
bool IsLatinWordAmidIdeographs(const ReadLine& line, std::size_t i) {
    const std::u16string& text = line[i].text;
    return i > 0 && i + 1 < line.size() && HoldsIdeograph(line[i - 1].text) &&
           HoldsIdeograph(line[i + 1].text) && !text.empty() &&
           std::all_of(text.begin(), text.end(), [](char16_t c) {
               return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z');
           });
}

// Whether the box of a word lies over another's by more than the pixel or two by which the boxes
// of words side by side touch: by a share of its width.
bool IsReadOver(const WordBox& word, const WordBox& other) {
    const int shared = std::min(word.right, other.right) - std::max(word.left, other.left);
    return BoxesMeet(word, other) &&
           Tuning().readOverShare.AtLeast(shared, std::int64_t{word.right} - word.left);
}

}  // namespace

std::vector<OcrLine> TextLinesOf(const std::vector<ReadLine>& lines) {
    std::vector<OcrLine> kept;
    for (const ReadLine& line : lines) {
        OcrLine text;
        for (std::size_t i = 0; i < line.size(); ++i) {
            const ReadWord& word = line[i];
            const bool doubtful = word.confidence < Tuning().markConfidence &&
                                  word.text.size() <= Tuning().longestMark &&
                                  !HoldsIdeograph(word.text) && !IsLatinWordAmidIdeographs(line, i);
            const bool leadingMark =
                text.words.empty() && i + 1 < line.size() && IsMarkBesideText(word, line);
            const bool trailingFrame = i + 1 == line.size() && i > 0 && FrameMark(word.text) &&
                                       !IsGlyphOfItsText(word, line);
            const bool readTwice =
                word.confidence < Tuning().markConfidence && !HoldsIdeograph(word.text) &&
                std::any_of(line.begin(), line.end(), [&](const ReadWord& other) {
                    return &other != &word && other.confidence > word.confidence &&
                           HoldsIdeograph(other.text) && IsReadOver(word.box, other.box);
                });
            if (Blank(word.text) || doubtful || leadingMark || trailingFrame || readTwice) {
                continue;
            }
            text.words.push_back(word.text);
        }
        if (!text.words.empty() && !IsUprightStrokesAlone(text.words)) {
            kept.push_back(std::move(text));
        }
    }
    return kept;
}

}  // namespace glyphsnap
