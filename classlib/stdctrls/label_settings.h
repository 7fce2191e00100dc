// TLabelSettings: what the plain and the shadowed label both keep about
// their text (alignment, vertical layout, word wrap, accelerator, auto-size
// and focus control) with the measuring and accelerator logic that goes
// with it. Each label publishes the values through its own setters, since
// they react to changes differently.
#pragma once
#include <functional>
#include <string>

#include "classlib/core/alignment.h"
#include "classlib/gui/canvas.h"

class TWinControl;

enum TTextLayout { tlTop, tlCenter, tlBottom };
DECLARE_ENUM_TYPE(TTextLayout)

class TLabelSettings {
public:
    TAlignment Alignment() const { return alignment_; }
    bool AutoSize() const { return auto_size_; }
    TWinControl* FocusControl() const { return focus_control_; }
    TTextLayout Layout() const { return layout_; }
    bool ShowAccelChar() const { return show_accel_char_; }
    bool WordWrap() const { return word_wrap_; }

protected:
    // DrawText flags for the alignment, word wrap and tab expansion.
    UINT TextFormat() const;
    // Readies text and flags to be drawn: no prefix without accelerators,
    // and, measured, an empty label still takes one line.
    void PrepareText(std::string& text, UINT& format) const;
    // How far text ending at textBottom moves down in a box of that height.
    int LayoutOffset(int boxHeight, int textBottom) const;
    // The left edge once the width changes, keeping the right edge of
    // right-aligned text.
    int32_t AutoSizedLeft(int32_t left, int32_t oldWidth, int32_t newWidth) const;
    // Measures with a canvas on the screen.
    static void MeasureOnScreen(const std::function<void(TCanvas&)>& measure);
    // Moves the focus to the focus control when key is the caption's
    // accelerator; true when it did.
    bool FocusOnAccel(unsigned key, bool enabled, const std::string& caption) const;

    TAlignment alignment_ = taLeftJustify;
    bool auto_size_ = true;
    TWinControl* focus_control_ = nullptr;
    TTextLayout layout_ = tlTop;
    bool show_accel_char_ = true;
    bool word_wrap_ = false;
};
