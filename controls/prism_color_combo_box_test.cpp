#include "controls/prism_color_combo_box.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "classlib/gui/application.h"
#include "classlib/dialogs/dialogs.h"
#include "classlib/core/filer.h"
#include "classlib/gui/forms.h"
#include "classlib/testing/gui_testing.h"
#include "classlib/core/strutils.h"
#include "classlib/gui/win32.h"
#include <commdlg.h>

namespace {

class TNamedBox : public TPrismColorComboBox {
public:
    explicit TNamedBox(TComponent* owner) : TPrismColorComboBox(owner) {}
    std::string Name(int index) const { return EntryName(index); }
};

// A form that is never shown holds the box, as the runtime's holder does.
class ColorBoxTest : public testing::Test {
protected:
    void SetUp() override {
        form = MakeOwned<TForm>(nullptr);
        box = new TNamedBox(form.get());
        box->SetParent(form.get());
    }
    TOwned<TForm> form;
    TNamedBox* box = nullptr;
};

TEST_F(ColorBoxTest, ColourValuesSelectTheirEntryOrTheCustomOne) {
    box->SetColorValue(0x0000FF);
    EXPECT_EQ(box->Items()->Count(), 17);
    EXPECT_EQ(box->ItemIndex(), 9);
    EXPECT_EQ(box->HTMLcolor(), "#FF0000");

    box->SetColorValue(14215660);
    EXPECT_EQ(box->ItemIndex(), 16);
    EXPECT_EQ(box->Items()->Strings(16), "$00D8E9EC");
    EXPECT_EQ(box->HTMLcolor(), "#ECE9D8");

    box->SetColorValue(0xFFFFFF);
    EXPECT_EQ(box->ItemIndex(), 15);

    box->SetColorValue(clBtnFace);
    EXPECT_EQ(box->ColorValue(), clBtnFace);  // stays a system colour
    EXPECT_EQ(box->Items()->Strings(16), "clBtnFace");
    TColor rgb = ColorToRGB(clBtnFace);
    EXPECT_EQ(box->HTMLcolor(), Format("#%.2X%.2X%.2X", {rgb & 0xFF, (rgb >> 8) & 0xFF, (rgb >> 16) & 0xFF}));
}

TEST_F(ColorBoxTest, HtmlTextsFollowTheirRules) {
    box->SetHTMLcolor("#ff8000");
    EXPECT_EQ(box->HTMLcolor(), "#FF8000");
    EXPECT_EQ(box->ColorValue(), 0x000080FF);
    box->SetHTMLcolor("");
    EXPECT_EQ(box->HTMLcolor(), "#000000");
    EXPECT_EQ(box->ColorValue(), 0);
    EXPECT_EQ(box->ItemIndex(), 0);
    box->SetHTMLcolor("#GG0000");
    EXPECT_EQ(box->HTMLcolor(), "#000000");
    EXPECT_EQ(box->ColorValue(), 0);
    box->SetHTMLcolor("#FFF");
    EXPECT_EQ(box->HTMLcolor(), "#FFF");
    EXPECT_EQ(box->ColorValue(), 0x00000FFF);
    EXPECT_EQ(box->ColorToHTML(0x12345678), "#785634");  // the low 24 bits
}

TEST_F(ColorBoxTest, ARecreatedWindowKeepsTheEntriesAndTheValue) {
    box->SetColorValue(14215660);
    box->RecreateWnd();
    EXPECT_EQ(box->Items()->Count(), 17);
    EXPECT_EQ(box->ItemIndex(), 16);
    EXPECT_EQ(box->Items()->Strings(16), "$00D8E9EC");
    EXPECT_EQ(box->ColorValue(), 14215660);
}

std::vector<std::string> TableEntries(const std::string& custom) {
    return {"clBlack", "clMaroon", "clGreen", "clOlive", "clNavy",    "clPurple", "clTeal",  "clGray", "clSilver",
            "clRed",   "clLime",   "clYellow", "clBlue", "clFuchsia", "clAqua",   "clWhite", custom};
}

TEST_F(ColorBoxTest, ValuesWrittenBeforeTheWindowExistsMakeNoWindowAndReachItWhenItIsMade) {
    // A form that is never shown, as the runtime's holder: writing the
    // colours makes no window.
    box->SetColorValue(14215660);
    auto* white = new TNamedBox(form.get());
    white->SetParent(form.get());
    white->SetColorValue(clWhite);
    auto* untouched = new TNamedBox(form.get());
    untouched->SetParent(form.get());
    EXPECT_FALSE(form->HandleAllocated());
    EXPECT_FALSE(box->HandleAllocated());
    EXPECT_EQ(box->ColorValue(), 14215660);
    EXPECT_EQ(box->HTMLcolor(), "#ECE9D8");
    EXPECT_EQ(box->ItemIndex(), 16);
    EXPECT_EQ(white->ItemIndex(), 15);
    EXPECT_FALSE(form->HandleAllocated());

    // Once the windows exist they hold the 17 entries with the chosen ones
    // selected.
    form->HandleNeeded();
    ASSERT_TRUE(box->HandleAllocated());
    EXPECT_EQ(ComboBoxEntries(box->Handle()), TableEntries("$00D8E9EC"));
    EXPECT_EQ(SendMessageA(box->Handle(), CB_GETCURSEL, 0, 0), 16);
    EXPECT_EQ(ComboBoxEntries(white->Handle()), TableEntries("clWhite"));
    EXPECT_EQ(SendMessageA(white->Handle(), CB_GETCURSEL, 0, 0), 15);
    EXPECT_EQ(ComboBoxEntries(untouched->Handle()), TableEntries("clWhite"));
    EXPECT_EQ(SendMessageA(untouched->Handle(), CB_GETCURSEL, 0, 0), 0);

    // And go on working there.
    box->SetColorValue(0x0000FF);
    EXPECT_EQ(SendMessageA(box->Handle(), CB_GETCURSEL, 0, 0), 9);
    box->SetColorValue(0x123456);
    EXPECT_EQ(ComboBoxEntries(box->Handle()), TableEntries("$00123456"));
}

TEST_F(ColorBoxTest, ABoxWithoutWindowKeepsItsOldValue) {
    auto alone = MakeOwned<TPrismColorComboBox>(nullptr);
    alone->SetColorValue(0x0000FF);
    EXPECT_EQ(alone->ColorValue(), 0);
}

TEST_F(ColorBoxTest, NamesFollowTheLanguage) {
    EXPECT_EQ(box->Name(16), "More...");
    box->SetLanguage(lgDeutsch);
    EXPECT_EQ(box->Name(16), "Mehr...");
    EXPECT_EQ(box->Name(2), "Gr\xFCn");
    box->SetLanguage(lgFrensh);
    EXPECT_EQ(box->Name(16), "Autres....");
    EXPECT_EQ(box->Name(10), "Vert");
}

TEST_F(ColorBoxTest, LayoutsStoreLanguageHtmlAndValueInThatOrder) {
    box->SetName("Box1");
    box->SetLanguage(lgDeutsch);
    box->SetColorValue(14215660);
    std::string text = WriteComponentToText(box);
    size_t language = text.find("Language = lgDeutsch");
    size_t html = text.find("HTMLcolor = '#ECE9D8'");
    size_t value = text.find("ColorValue = 14215660");
    ASSERT_NE(language, std::string::npos);
    ASSERT_NE(html, std::string::npos);
    ASSERT_NE(value, std::string::npos);
    EXPECT_LT(language, html);
    EXPECT_LT(html, value);
}

TEST_F(ColorBoxTest, MoreWithACancelledDialogKeepsTheColourAndStillReportsTheChange) {
    TScriptedInteraction seam;
    box->SetColorValue(0x0000FF);
    int changes = 0;
    box->OnChange = [&](TObject*) { ++changes; };
    form->SetBounds(100, 100, 300, 100);
    box->SetBounds(10, 10, 200, 22);
    form->Show();
    DrainMessages();
    box->SetFocus();
    PressKey(VK_END);  // the last entry, "More..."
    ASSERT_EQ(seam.Dialogs.size(), 1u);
    EXPECT_EQ(seam.Dialogs[0], cdkColor);
    EXPECT_EQ(box->ColorValue(), 0x0000FF);
    EXPECT_EQ(box->ItemIndex(), 16);
    EXPECT_EQ(changes, 1);

    seam.DialogAnswers.push_back([](TCommonDialogKind, void* data) {
        static_cast<CHOOSECOLORA*>(data)->rgbResult = RGB(1, 2, 3);
        return true;
    });
    PressKey(VK_UP);
    PressKey(VK_DOWN);
    EXPECT_EQ(box->ColorValue(), static_cast<TColor>(RGB(1, 2, 3)));
    EXPECT_EQ(box->Items()->Strings(16), "$00030201");
    DrainMessages();
    TWindowPixels(form->Handle()).SavePng(ScreenshotFolder() + "color_combo_box.png");
    // The box shows the chosen colour in its swatch.
    TWindowPixels shown(box->Handle());
    int chosen = 0;
    for (int y = 0; y < shown.Height(); ++y)
        for (int x = 0; x < shown.Width(); ++x) chosen += shown.At(x, y) == RGB(1, 2, 3);
    EXPECT_GT(chosen, 50);
}

}  // namespace
