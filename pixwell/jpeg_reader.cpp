#include "pixwell/jpeg_reader.h"

#include <csetjmp>
#include <cstdio>
#include <cstring>

#include <jpeglib.h>

#include "pixwell/dib_layout.h"
#include "pixwell/dib_memory.h"

namespace {

// libjpeg reports errors by calling error_exit, which must not return; it
// jumps back to the decoder's frame. Nothing with a destructor lives in the
// frames it jumps over (libjpeg's own and DecodeInto's).
struct TJumpingErrors {
    jpeg_error_mgr Base;
    std::jmp_buf Escape;
};

[[noreturn]] void JumpOnError(j_common_ptr common) {
    std::longjmp(reinterpret_cast<TJumpingErrors*>(common->err)->Escape, 1);
}

// Level -1 is a warning: libjpeg fills missing or corrupt data with grey
// and carries on, which would pass a damaged picture off as whole.
void JumpOnWarning(j_common_ptr common, int level) {
    if (level < 0) JumpOnError(common);
}

void Silent(j_common_ptr) {}

struct TJpegDecoding {
    jpeg_decompress_struct Decompress;
    TJumpingErrors Errors;
    TDIB* Dib;
};

void StoreRow(const JSAMPLE* source, int components, JDIMENSION width, uint8_t* target) {
    for (JDIMENSION x = 0; x < width; ++x, source += components, target += 3) {
        if (components == 1) {
            target[0] = target[1] = target[2] = source[0];
        } else {
            target[0] = source[2];
            target[1] = source[1];
            target[2] = source[0];
        }
    }
}

// Holds only plain data: longjmp lands in this frame.
bool DecodeInto(TJpegDecoding& state, const uint8_t* data, size_t size) {
    jpeg_decompress_struct& info = state.Decompress;
    info.err = jpeg_std_error(&state.Errors.Base);
    state.Errors.Base.error_exit = JumpOnError;
    state.Errors.Base.emit_message = JumpOnWarning;
    state.Errors.Base.output_message = Silent;
    if (setjmp(state.Errors.Escape)) {
        jpeg_destroy_decompress(&info);
        return false;
    }
    jpeg_create_decompress(&info);
    jpeg_mem_src(&info, data, static_cast<unsigned long>(size));
    if (jpeg_read_header(&info, TRUE) != JPEG_HEADER_OK) {
        jpeg_destroy_decompress(&info);
        return false;
    }
    switch (info.jpeg_color_space) {
    case JCS_GRAYSCALE: info.out_color_space = JCS_GRAYSCALE; break;
    case JCS_YCbCr:
    case JCS_RGB: info.out_color_space = JCS_RGB; break;
    default: jpeg_destroy_decompress(&info); return false;
    }
    const int64_t width = info.image_width;
    const int64_t height = info.image_height;
    if (width > kMaxDimension || height > kMaxDimension || RowBytes(width, 24) * height > kMaxPixelBytes) {
        jpeg_destroy_decompress(&info);
        return false;
    }

    jpeg_start_decompress(&info);
    const int components = info.output_components;
    if ((components != 1 && components != 3) || info.output_width != width || info.output_height != height ||
        !CreateImage(*state.Dib, static_cast<int32_t>(width), static_cast<int32_t>(height), 24, nullptr, 0)) {
        jpeg_destroy_decompress(&info);
        return false;
    }
    JSAMPARRAY line = (*info.mem->alloc_sarray)(reinterpret_cast<j_common_ptr>(&info), JPOOL_IMAGE,
                                                info.output_width * components, 1);
    auto* bits = static_cast<uint8_t*>(state.Dib->Bits);
    while (info.output_scanline < info.output_height) {
        const JDIMENSION top = info.output_scanline;
        if (jpeg_read_scanlines(&info, line, 1) != 1) {
            jpeg_destroy_decompress(&info);
            return false;
        }
        StoreRow(line[0], components, info.output_width, bits + (height - 1 - top) * state.Dib->BytesPerLine);
    }
    jpeg_finish_decompress(&info);
    jpeg_destroy_decompress(&info);
    return true;
}

}  // namespace

bool LooksLikeJpeg(const uint8_t* data, size_t size) {
    return size >= 3 && data[0] == 0xFF && data[1] == 0xD8 && data[2] == 0xFF;
}

bool DecodeJpeg(const uint8_t* data, size_t size, TDIB& dib) {
    std::memset(&dib, 0, sizeof dib);
    if (!LooksLikeJpeg(data, size)) return false;
    TJpegDecoding state{};
    state.Dib = &dib;
    if (DecodeInto(state, data, size)) return true;
    void* palette = nullptr;
    ReleaseImage(dib.Info, palette);
    std::memset(&dib, 0, sizeof dib);
    return false;
}
