#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <utility>
#include <vector>

#include "classlib/gui/application.h"
#include "runtime/document_marker.h"
#include "classlib/core/filer.h"
#include "classlib/core/fileutils.h"
#include "classlib/gui/forms.h"
#include "runtime/image_extent.h"
#include "runtime/older_color_combo_box.h"
#include "classlib/core/file_mode_scope.h"
#include "classlib/core/untyped_file.h"

namespace {

class TNamedOlderBox : public TOlderColorComboBox {
public:
    explicit TNamedOlderBox(TComponent* owner) : TOlderColorComboBox(owner) {}
    std::string Name(int index) const { return EntryName(index); }
};

TEST(Runtime, AnUnpatchedMarkerMeansNoDocument) {
    EXPECT_FALSE(DocumentAttached());
    EXPECT_EQ(MarkerOffset(), 0x5242455A);  // "ZEBR" as read before patching
}

TEST(Runtime, TheProgramImageEndsInsideItsFile) {
    std::string self = ParamStr(0);
    int64_t end = ProgramImageEnd(self);
    TUntypedFile file;
    {
        TFileModeScope readOnly(0);
        file.Assign(self);
        file.Reset(1);
    }
    ASSERT_EQ(IOResult(), 0);
    EXPECT_GT(end, 1024);
    EXPECT_LE(end, file.FileSize());
    EXPECT_EQ(ProgramImageEnd("no-such-program.exe"), -1);
    EXPECT_EQ(ProgramImageEnd(self + "-missing"), -1);
}

// A PE image of the given optional header (magic 0x10B: 32-bit, 0x20B:
// 64-bit) whose sections hold the given (file offset, size) ranges.
std::string PeImage(uint16_t magic, uint16_t optionalSize, const std::vector<std::pair<uint32_t, uint32_t>>& sections,
                    uint32_t headersSize = 0x400, size_t fileSize = 0x2000) {
    std::string image(fileSize, '\0');
    auto put = [&](size_t at, uint32_t value, int bytes) {
        for (int i = 0; i < bytes; ++i) image[at + static_cast<size_t>(i)] = static_cast<char>(value >> (8 * i));
    };
    const size_t pe = 0x80;
    put(0, 0x5A4D, 2);
    put(0x3C, pe, 4);
    put(pe, 0x00004550, 4);
    put(pe + 4, magic == 0x20B ? 0x8664 : 0x14C, 2);
    put(pe + 6, static_cast<uint32_t>(sections.size()), 2);
    put(pe + 20, optionalSize, 2);
    put(pe + 24, magic, 2);
    put(pe + 24 + 60, headersSize, 4);
    // Fields that differ between the two kinds, with values that would
    // mislead a reader taking one kind for the other.
    put(pe + 24 + 56, 0x7FFF0000, 4);  // SizeOfImage
    put(pe + 24 + 92, 16, 4);          // PE32: NumberOfRvaAndSizes; PE32+: a stack size
    size_t table = pe + 24 + optionalSize;
    for (size_t i = 0; i < sections.size(); ++i) {
        put(table + 40 * i + 16, sections[i].second, 4);
        put(table + 40 * i + 20, sections[i].first, 4);
    }
    return image;
}

int64_t ImageEndOf(const std::string& image) {
    const char* name = "pe_image_test.bin";
    std::ofstream(name, std::ios::binary | std::ios::trunc) << image;
    int64_t end = ProgramImageEnd(name);
    std::remove(name);
    return end;
}

TEST(Runtime, TheImageEndIsReadFrom32And64BitHeaders) {
    // The last section in the file need not come last in the table.
    std::vector<std::pair<uint32_t, uint32_t>> sections{{0x1600, 0x200}, {0x400, 0x1200}};
    EXPECT_EQ(ImageEndOf(PeImage(0x10B, 224, sections)), 0x1800);
    EXPECT_EQ(ImageEndOf(PeImage(0x20B, 240, sections)), 0x1800);
    // The section table follows the optional header, however long it is.
    EXPECT_EQ(ImageEndOf(PeImage(0x20B, 240 + 64, sections)), 0x1800);
    // Headers alone, when no section lies behind them.
    EXPECT_EQ(ImageEndOf(PeImage(0x20B, 240, {}, 0x600)), 0x600);

    // A 64-bit optional header too short for its fixed part, or no known
    // kind at all, is no image to trust.
    EXPECT_EQ(ImageEndOf(PeImage(0x20B, 96, sections)), -1);
    EXPECT_EQ(ImageEndOf(PeImage(0x10B, 64, sections)), -1);
    EXPECT_EQ(ImageEndOf(PeImage(0x107, 224, sections)), -1);
}

TEST(Runtime, TheOlderColourBoxShowsGermanNamesForItsSecondLanguage) {
    RegisterClass(TOlderColorComboBox::StaticClass());
    auto form = MakeOwned<TForm>(nullptr);
    auto* box = new TNamedOlderBox(form.get());
    box->SetParent(form.get());
    EXPECT_EQ(box->Name(16), "More...");
    box->SetLanguage(TOlderLanguage::Portuguese);
    EXPECT_EQ(box->Name(16), "Mehr...");
    EXPECT_EQ(box->Name(15), "Wei\xDF");

    box->SetName("Box1");
    box->SetColorValue(14215660);
    std::string text = WriteComponentToText(box);
    EXPECT_NE(text.find("Language = lgPortuguese"), std::string::npos);
    EXPECT_NE(text.find("object Box1: TPrismColorComboBox"), std::string::npos);
    box->SetName("");
    auto* copy = new TOlderColorComboBox(form.get());
    copy->SetParent(form.get());
    ReadComponentFromText(copy, text);
    EXPECT_EQ(static_cast<int>(copy->Language()), 1);
    EXPECT_EQ(copy->ColorValue(), 14215660);
}

}  // namespace
