#include "runtime/older_color_combo_box.h"

#include <gtest/gtest.h>

#include <vector>

#include "classlib/graphics/test_pictures.h"
#include "classlib/gui/forms.h"
#include "classlib/gui/messages.h"
#include "controls/prism_color_combo_box.h"

namespace {

constexpr int kWidth = 200, kHeight = 18;

// The pixels of one entry as the box draws it into a bitmap of its own.
std::vector<uint32_t> DrawnEntry(TCustomColorComboBox* box, int index) {
    TMemorySurface surface(kWidth, kHeight, clBlack);
    DRAWITEMSTRUCT item{};
    item.CtlType = ODT_COMBOBOX;
    item.itemID = static_cast<UINT>(index);
    item.itemAction = ODA_DRAWENTIRE;
    item.hwndItem = box->Handle();
    item.hDC = surface.DC();
    item.rcItem = {0, 0, kWidth, kHeight};
    box->Perform(CN_DRAWITEM, 0, reinterpret_cast<LPARAM>(&item));
    return surface.Pixels();
}

// The runtime's box draws exactly what the editor's box draws with the
// same names: its second language the German ones, its first the English.
TEST(OlderColorComboBox, DrawsTheGermanOrEnglishNamesOfTheEditorsBox) {
    auto form = MakeOwned<TForm>(nullptr);
    auto* older = new TOlderColorComboBox(form.get());
    older->SetParent(form.get());
    auto* editors = new TPrismColorComboBox(form.get());
    editors->SetParent(form.get());
    older->SetColorValue(14215660);
    editors->SetColorValue(14215660);

    for (int index : {2, 15, 16}) {
        older->SetLanguage(TOlderLanguage::Portuguese);
        editors->SetLanguage(lgDeutsch);
        std::vector<uint32_t> german = DrawnEntry(older, index);
        EXPECT_EQ(german, DrawnEntry(editors, index)) << "entry " << index;

        older->SetLanguage(TOlderLanguage::English);
        editors->SetLanguage(lgEnglish);
        std::vector<uint32_t> english = DrawnEntry(older, index);
        EXPECT_EQ(english, DrawnEntry(editors, index)) << "entry " << index;
        EXPECT_NE(german, english) << "entry " << index;
    }
}

}  // namespace
