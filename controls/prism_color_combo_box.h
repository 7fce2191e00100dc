// The colour combo box with English, German or French entry names.
#pragma once
#include "controls/custom_color_combo_box.h"

enum TCLanguage { lgEnglish, lgDeutsch, lgFrensh };
DECLARE_ENUM_TYPE(TCLanguage)

class TPrismColorComboBox : public TCustomColorComboBox {
    DECLARE_CLASS(TPrismColorComboBox, TCustomColorComboBox)
public:
    explicit TPrismColorComboBox(TComponent* owner) : TCustomColorComboBox(owner) {}
    TCLanguage Language() const { return language_; }
    void SetLanguage(TCLanguage language);

protected:
    std::string EntryName(int index) const override;

private:
    TCLanguage language_ = lgEnglish;
};
