#include "classlib/stdctrls/bevel.h"

#include "classlib/core/class_builder.h"

DEFINE_ENUM_TYPE(TBevelShape, "bsBox", "bsFrame", "bsTopLine", "bsBottomLine", "bsLeftLine", "bsRightLine",
                 "bsSpacer")
DEFINE_ENUM_TYPE(TBevelStyle, "bsLowered", "bsRaised")

const TClassInfo& TBevel::StaticClass() {
    static const TClassInfo info = DefineClass<TBevel>("TBevel", &TGraphicControl::StaticClass(), [](auto& c) {
        c.Creatable();
        c.PublishAll("Align", "ParentShowHint");
        PROPERTY(c, Shape).Default(bsBox);
        c.PublishAll("ShowHint");
        PROPERTY(c, Style).Default(bsLowered);
        c.PublishAll("Visible");
    });
    return info;
}

TBevel::TBevel(TComponent* owner) : TGraphicControl(owner) {
    SetControlStyle(ControlStyle() + csReplicatable);
    SetBounds(0, 0, 50, 50);
}

void TBevel::SetShape(TBevelShape value) {
    ChangeAndInvalidate(shape_, value);
}

void TBevel::SetStyle(TBevelStyle value) {
    ChangeAndInvalidate(style_, value);
}

void TBevel::Paint() {
    TCanvas& canvas = *Canvas();
    canvas.Pen().SetWidth(1);
    canvas.Pen().SetStyle(psSolid);
    TColor first = style_ == bsLowered ? clBtnShadow : clBtnHighlight;
    TColor second = style_ == bsLowered ? clBtnHighlight : clBtnShadow;
    // Top and left sides in one colour, bottom and right in the other.
    auto bevelRect = [&](const TRect& r, TColor topLeft, TColor bottomRight) {
        TPoint a[] = {Point(r.left, r.bottom), Point(r.left, r.top), Point(r.right, r.top)};
        canvas.Pen().SetColor(topLeft);
        canvas.Polyline(a, 3);
        TPoint b[] = {Point(r.right, r.top), Point(r.right, r.bottom), Point(r.left, r.bottom)};
        canvas.Pen().SetColor(bottomRight);
        canvas.Polyline(b, 3);
    };
    auto line = [&](TColor color, int x1, int y1, int x2, int y2) {
        canvas.Pen().SetColor(color);
        canvas.MoveTo(x1, y1);
        canvas.LineTo(x2, y2);
    };
    int w = Width(), h = Height();
    switch (shape_) {
    case bsBox: bevelRect(Rect(0, 0, w - 1, h - 1), first, second); break;
    case bsFrame:
        // Two boxes of opposite colours, one pixel apart: an etched line.
        bevelRect(Rect(1, 1, w - 1, h - 1), second, second);
        bevelRect(Rect(0, 0, w - 2, h - 2), first, first);
        break;
    case bsTopLine:
        line(first, 0, 0, w, 0);
        line(second, 0, 1, w, 1);
        break;
    case bsBottomLine:
        line(first, 0, h - 2, w, h - 2);
        line(second, 0, h - 1, w, h - 1);
        break;
    case bsLeftLine:
        line(first, 0, 0, 0, h);
        line(second, 1, 0, 1, h);
        break;
    case bsRightLine:
        line(first, w - 2, 0, w - 2, h);
        line(second, w - 1, 0, w - 1, h);
        break;
    case bsSpacer: break;
    }
}
