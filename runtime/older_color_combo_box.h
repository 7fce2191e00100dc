// The runtime's colour combo box: the same control with two languages,
// English and a second set that shows the German names. Layouts know it
// under the same class name as the editor's.
#pragma once
#include "controls/custom_color_combo_box.h"

// Identifiers in layouts: lgEnglish, lgPortuguese.
enum class TOlderLanguage { English, Portuguese };
DECLARE_ENUM_TYPE(TOlderLanguage)

class TOlderColorComboBox : public TCustomColorComboBox {
    DECLARE_CLASS(TOlderColorComboBox, TCustomColorComboBox)
public:
    explicit TOlderColorComboBox(TComponent* owner) : TCustomColorComboBox(owner) {}
    TOlderLanguage Language() const { return language_; }
    void SetLanguage(TOlderLanguage language);

protected:
    std::string EntryName(int index) const override;

private:
    TOlderLanguage language_ = TOlderLanguage::English;
};
