#include "runtime/older_color_combo_box.h"

#include "classlib/core/class_builder.h"
#include "controls/color_box_publishing.h"

DEFINE_ENUM_TYPE(TOlderLanguage, "lgEnglish", "lgPortuguese")

const TClassInfo& TOlderColorComboBox::StaticClass() {
    static const TClassInfo info =
        DefineClass<TOlderColorComboBox>("TPrismColorComboBox", &TCustomColorComboBox::StaticClass(), [](auto& c) {
            c.Creatable();
            PROPERTY(c, Language).Default(static_cast<int>(TOlderLanguage::English));
            PublishColorBoxProperties(c);
        });
    return info;
}

void TOlderColorComboBox::SetLanguage(TOlderLanguage language) {
    language_ = language;
    SetItemIndex(ItemIndex());
    Invalidate();
}

std::string TOlderColorComboBox::EntryName(int index) const {
    return language_ == TOlderLanguage::Portuguese ? ColorNamesGerman[index] : ColorNamesEnglish[index];
}
