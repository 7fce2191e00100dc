#include "classlib/graphics/jpeg_codec.h"

#include <csetjmp>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include <jpeglib.h>
#include <jerror.h>

namespace {

constexpr size_t kMaxPixelBytes = 256u * 1024 * 1024;

struct TErrorManager {
    jpeg_error_mgr pub;
    jmp_buf jump;
    TJpegError* error;
};

void ErrorExit(j_common_ptr cinfo) {
    auto* manager = reinterpret_cast<TErrorManager*>(cinfo->err);
    manager->error->code = cinfo->err->msg_code;
    (*cinfo->err->format_message)(cinfo, manager->error->message);
    longjmp(manager->jump, 1);
}

// Warnings (recoverable data errors) are counted by libjpeg, not printed.
void OutputMessage(j_common_ptr) {}

void InitErrors(TErrorManager& manager, TJpegError* error) {
    jpeg_std_error(&manager.pub);
    manager.pub.error_exit = ErrorExit;
    manager.pub.output_message = OutputMessage;
    manager.error = error;
}

// The whole file is in memory; asking for more means it was cut short,
// which is an error (libjpeg's own memory source would pretend an end).
void InitSource(j_decompress_ptr) {}
boolean FillInputBuffer(j_decompress_ptr cinfo) {
    ERREXIT(cinfo, JERR_INPUT_EOF);
    return FALSE;
}
void SkipInputData(j_decompress_ptr cinfo, long count) {
    if (count <= 0) return;
    if (static_cast<size_t>(count) > cinfo->src->bytes_in_buffer) ERREXIT(cinfo, JERR_INPUT_EOF);
    cinfo->src->next_input_byte += count;
    cinfo->src->bytes_in_buffer -= static_cast<size_t>(count);
}
void TermSource(j_decompress_ptr) {}

void SetSource(j_decompress_ptr cinfo, jpeg_source_mgr* source, const uint8_t* data, size_t size) {
    source->init_source = InitSource;
    source->fill_input_buffer = FillInputBuffer;
    source->skip_input_data = SkipInputData;
    source->resync_to_restart = jpeg_resync_to_restart;
    source->term_source = TermSource;
    source->next_input_byte = data;
    source->bytes_in_buffer = size;
    cinfo->src = source;
}

struct TDestination {
    jpeg_destination_mgr pub;
    TJpegBuffer* output;
    size_t capacity;
};

void InitDestination(j_compress_ptr cinfo) {
    auto* d = reinterpret_cast<TDestination*>(cinfo->dest);
    d->capacity = 64 * 1024;
    d->output->data = static_cast<uint8_t*>(malloc(d->capacity));
    if (!d->output->data) ERREXIT1(cinfo, JERR_OUT_OF_MEMORY, 0);
    d->pub.next_output_byte = d->output->data;
    d->pub.free_in_buffer = d->capacity;
}

boolean EmptyOutputBuffer(j_compress_ptr cinfo) {
    auto* d = reinterpret_cast<TDestination*>(cinfo->dest);
    size_t used = d->capacity;
    auto* grown = static_cast<uint8_t*>(realloc(d->output->data, d->capacity * 2));
    if (!grown) ERREXIT1(cinfo, JERR_OUT_OF_MEMORY, 1);
    d->output->data = grown;
    d->capacity *= 2;
    d->pub.next_output_byte = grown + used;
    d->pub.free_in_buffer = d->capacity - used;
    return TRUE;
}

void TermDestination(j_compress_ptr cinfo) {
    auto* d = reinterpret_cast<TDestination*>(cinfo->dest);
    d->output->size = d->capacity - d->pub.free_in_buffer;
}

// Adobe writes CMYK inverted; plain CMYK is not.
void CmykRowToRgb(uint8_t* row, JDIMENSION width, bool inverted) {
    for (JDIMENSION x = 0; x < width; ++x) {
        unsigned c = row[4 * x], m = row[4 * x + 1], y = row[4 * x + 2], k = row[4 * x + 3];
        if (!inverted) {
            c = 255 - c;
            m = 255 - m;
            y = 255 - y;
            k = 255 - k;
        }
        row[3 * x] = static_cast<uint8_t>(c * k / 255);
        row[3 * x + 1] = static_cast<uint8_t>(m * k / 255);
        row[3 * x + 2] = static_cast<uint8_t>(y * k / 255);
    }
}

}  // namespace

void JpegFree(void* block) {
    free(block);
}

bool JpegReadHeader(const uint8_t* data, size_t size, TJpegHeader* header, TJpegError* error) {
    jpeg_decompress_struct cinfo;
    TErrorManager errors;
    jpeg_source_mgr source;
    InitErrors(errors, error);
    cinfo.err = &errors.pub;
    if (setjmp(errors.jump)) {
        jpeg_destroy_decompress(&cinfo);
        return false;
    }
    jpeg_create_decompress(&cinfo);
    SetSource(&cinfo, &source, data, size);
    jpeg_read_header(&cinfo, TRUE);
    header->width = static_cast<int>(cinfo.image_width);
    header->height = static_cast<int>(cinfo.image_height);
    jpeg_destroy_decompress(&cinfo);
    return true;
}

bool JpegDecode(const uint8_t* data, size_t size, int scaleDenom, int colors, TJpegPixels* pixels,
                TJpegError* error) {
    jpeg_decompress_struct cinfo;
    TErrorManager errors;
    jpeg_source_mgr source;
    InitErrors(errors, error);
    cinfo.err = &errors.pub;
    pixels->rows = nullptr;
    if (setjmp(errors.jump)) {
        jpeg_destroy_decompress(&cinfo);
        free(pixels->rows);
        pixels->rows = nullptr;
        return false;
    }
    jpeg_create_decompress(&cinfo);
    SetSource(&cinfo, &source, data, size);
    jpeg_read_header(&cinfo, TRUE);
    const bool cmyk = cinfo.jpeg_color_space == JCS_CMYK || cinfo.jpeg_color_space == JCS_YCCK;
    cinfo.out_color_space = cmyk ? JCS_CMYK : JCS_RGB;
    cinfo.scale_num = 1;
    cinfo.scale_denom = static_cast<unsigned>(scaleDenom);
    // The quantiser works on three components; CMYK is quantised later by
    // the caller if at all.
    if (colors && !cmyk) {
        cinfo.quantize_colors = TRUE;
        cinfo.desired_number_of_colors = colors;
    }
    jpeg_start_decompress(&cinfo);
    const size_t stride = static_cast<size_t>(cinfo.output_width) * cinfo.output_components;
    if (stride * cinfo.output_height > kMaxPixelBytes) ERREXIT1(&cinfo, JERR_OUT_OF_MEMORY, 2);
    pixels->rows = static_cast<uint8_t*>(malloc(stride * cinfo.output_height));
    if (!pixels->rows) ERREXIT1(&cinfo, JERR_OUT_OF_MEMORY, 3);
    pixels->width = static_cast<int>(cinfo.output_width);
    pixels->height = static_cast<int>(cinfo.output_height);
    const size_t packed = static_cast<size_t>(cinfo.output_width) * (cmyk ? 3 : cinfo.output_components);
    while (cinfo.output_scanline < cinfo.output_height) {
        JDIMENSION y = cinfo.output_scanline;
        JSAMPROW row = pixels->rows + stride * y;
        jpeg_read_scanlines(&cinfo, &row, 1);
        if (cmyk) {
            CmykRowToRgb(row, cinfo.output_width, cinfo.saw_Adobe_marker);
            // Packs the rows as the RGB rows they now are.
            memmove(pixels->rows + packed * y, row, packed);
        }
    }
    pixels->bytesPerPixel = cmyk ? 3 : cinfo.output_components;
    pixels->mapSize = 0;
    if (cinfo.quantize_colors) {
        pixels->mapSize = cinfo.actual_number_of_colors;
        for (int i = 0; i < cinfo.actual_number_of_colors && i < 256; ++i)
            for (int c = 0; c < 3; ++c)
                pixels->map[i][c] = cinfo.out_color_components == 3 ? cinfo.colormap[c][i] : cinfo.colormap[0][i];
    }
    jpeg_finish_decompress(&cinfo);
    jpeg_destroy_decompress(&cinfo);
    return true;
}

bool JpegEncode(const uint8_t* rgb, int width, int height, int quality, TJpegBuffer* output, TJpegError* error) {
    jpeg_compress_struct cinfo;
    TErrorManager errors;
    TDestination destination;
    InitErrors(errors, error);
    cinfo.err = &errors.pub;
    output->data = nullptr;
    output->size = 0;
    if (setjmp(errors.jump)) {
        jpeg_destroy_compress(&cinfo);
        free(output->data);
        output->data = nullptr;
        return false;
    }
    jpeg_create_compress(&cinfo);
    destination.pub.init_destination = InitDestination;
    destination.pub.empty_output_buffer = EmptyOutputBuffer;
    destination.pub.term_destination = TermDestination;
    destination.output = output;
    destination.capacity = 0;
    cinfo.dest = &destination.pub;
    cinfo.image_width = static_cast<JDIMENSION>(width);
    cinfo.image_height = static_cast<JDIMENSION>(height);
    cinfo.input_components = 3;
    cinfo.in_color_space = JCS_RGB;
    jpeg_set_defaults(&cinfo);
    jpeg_set_quality(&cinfo, quality, TRUE);
    cinfo.optimize_coding = TRUE;
    jpeg_start_compress(&cinfo, TRUE);
    const size_t stride = static_cast<size_t>(width) * 3;
    while (cinfo.next_scanline < cinfo.image_height) {
        JSAMPROW row = const_cast<uint8_t*>(rgb + stride * cinfo.next_scanline);
        jpeg_write_scanlines(&cinfo, &row, 1);
    }
    jpeg_finish_compress(&cinfo);
    jpeg_destroy_compress(&cinfo);
    return true;
}
