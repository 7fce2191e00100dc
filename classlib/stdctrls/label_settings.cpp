#include "classlib/stdctrls/label_settings.h"

#include "classlib/gui/scoped_win32.h"
#include "classlib/gui/wincontrol.h"
#include "classlib/stdctrls/accel.h"

DEFINE_ENUM_TYPE(TTextLayout, "tlTop", "tlCenter", "tlBottom")

UINT TLabelSettings::TextFormat() const {
    static const UINT alignments[] = {DT_LEFT, DT_RIGHT, DT_CENTER};
    return DT_EXPANDTABS | (word_wrap_ ? DT_WORDBREAK : 0) | alignments[alignment_];
}

void TLabelSettings::PrepareText(std::string& text, UINT& format) const {
    if ((format & DT_CALCRECT) && (text.empty() || (show_accel_char_ && text == "&"))) text += ' ';
    if (!show_accel_char_) format |= DT_NOPREFIX;
}

int TLabelSettings::LayoutOffset(int boxHeight, int textBottom) const {
    const int free = boxHeight - textBottom;
    switch (layout_) {
    case tlTop: return 0;
    case tlCenter: return free / 2;
    case tlBottom: return free;
    }
    return 0;
}

int32_t TLabelSettings::AutoSizedLeft(int32_t left, int32_t oldWidth, int32_t newWidth) const {
    return alignment_ == taRightJustify ? left + oldWidth - newWidth : left;
}

void TLabelSettings::MeasureOnScreen(const std::function<void(TCanvas&)>& measure) {
    TWindowDC screen(nullptr);
    auto canvas = MakeOwned<TCanvas>();
    TCanvasOnDC onScreen(*canvas, screen);
    measure(*canvas);
}

bool TLabelSettings::FocusOnAccel(unsigned key, bool enabled, const std::string& caption) const {
    if (!focus_control_ || !enabled || !show_accel_char_ || !IsAccel(key, caption) || !focus_control_->CanFocus())
        return false;
    focus_control_->SetFocus();
    return true;
}
