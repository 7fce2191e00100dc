#include <gtest/gtest.h>

#include "classlib/gui/application.h"
#include "runtime/document_marker.h"
#include "classlib/core/filer.h"
#include "classlib/core/fileutils.h"
#include "classlib/gui/forms.h"
#include "runtime/image_extent.h"
#include "runtime/older_color_combo_box.h"
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
    FileMode = 0;
    file.Assign(self);
    file.Reset(1);
    FileMode = 2;
    ASSERT_EQ(IOResult(), 0);
    EXPECT_GT(end, 1024);
    EXPECT_LE(end, file.FileSize());
    EXPECT_EQ(ProgramImageEnd("no-such-program.exe"), -1);
    EXPECT_EQ(ProgramImageEnd(self + "-missing"), -1);
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
