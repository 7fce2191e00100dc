// Writes the seed corpus of every fuzz target: fuzz_seeds <folder>, with
// one subfolder per target (fuzz/corpus in the source tree). Hand-written
// seeds (layout texts, string lists) are kept in the tree beside them.
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include <jpeglib.h>

#include "classlib/core/filer.h"
#include "classlib/core/filer_test_classes.h"
#include "fuzz/document_checks.h"
#include "pixwell/test_pictures.h"

namespace {

std::filesystem::path out;

void Save(const std::string& target, const std::string& name, const std::string& bytes) {
    std::filesystem::create_directories(out / target);
    fuzz::WriteFile((out / target / name).string(), reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size());
}

std::string Jpeg(int width, int height, int components) {
    jpeg_compress_struct info{};
    jpeg_error_mgr errors{};
    info.err = jpeg_std_error(&errors);
    jpeg_create_compress(&info);
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&info, &buffer, &size);
    info.image_width = width;
    info.image_height = height;
    info.input_components = components;
    info.in_color_space = components == 3 ? JCS_RGB : JCS_GRAYSCALE;
    jpeg_set_defaults(&info);
    jpeg_set_quality(&info, 75, TRUE);
    jpeg_start_compress(&info, TRUE);
    std::vector<uint8_t> row(size_t(width) * components);
    while (info.next_scanline < info.image_height) {
        for (size_t i = 0; i < row.size(); ++i) row[i] = static_cast<uint8_t>(i * 37 + info.next_scanline * 11);
        JSAMPROW line = row.data();
        jpeg_write_scanlines(&info, &line, 1);
    }
    jpeg_finish_compress(&info);
    jpeg_destroy_compress(&info);
    std::string file(reinterpret_cast<char*>(buffer), size);
    std::free(buffer);
    return file;
}

void Documents() {
    TTestHolder empty;
    Save("document", "empty.qbx", DocumentBytes(empty));
    TTestHolder sample;
    BuildSample(sample);
    const std::string document = DocumentBytes(sample);
    Save("document", "sample.qbx", document);
    // Behind 16 bytes of program, as in a menu executable.
    Save("document_offset", "behind16.bin", std::string("\x10\x00", 2) + "MZ-program-bytes" + document);
    Save("document_offset", "at0.bin", std::string("\x00\x00", 2) + document);
}

void FormStreams() {
    using namespace filertest;
    const char* const layout = "object Form1: TTestForm\n"
                               "  Caption = 'Sample'#10'text'\n"
                               "  Color = clRed\n"
                               "  Font.Style = [fsBold]\n"
                               "  Panels = <\n    item\n      Caption = 'p'\n      Target = Button1\n    end>\n"
                               "  Lines.Strings = (\n    'one'\n    'two')\n"
                               "  Glyph.Data = {\n    0102030405}\n"
                               "  Ratio = 0.25\n  Big = 5000000000\n  Title = 'T'#1234\n"
                               "  object Panel1: TTestPanel\n    Partner = Button1\n"
                               "    object Button1: TTestButton\n      OnClick = Button1Click\n    end\n  end\nend\n";
    Save("form_stream", "form.bin", ObjectTextToBinary(Crlf(layout)));
    Save("form_stream", "empty_form.bin", ObjectTextToBinary("object F: TTestForm\r\nend\r\n"));
}

void Bitmaps() {
    using test_pictures::MakeBmp;
    const std::vector<uint32_t> colors = {0x000000, 0xFFFFFF, 0x0000FF, 0x00FF00, 0xFF0000, 0x808080};
    auto pattern = [](int x, int row) { return uint32_t(x * 7 + row * 3) % 6; };
    auto rgb = [](int x, int row) { return uint32_t(x * 0x203040 + row * 0x10101); };
    Save("bmp", "1bit.bmp", MakeBmp(9, 3, 1, false, {0, 0xFFFFFF}, pattern));
    Save("bmp", "4bit.bmp", MakeBmp(7, 4, 4, false, colors, pattern));
    Save("bmp", "8bit_top_down.bmp", MakeBmp(5, 3, 8, true, colors, pattern));
    Save("bmp", "24bit.bmp", MakeBmp(5, 5, 24, false, {}, rgb));
    Save("bmp", "32bit.bmp", MakeBmp(3, 2, 32, true, {}, rgb));
}

void Jpegs() {
    Save("jpeg", "colour.jpg", Jpeg(16, 16, 3));
    Save("jpeg", "grey.jpg", Jpeg(9, 5, 1));
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: fuzz_seeds <corpus folder>\n");
        return 2;
    }
    out = argv[1];
    Documents();
    FormStreams();
    Bitmaps();
    Jpegs();
    return 0;
}
