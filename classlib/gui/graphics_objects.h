// Pens and brushes with their GDI handles, and the GDI fonts made from
// TFont values.
#pragma once
#include "classlib/core/color.h"
#include "classlib/core/events.h"
#include "classlib/core/font.h"
#include "classlib/core/persistent.h"
#include "classlib/gui/scoped_win32.h"
#include "classlib/gui/win32.h"

enum TPenStyle { psSolid, psDash, psDot, psDashDot, psDashDotDot, psClear, psInsideFrame };
DECLARE_ENUM_TYPE(TPenStyle)
enum TPenMode {
    pmBlack, pmWhite, pmNop, pmNot, pmCopy, pmNotCopy, pmMergePenNot, pmMaskPenNot, pmMergeNotPen,
    pmMaskNotPen, pmMerge, pmNotMerge, pmMask, pmNotMask, pmXor, pmNotXor
};
DECLARE_ENUM_TYPE(TPenMode)
enum TBrushStyle { bsSolid, bsClear, bsHorizontal, bsVertical, bsFDiagonal, bsBDiagonal, bsCross, bsDiagCross };
DECLARE_ENUM_TYPE(TBrushStyle)

class TPen : public TPersistent {
    DECLARE_CLASS(TPen, TPersistent)
public:
    void Assign(const TPersistent* source) override;
    TColor Color() const { return color_; }
    void SetColor(TColor color);
    int32_t Width() const { return width_; }
    void SetWidth(int32_t width);
    TPenStyle Style() const { return style_; }
    void SetStyle(TPenStyle style);
    TPenMode Mode() const { return mode_; }
    void SetMode(TPenMode mode);
    HPEN Handle();
    TNotifyEvent OnChange;

private:
    void Changed();
    TColor color_ = clBlack;
    int32_t width_ = 1;
    TPenStyle style_ = psSolid;
    TPenMode mode_ = pmCopy;
    TGdiObject handle_;
};

class TBrush : public TPersistent {
    DECLARE_CLASS(TBrush, TPersistent)
public:
    void Assign(const TPersistent* source) override;
    TColor Color() const { return color_; }
    void SetColor(TColor color);
    TBrushStyle Style() const { return style_; }
    void SetStyle(TBrushStyle style);
    HBRUSH Handle();
    TNotifyEvent OnChange;

private:
    void Changed();
    TColor color_ = clWhite;
    TBrushStyle style_ = bsSolid;
    TGdiObject handle_;
};

// The GDI font for a font's current values. Handles are shared between all
// fonts with the same values and live until the program ends.
HFONT FontHandle(const TFont& font);
// The logical font the handle is made from.
LOGFONTA FontToLogFont(const TFont& font);
// Takes face, height, style, charset and pitch from a logical font.
void LogFontToFont(const LOGFONTA& logFont, TFont& font);
