// Writes the seed corpus of every fuzz target: fuzz_seeds <folder>, with
// one subfolder per target (fuzz/corpus in the source tree). Hand-written
// seeds (layout texts, string lists) are kept in the tree beside them.
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "classlib/core/filer.h"
#include "classlib/core/filer_test_classes.h"
#include "fuzz/document_checks.h"
#include "imaging/codecs/ani_test_files.h"
#include "imaging/codecs/icon_list_stream.h"
#include "imaging/codecs/gif_samples.h"
#include "pixwell/jpeg_test_pictures.h"
#include "pixwell/test_pictures.h"

namespace {

std::filesystem::path out;

void Save(const std::string& target, const std::string& name, const std::string& bytes) {
    std::filesystem::create_directories(out / target);
    fuzz::WriteFile((out / target / name).string(), reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size());
}

// A picture with a pattern of values in every row.
std::string Jpeg(int width, int height, int components) {
    std::vector<uint8_t> pixels(size_t(width) * height * components);
    const size_t row = size_t(width) * components;
    for (size_t i = 0; i < pixels.size(); ++i) pixels[i] = static_cast<uint8_t>((i % row) * 37 + (i / row) * 11);
    return test_pictures::MakeJpeg(width, height, components, pixels);
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

void AnimatedCursors() {
    using namespace ani_test;
    Save("ani", "two_frames.ani", Riff(Anih(2, 2, 10) + List("fram", Chunk("icon", IconFile(8, 8, 1, 0xFFFFFF)) +
                                                                      Chunk("icon", IconFile(8, 8, 4, 0xFF0000)))));
    Save("ani", "cursor_sequence.ani",
         Riff(Anih(3, 3, 6) + Value("rate", 2) + Value("seq ", 1) + Value("seq ", 0) +
              List("INFO", Chunk("INAM", "Walk") + Chunk("IART", "Me")) +
              List("fram", Chunk("icon", IconFile(8, 8, 1, 0, 2, 1, 7)) + Chunk("icon", IconFile(8, 8, 8, 0x808080)))));
    Save("ani", "many_headers.ani", ManyHeaders());
}

void IconLists() {
    TMemoryStream list;
    WriteIconListCount(list, 3);
    WriteIconListPlace(list, {});
    WriteIconListPlace(list, ani_test::Bytes(ani_test::IconFile(8, 8, 1, 0xFFFFFF)));
    WriteIconListPlace(list, ani_test::Bytes(ani_test::IconFile(4, 4, 24, 0x123456)));
    Save("icon_list", "three_places.bin", std::string(list.Bytes().begin(), list.Bytes().end()));
    Save("icon_list", "empty.bin", std::string(4, '\0'));
}

std::string Bytes(const std::vector<uint8_t>& bytes) {
    return std::string(bytes.begin(), bytes.end());
}

void Gifs() {
    Save("gif", "mono.gif", Bytes(TGifBuilder(9, 3, 1, "87a").Image(0, 0, 9, 3, SampleIndexes(9, 3, 1, 1), 1).Finish()));
    Save("gif", "interlaced16.gif",
         Bytes(TGifBuilder(7, 11, 4).Image(0, 0, 7, 11, SampleIndexes(7, 11, 4, 2), 4, true).Finish()));
    Save("gif", "animation.gif", Bytes(TGifBuilder(12, 10, 8)
                                           .Loop(3)
                                           .Comment("first frame")
                                           .GraphicControl(0x05, 10, 4)
                                           .Image(0, 0, 12, 10, SampleIndexes(12, 10, 8, 3), 8)
                                           .GraphicControl(0x08, 20, 0)
                                           .Image(2, 3, 6, 5, SampleIndexes(6, 5, 8, 4), 8, false, 3)
                                           .Comment("picture")
                                           .Finish()));
    Save("gif", "local_only.gif",
         Bytes(TGifBuilder(4, 4, 0).Image(0, 0, 4, 4, SampleIndexes(4, 4, 2, 5), 4, false, 2).Finish()));
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
    AnimatedCursors();
    IconLists();
    Gifs();
    return 0;
}
