#include "classlib/core/font.h"

#include "classlib/core/class_builder.h"

#include <algorithm>
#include <atomic>
#include <climits>

DEFINE_ENUM_TYPE(TFontPitch, "fpDefault", "fpVariable", "fpFixed")
DEFINE_ENUM_TYPE(TFontStyle, "fsBold", "fsItalic", "fsUnderline", "fsStrikeOut")

namespace {

std::atomic<int32_t> g_screen_ppi{96};

// value * numerator / denominator (denominator > 0), rounded half away from
// zero and kept within +-INT32_MAX, so that the result can be negated:
// sizes and heights from a file saturate instead of overflowing.
int32_t ScaleSaturated(int32_t value, int32_t numerator, int32_t denominator) {
    const int64_t product = static_cast<int64_t>(value) * numerator;
    const int64_t magnitude = (product < 0 ? -product : product) + denominator / 2;
    const int64_t quotient = std::min<int64_t>(magnitude / denominator, INT32_MAX);
    return static_cast<int32_t>(product < 0 ? -quotient : quotient);
}

}  // namespace

int32_t ScreenPixelsPerInch() {
    return g_screen_ppi.load();
}

void SetScreenPixelsPerInch(int32_t pixelsPerInch) {
    g_screen_ppi.store(pixelsPerInch > 0 ? pixelsPerInch : 96);
}

const TClassInfo& TFont::StaticClass() {
    static const TClassInfo info = DefineClass<TFont>("TFont", &TPersistent::StaticClass(), [](auto& c) {
        c.Creatable();
        // Layouts carry plain integers: one outside 0..255 is refused, not
        // cut to a byte.
        c.Prop(
             "Charset", [](const TFont& f) { return static_cast<int32_t>(f.Charset()); },
             [](TFont& f, int32_t v) {
                 if (v < 0 || v > 255) RaiseInvalidPropertyValue();
                 f.SetCharset(static_cast<uint8_t>(v));
             },
             TypeInfoFontCharset())
            .Default(DEFAULT_CHARSET);
        PROPERTY(c, Color, TypeInfoColor()).Default(clWindowText);
        PROPERTY(c, Height).NoDefaultValue();
        PROPERTY(c, Name);
        PROPERTY(c, Pitch).Default(fpDefault);
        PROPERTY(c, Size).Stored(false);
        PROPERTY(c, Style).Default(0);
    });
    return info;
}

TFont::TFont() : pixels_per_inch_(ScreenPixelsPerInch()) {}

void TFont::Changed() {
    if (OnChange) OnChange(this);
}

void TFont::Assign(const TPersistent* source) {
    const auto* font = dynamic_cast<const TFont*>(source);
    if (!font) {
        TPersistent::Assign(source);
        return;
    }
    if (font == this) return;
    int32_t height = EffectivePixelsPerInch() == font->EffectivePixelsPerInch() ? font->height_
                                                                                  : HeightForSize(font->Size());
    bool changed = name_ != font->name_ || charset_ != font->charset_ || color_ != font->color_ ||
                   pitch_ != font->pitch_ || style_ != font->style_ || height_ != height;
    name_ = font->name_;
    charset_ = font->charset_;
    color_ = font->color_;
    pitch_ = font->pitch_;
    style_ = font->style_;
    height_ = height;
    if (changed) Changed();
}

void TFont::SetName(const std::string& name) {
    if (name.empty() || name == name_) return;
    name_ = name;
    Changed();
}

void TFont::SetCharset(uint8_t charset) {
    if (charset == charset_) return;
    charset_ = charset;
    Changed();
}

void TFont::SetColor(TColor color) {
    if (color == color_) return;
    color_ = color;
    Changed();
}

void TFont::SetPitch(TFontPitch pitch) {
    if (pitch == pitch_) return;
    pitch_ = pitch;
    Changed();
}

void TFont::SetStyle(TFontStyles style) {
    if (style == style_) return;
    style_ = style;
    Changed();
}

void TFont::SetHeight(int32_t height) {
    if (height == height_) return;
    height_ = height;
    Changed();
}

int32_t TFont::EffectivePixelsPerInch() const {
    return pixels_per_inch_ > 0 ? pixels_per_inch_ : ScreenPixelsPerInch();
}

int32_t TFont::HeightForSize(int32_t size) const {
    return -ScaleSaturated(size, EffectivePixelsPerInch(), 72);
}

int32_t TFont::Size() const {
    return -ScaleSaturated(height_, 72, EffectivePixelsPerInch());
}

void TFont::SetSize(int32_t size) {
    SetHeight(HeightForSize(size));
}
