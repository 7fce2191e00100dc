// Colour-choice combo boxes: sixteen named colours and a seventeenth entry
// that opens the colour dialog, readable as a colour value and as an HTML
// colour text. This class holds all of it but the names of the entries.
#pragma once
#include <string>

#include "classlib/core/color.h"
#include "classlib/stdctrls/combobox.h"

class TColorDialog;

constexpr int ColorEntryCount = 17;
constexpr int CustomColorEntry = 16;
// The colours of entries 0..16 (entry 16's is only its start value).
extern const TColor ColorTable[ColorEntryCount];
// The entries' names in English and German.
extern const char* const ColorNamesEnglish[ColorEntryCount];
extern const char* const ColorNamesGerman[ColorEntryCount];

class TCustomColorComboBox : public TCustomComboBox {
    DECLARE_CLASS(TCustomColorComboBox, TCustomComboBox)
public:
    explicit TCustomColorComboBox(TComponent* owner);

    TColor ColorValue() const { return color_value_; }
    // Selects the entry whose colour text matches (the last of equal ones),
    // or puts the text into the custom entry; keeps the old value, without a
    // message, when that fails (no window possible). Makes no window.
    void SetColorValue(TColor value);
    const std::string& HTMLcolor() const { return html_color_; }
    // "#RRGGBB" (upper or lower case); a text that is not hexadecimal
    // changes nothing.
    void SetHTMLcolor(const std::string& value);
    // #RRGGBB of a colour; system colours give their current RGB.
    std::string ColorToHTML(TColor color) const;

    // Only while "More..." runs.
    TColorDialog* ColorDlg = nullptr;

protected:
    // The name drawn for an entry.
    virtual std::string EntryName(int index) const = 0;
    void CreateWnd() override;
    void DrawItem(int index, const TRect& rect, TOwnerDrawState state) override;
    void Change() override;

private:
    // Makes sure the list holds the 17 entries: the window's, or, while the
    // box has no window yet but could get one, the kept list the window
    // takes over when it is made. Raises when no window is possible.
    void NeedEntries();
    // The table's 17 entries, the first selected.
    void FillEntries();

    TColor color_value_ = 0;
    std::string html_color_ = "#000000";
    bool writing_value_ = false;
};

