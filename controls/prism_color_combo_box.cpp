#include "controls/prism_color_combo_box.h"

#include "classlib/core/class_builder.h"
#include "controls/color_box_publishing.h"

namespace {

const char* const kFrench[ColorEntryCount] = {
    "Noir", "Rouge fonc\xE9", "Vert", "Marron clair", "Bleu fonc\xE9", "Violet", "Bleu-vert", "Gris",
    "Argent\xE9", "Rouge", "Vert", "Jaune", "Bleu", "Fuchsia", "Vert d'eau", "Blanc", "Autres...."};

}  // namespace

DEFINE_ENUM_TYPE(TCLanguage, "lgEnglish", "lgDeutsch", "lgFrensh")

const TClassInfo& TPrismColorComboBox::StaticClass() {
    static const TClassInfo info =
        DefineClass<TPrismColorComboBox>("TPrismColorComboBox", &TCustomColorComboBox::StaticClass(), [](auto& c) {
            c.Creatable();
            PROPERTY(c, Language).Default(lgEnglish);
            PublishColorBoxProperties(c);
        });
    return info;
}

void TPrismColorComboBox::SetLanguage(TCLanguage language) {
    language_ = language;
    SetItemIndex(ItemIndex());
    Invalidate();
}

std::string TPrismColorComboBox::EntryName(int index) const {
    switch (language_) {
    case lgFrensh: return kFrench[index];
    case lgDeutsch: return ColorNamesGerman[index];
    default: return ColorNamesEnglish[index];
    }
}
