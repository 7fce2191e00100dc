#include "classlib/gui/graphics_objects.h"

#include <map>
#include <mutex>
#include <tuple>

#include "classlib/core/class_builder.h"

DEFINE_ENUM_TYPE(TPenStyle, "psSolid", "psDash", "psDot", "psDashDot", "psDashDotDot", "psClear", "psInsideFrame")
DEFINE_ENUM_TYPE(TPenMode, "pmBlack", "pmWhite", "pmNop", "pmNot", "pmCopy", "pmNotCopy", "pmMergePenNot",
                 "pmMaskPenNot", "pmMergeNotPen", "pmMaskNotPen", "pmMerge", "pmNotMerge", "pmMask", "pmNotMask",
                 "pmXor", "pmNotXor")
DEFINE_ENUM_TYPE(TBrushStyle, "bsSolid", "bsClear", "bsHorizontal", "bsVertical", "bsFDiagonal", "bsBDiagonal",
                 "bsCross", "bsDiagCross")

const TClassInfo& TPen::StaticClass() {
    static const TClassInfo info = DefineClass<TPen>("TPen", &TPersistent::StaticClass(), [](auto& c) {
        c.Creatable();
        PROPERTY(c, Color, TypeInfoColor()).Default(clBlack);
        PROPERTY(c, Mode).Default(pmCopy);
        PROPERTY(c, Style).Default(psSolid);
        PROPERTY(c, Width).Default(1);
    });
    return info;
}

const TClassInfo& TBrush::StaticClass() {
    static const TClassInfo info = DefineClass<TBrush>("TBrush", &TPersistent::StaticClass(), [](auto& c) {
        c.Creatable();
        PROPERTY(c, Color, TypeInfoColor()).Default(clWhite);
        PROPERTY(c, Style).Default(bsSolid);
    });
    return info;
}

void TPen::Assign(const TPersistent* source) {
    if (auto* pen = dynamic_cast<const TPen*>(source)) {
        color_ = pen->color_;
        width_ = pen->width_;
        style_ = pen->style_;
        mode_ = pen->mode_;
        Changed();
        return;
    }
    TPersistent::Assign(source);
}

void TPen::SetColor(TColor color) {
    if (color_ == color) return;
    color_ = color;
    Changed();
}
void TPen::SetWidth(int32_t width) {
    if (width < 0 || width_ == width) return;
    width_ = width;
    Changed();
}
void TPen::SetStyle(TPenStyle style) {
    if (style_ == style) return;
    style_ = style;
    Changed();
}
void TPen::SetMode(TPenMode mode) {
    if (mode_ == mode) return;
    mode_ = mode;
    Changed();
}

void TPen::Changed() {
    handle_.Reset();
    if (OnChange) OnChange(this);
}

HPEN TPen::Handle() {
    if (!handle_.Get()) {
        static const int styles[] = {PS_SOLID, PS_DASH, PS_DOT, PS_DASHDOT, PS_DASHDOTDOT, PS_NULL, PS_INSIDEFRAME};
        handle_.Reset(CreatePen(styles[style_], width_, static_cast<COLORREF>(ColorToRGB(color_))));
    }
    return static_cast<HPEN>(handle_.Get());
}

void TBrush::Assign(const TPersistent* source) {
    if (auto* brush = dynamic_cast<const TBrush*>(source)) {
        color_ = brush->color_;
        style_ = brush->style_;
        Changed();
        return;
    }
    TPersistent::Assign(source);
}

void TBrush::SetColor(TColor color) {
    if (color_ == color && style_ != bsClear) return;
    color_ = color;
    if (style_ == bsClear) style_ = bsSolid;
    Changed();
}
void TBrush::SetStyle(TBrushStyle style) {
    if (style_ == style) return;
    style_ = style;
    Changed();
}

void TBrush::Changed() {
    handle_.Reset();
    if (OnChange) OnChange(this);
}

HBRUSH TBrush::Handle() {
    if (!handle_.Get()) {
        COLORREF rgb = static_cast<COLORREF>(ColorToRGB(color_));
        LOGBRUSH lb{};
        lb.lbColor = rgb;
        switch (style_) {
        case bsSolid: lb.lbStyle = BS_SOLID; break;
        case bsClear: lb.lbStyle = BS_HOLLOW; break;
        default:
            lb.lbStyle = BS_HATCHED;
            lb.lbHatch = static_cast<ULONG_PTR>(style_ - bsHorizontal);  // HS_HORIZONTAL .. HS_DIAGCROSS
        }
        handle_.Reset(CreateBrushIndirect(&lb));
    }
    return static_cast<HBRUSH>(handle_.Get());
}

LOGFONTA FontToLogFont(const TFont& font) {
    LOGFONTA lf{};
    lf.lfHeight = font.Height();
    lf.lfWeight = font.Style().Contains(fsBold) ? FW_BOLD : FW_NORMAL;
    lf.lfItalic = font.Style().Contains(fsItalic);
    lf.lfUnderline = font.Style().Contains(fsUnderline);
    lf.lfStrikeOut = font.Style().Contains(fsStrikeOut);
    lf.lfCharSet = font.Charset();
    lf.lfOutPrecision = OUT_DEFAULT_PRECIS;
    lf.lfClipPrecision = CLIP_DEFAULT_PRECIS;
    lf.lfQuality = DEFAULT_QUALITY;
    lf.lfPitchAndFamily = font.Pitch() == fpFixed ? FIXED_PITCH : font.Pitch() == fpVariable ? VARIABLE_PITCH
                                                                                             : DEFAULT_PITCH;
    std::string name = font.Name().substr(0, LF_FACESIZE - 1);
    memcpy(lf.lfFaceName, name.c_str(), name.size() + 1);
    return lf;
}

void LogFontToFont(const LOGFONTA& lf, TFont& font) {
    TFontStyles style;
    if (lf.lfWeight >= FW_BOLD) style.Include(fsBold);
    if (lf.lfItalic) style.Include(fsItalic);
    if (lf.lfUnderline) style.Include(fsUnderline);
    if (lf.lfStrikeOut) style.Include(fsStrikeOut);
    font.SetName(lf.lfFaceName);
    font.SetHeight(lf.lfHeight);
    font.SetStyle(style);
    font.SetCharset(lf.lfCharSet);
    int pitch = lf.lfPitchAndFamily & 3;
    font.SetPitch(pitch == FIXED_PITCH ? fpFixed : pitch == VARIABLE_PITCH ? fpVariable : fpDefault);
}

HFONT FontHandle(const TFont& font) {
    using Key = std::tuple<std::string, int32_t, uint32_t, uint8_t, int>;
    static std::map<Key, HFONT> cache;
    static std::mutex lock;
    Key key{font.Name(), font.Height(), font.Style().Bits(), font.Charset(), static_cast<int>(font.Pitch())};
    std::lock_guard<std::mutex> guard(lock);
    auto it = cache.find(key);
    if (it != cache.end()) return it->second;
    LOGFONTA lf = FontToLogFont(font);
    HFONT h = CreateFontIndirectA(&lf);
    cache.emplace(key, h);
    return h;
}
