#include "glyphsnap/recognition/tesseract/engine/engine_reading.h"

#include <tesseract/resultiterator.h>

#include <memory>

#include "glyphsnap/recognition/tesseract/layout/reading_policy.h"
#include "glyphsnap/text/utf.h"

namespace glyphsnap {

void SetPlane(tesseract::TessBaseAPI& engine, const GreyPlane& plane) {
    engine.SetImage(plane.levels.data(), static_cast<int>(plane.width),
                    static_cast<int>(plane.height), 1, static_cast<int>(plane.width));
}

std::vector<ReadLine> RecognisedLines(tesseract::TessBaseAPI& engine) {
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
        const bool lineStarts = pageOrder
                                    ? onPage.PageIterator::IsAtBeginningOf(tesseract::RIL_TEXTLINE)
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

}  // namespace glyphsnap
