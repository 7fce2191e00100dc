// Fonts as value objects: face, character set, colour, pitch, style and
// height, with the size in points derived through the pixels per inch.
// Later the font also owns a GDI handle; Changed() is where it will be
// dropped.
#pragma once
#include <cstdint>
#include <string>

#include "classlib/core/color.h"
#include "classlib/core/events.h"
#include "classlib/core/persistent.h"
#include "classlib/core/sets.h"
#include "classlib/core/typinfo.h"

enum TFontPitch { fpDefault, fpVariable, fpFixed };
DECLARE_ENUM_TYPE(TFontPitch)

enum TFontStyle { fsBold, fsItalic, fsUnderline, fsStrikeOut };
DECLARE_ENUM_TYPE(TFontStyle)
using TFontStyles = TSet<TFontStyle>;

// Pixels per inch of the screen, which new fonts take; 96 until the program
// sets the screen's at start-up. Values of 0 or less restore 96.
int32_t ScreenPixelsPerInch();
void SetScreenPixelsPerInch(int32_t pixelsPerInch);

class TFont : public TPersistent {
    DECLARE_CLASS(TFont, TPersistent)
public:
    TFont();

    // Copies face, character set, colour, pitch and style. The height is
    // copied when both fonts have the same pixels per inch, otherwise the
    // size in points is (so the text keeps its printed size). PixelsPerInch
    // stays. One OnChange at most.
    void Assign(const TPersistent* source) override;

    const std::string& Name() const { return name_; }
    // An empty name is ignored: a face must be named.
    void SetName(const std::string& name);
    uint8_t Charset() const { return charset_; }
    void SetCharset(uint8_t charset);
    TColor Color() const { return color_; }
    void SetColor(TColor color);
    TFontPitch Pitch() const { return pitch_; }
    void SetPitch(TFontPitch pitch);
    TFontStyles Style() const { return style_; }
    void SetStyle(TFontStyles style);
    // Character height in pixels; negative values measure the glyphs
    // without the internal leading, as Windows does.
    int32_t Height() const { return height_; }
    void SetHeight(int32_t height);

    // Size in points: -Height * 72 / PixelsPerInch, rounded half away from
    // zero. A PixelsPerInch of 0 or less converts with the screen's.
    int32_t Size() const;
    void SetSize(int32_t size);
    // Not a change of the font itself: Height stays, Size follows.
    int32_t PixelsPerInch() const { return pixels_per_inch_; }
    void SetPixelsPerInch(int32_t pixelsPerInch) { pixels_per_inch_ = pixelsPerInch; }

    TNotifyEvent OnChange;

protected:
    // Runs once after every change of the font's appearance.
    virtual void Changed();

private:
    int32_t EffectivePixelsPerInch() const;
    int32_t HeightForSize(int32_t size) const;

    std::string name_ = "MS Sans Serif";
    uint8_t charset_ = DEFAULT_CHARSET;
    TColor color_ = clWindowText;
    TFontPitch pitch_ = fpDefault;
    TFontStyles style_;
    int32_t height_ = -11;
    int32_t pixels_per_inch_;
};
