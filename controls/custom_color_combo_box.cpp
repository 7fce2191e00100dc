#include "controls/custom_color_combo_box.h"

#include "classlib/core/class_builder.h"
#include "classlib/dialogs/dialogs.h"
#include "classlib/core/scope_exit.h"
#include "classlib/core/strutils.h"
#include "classlib/stdctrls/window_needs.h"

const char* const ColorNamesGerman[ColorEntryCount] = {
    "Schwarz", "Dunkelrot", "Gr\xFCn", "Oliv", "Dunkelblau", "Purpur", "Gr\xFC" "nblau", "Grau", "Silber",
    "Rot", "Hellgr\xFCn", "Gelb", "Blau", "Rosa", "Hellblau", "Wei\xDF", "Mehr..."};
const char* const ColorNamesEnglish[ColorEntryCount] = {"Black", "Maroon", "Green", "Olive",  "Navy",    "Purple",
                                               "Teal",  "Gray",   "Silver", "Red",  "Lime",    "Yellow",
                                               "Blue",  "Fuchsia", "Aqua", "White", "More..."};
const TColor ColorTable[ColorEntryCount] = {0x000000, 0x000080, 0x008000, 0x008080, 0x800000, 0x800080,
                                            0x808000, 0x808080, 0xC0C0C0, 0x0000FF, 0x00FF00, 0x00FFFF,
                                            0xFF0000, 0xFF00FF, 0xFFFF00, 0xFFFFFF, 0xFFFFFF};

const TClassInfo& TCustomColorComboBox::StaticClass() {
    static const TClassInfo info =
        DefineClass<TCustomColorComboBox>("TCustomColorComboBox", &TCustomComboBox::StaticClass(), [](auto& c) {
            PROPERTY(c, HTMLcolor, ShortStringType()).Hidden();
            PROPERTY(c, ColorValue, TypeInfoColor()).NoDefaultValue().Hidden();
            FIELD(c, ColorDlg);
        });
    return info;
}

TCustomColorComboBox::TCustomColorComboBox(TComponent* owner) : TCustomComboBox(owner) {
    SetStyle(csOwnerDrawFixed);
    // The entries are kept without a window: a form that is never shown
    // (the runtime's holder) needs none for its colours.
    KeepItemsUntilWindowExists();
    // The height its window takes: an owner-drawn entry within a frame of
    // three pixels.
    SetBounds(Left(), Top(), 120, ItemHeight() + 6);
}

void TCustomColorComboBox::CreateWnd() {
    TCustomComboBox::CreateWnd();
    // A re-created window, or one made after a value was written, got the
    // kept entries; a new one gets the table's.
    if (Items()->Count() == ColorEntryCount) return;
    FillEntries();
}

void TCustomColorComboBox::FillEntries() {
    Items()->BeginUpdate();
    Items()->Clear();
    for (TColor c : ColorTable) Items()->Add(ColorToString(c));
    Items()->EndUpdate();
    SetItemIndex(0);
}

void TCustomColorComboBox::NeedEntries() {
    if (HandleAllocated()) return;
    if (!ParentsLeadToWindow(this)) {
        HandleNeeded();  // raises: the box has nowhere to put a window
        return;
    }
    if (Items()->Count() != ColorEntryCount) FillEntries();
}

void TCustomColorComboBox::SetColorValue(TColor value) {
    TColor old = color_value_;
    try {
        NeedEntries();
        std::string text = ColorToString(value);
        TStrings* items = Items();
        int found = -1;
        for (int i = 0; i <= items->Count() - 2; ++i)
            if (items->Strings(i) == text) found = i;
        if (found >= 0) {
            SetItemIndex(found);
        } else {
            if (items->Count() <= CustomColorEntry) throw EListError("No custom colour entry");
            items->Put(CustomColorEntry, text);
            SetItemIndex(CustomColorEntry);
        }
        color_value_ = value;
        // The canonical text of the new value; for a system colour it is the
        // colour's current RGB, which must not replace the system colour.
        writing_value_ = true;
        SetHTMLcolor(ColorToHTML(value));
        writing_value_ = false;
    } catch (...) {
        writing_value_ = false;
        color_value_ = old;
    }
}

std::string TCustomColorComboBox::ColorToHTML(TColor color) const {
    // IntToHex gives BBGGRR; the text wants RRGGBB.
    std::string t = IntToHex(ColorToRGB(color) & 0xFFFFFF, 6);
    return std::string("#").append(t, 4, 2).append(t, 2, 2).append(t, 0, 2);
}

void TCustomColorComboBox::SetHTMLcolor(const std::string& value) {
    std::string old = html_color_;
    try {
        std::string v = UpperCase(value);
        if (v.empty()) v = "#000000";
        auto part = [&v](size_t from) { return from < v.size() ? v.substr(from, 2) : std::string(); };
        int32_t number = StrToInt("$00" + part(5) + part(3) + part(1));
        if (number != color_value_ && !writing_value_) SetColorValue(number);
        html_color_ = v;
    } catch (...) {
        html_color_ = old;
    }
}

void TCustomColorComboBox::DrawItem(int index, const TRect& rect, TOwnerDrawState) {
    TCanvas* canvas = Canvas();
    TColor background = canvas->Brush().Color();
    canvas->FillRect(rect);
    TRect swatch = Rect(rect.left + 4, rect.top + 1, 24, rect.bottom - 1);
    TColor colour = index >= 0 && index < Items()->Count() ? StringToColor(Items()->Strings(index)) : clBlack;
    if (index == CustomColorEntry) colour = color_value_;
    canvas->Brush().SetColor(colour);
    canvas->FillRect(swatch);
    canvas->Pen().SetColor(clBlack);
    canvas->Rectangle(swatch);
    TRect textRect = Rect(rect.left + 30, rect.top, rect.right, rect.bottom);
    std::string name = index >= 0 && index < ColorEntryCount ? EntryName(index) : std::string();
    char buffer[256] = {};
    name.copy(buffer, sizeof buffer - 1);
    canvas->Brush().SetColor(background);
    DrawTextA(canvas->Handle(), buffer, -1, &textRect, DT_NOPREFIX | DT_SINGLELINE | DT_VCENTER);
}

void TCustomColorComboBox::Change() {
    int index = ItemIndex();
    if (index == CustomColorEntry) {
        ColorDlg = New<TColorDialog>(this);
        TryFinally(
            [this] {
                ColorDlg->SetOptions(TColorDialogOptions{cdFullOpen});
                ColorDlg->SetColor(color_value_);
                if (ColorDlg->Execute()) SetColorValue(ColorDlg->Color());
            },
            [this] { FreeAndNil(ColorDlg); });
    } else if (index >= 0 && index < ColorEntryCount) {
        SetColorValue(ColorTable[index]);
    }
    TCustomComboBox::Change();
}

