#include "glyphsnap/recognition/image/decode_jpeg.h"

// jpeglib.h needs FILE and size_t declared before it.
#include <csetjmp>
#include <cstddef>
#include <cstdio>

#include <jerror.h>
#include <jpeglib.h>

namespace glyphsnap {
namespace {

// libjpeg ends a failed decode through error_exit, which must not return; it jumps back to the
// decoding function, whose frame holds nothing with a destructor.
struct QuietErrors {
    jpeg_error_mgr manager{};  // first: libjpeg hands back a pointer to it
    std::jmp_buf failed{};
    bool endedEarly = false;
};

struct ScanCounter {
    jpeg_progress_mgr manager{};  // first, likewise
    j_decompress_ptr decoder = nullptr;
};

QuietErrors& ErrorsOf(j_common_ptr info) {
    return *reinterpret_cast<QuietErrors*>(info->err);
}

[[noreturn]] void JumpOut(j_common_ptr info) {
    std::longjmp(ErrorsOf(info).failed, 1);
}

void NoteWarning(j_common_ptr info, int level) {
    if (level < 0) {
        ++info->err->num_warnings;
        if (info->err->msg_code == JWRN_JPEG_EOF) {
            ErrorsOf(info).endedEarly = true;
        }
    }
}

void PrintNothing(j_common_ptr /*info*/) {}

void CountScans(j_common_ptr info) {
    const auto* counter = reinterpret_cast<const ScanCounter*>(info->progress);
    if (counter->decoder->input_scan_number > kMaxJpegScans) {
        JumpOut(info);
    }
}

std::uint8_t Scaled(unsigned a, unsigned b) {
    return static_cast<std::uint8_t>((a * b + 127) / 255);
}

// Copies one decoded row into the image. CMYK from Adobe's encoders is stored inverted, which
// makes the conversion a product; other CMYK is stored as it is.
void StoreRow(const JSAMPLE* row, j_decompress_ptr decoder, l_uint32* line) {
    const auto width = decoder->output_width;
    switch (decoder->out_color_space) {
        case JCS_GRAYSCALE:
            for (JDIMENSION x = 0; x < width; ++x) {
                SET_DATA_BYTE(line, x, row[x]);
            }
            break;
        case JCS_CMYK:
            for (JDIMENSION x = 0; x < width; ++x, row += 4) {
                const bool inverted = decoder->saw_Adobe_marker != 0;
                const unsigned c = inverted ? row[0] : 255u - row[0];
                const unsigned m = inverted ? row[1] : 255u - row[1];
                const unsigned y = inverted ? row[2] : 255u - row[2];
                const unsigned k = inverted ? row[3] : 255u - row[3];
                line[x] = (l_uint32{Scaled(c, k)} << L_RED_SHIFT) |
                          (l_uint32{Scaled(m, k)} << L_GREEN_SHIFT) |
                          (l_uint32{Scaled(y, k)} << L_BLUE_SHIFT);
            }
            break;
        default:
            for (JDIMENSION x = 0; x < width; ++x, row += 3) {
                line[x] = (l_uint32{row[0]} << L_RED_SHIFT) | (l_uint32{row[1]} << L_GREEN_SHIFT) |
                          (l_uint32{row[2]} << L_BLUE_SHIFT);
            }
            break;
    }
}

}  // namespace

UniquePix DecodeJpeg(std::span<const std::uint8_t> bytes) {
    jpeg_decompress_struct decoder{};
    QuietErrors errors{};
    decoder.err = jpeg_std_error(&errors.manager);
    errors.manager.error_exit = JumpOut;
    errors.manager.emit_message = NoteWarning;
    errors.manager.output_message = PrintNothing;
    ScanCounter counter{};
    counter.manager.progress_monitor = CountScans;
    counter.decoder = &decoder;

    Pix* volatile pix = nullptr;
    if (setjmp(errors.failed) != 0) {
        jpeg_destroy_decompress(&decoder);
        Pix* lost = pix;
        pixDestroy(&lost);
        return nullptr;
    }
    jpeg_create_decompress(&decoder);
    decoder.progress = &counter.manager;
    jpeg_mem_src(&decoder, bytes.data(), static_cast<unsigned long>(bytes.size()));
    (void)jpeg_read_header(&decoder, TRUE);
    switch (decoder.jpeg_color_space) {
        case JCS_GRAYSCALE:
            decoder.out_color_space = JCS_GRAYSCALE;
            break;
        case JCS_CMYK:
        case JCS_YCCK:
            decoder.out_color_space = JCS_CMYK;
            break;
        default:
            decoder.out_color_space = JCS_RGB;
            break;
    }
    jpeg_start_decompress(&decoder);
    pix = pixCreate(static_cast<l_int32>(decoder.output_width),
                    static_cast<l_int32>(decoder.output_height),
                    decoder.out_color_space == JCS_GRAYSCALE ? 8 : 32);
    if (pix == nullptr) {
        JumpOut(reinterpret_cast<j_common_ptr>(&decoder));
    }
    JSAMPARRAY row = (*decoder.mem->alloc_sarray)(
        reinterpret_cast<j_common_ptr>(&decoder), JPOOL_IMAGE,
        decoder.output_width * static_cast<JDIMENSION>(decoder.output_components), 1);
    l_uint32* const data = pixGetData(pix);
    const auto wordsPerLine = static_cast<std::size_t>(pixGetWpl(pix));
    while (decoder.output_scanline < decoder.output_height) {
        const JDIMENSION y = decoder.output_scanline;
        (void)jpeg_read_scanlines(&decoder, row, 1);
        StoreRow(row[0], &decoder, data + y * wordsPerLine);
    }
    if (errors.endedEarly) {
        JumpOut(reinterpret_cast<j_common_ptr>(&decoder));
    }
    (void)jpeg_finish_decompress(&decoder);
    jpeg_destroy_decompress(&decoder);
    return UniquePix(pix);
}

}  // namespace glyphsnap
