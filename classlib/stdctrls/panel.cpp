#include "classlib/stdctrls/panel.h"

#include <algorithm>

#include "classlib/core/class_builder.h"
#include "classlib/stdctrls/frame3d.h"

DEFINE_ENUM_TYPE(TPanelBevel, "bvNone", "bvLowered", "bvRaised", "bvSpace")

const TClassInfo& TCustomPanel::StaticClass() {
    static const TClassInfo info = DefineClass<TCustomPanel>("TCustomPanel", &TCustomControl::StaticClass(), [](auto& c) {
        PROPERTY(c, Alignment).Default(taCenter).Hidden();
        PROPERTY(c, BevelInner).Default(bvNone).Hidden();
        PROPERTY(c, BevelOuter).Default(bvRaised).Hidden();
        PROPERTY(c, BevelWidth).Default(1).Hidden();
        PROPERTY(c, BorderWidth).Default(0).Hidden();
        PROPERTY(c, BorderStyle, BorderStyleType()).Default(bsNone).Hidden();
        PROPERTY(c, FullRepaint).Default(true).Hidden();
    });
    return info;
}

const TClassInfo& TPanel::StaticClass() {
    static const TClassInfo info = DefineClass<TPanel>("TPanel", &TCustomPanel::StaticClass(), [](auto& c) {
        c.Creatable();
        c.PublishAll("Align", "Alignment", "BevelInner", "BevelOuter", "BevelWidth", "BorderWidth", "BorderStyle",
                     "Caption", "Color", "Ctl3D", "DragCursor", "DragMode", "Enabled", "FullRepaint", "Font",
                     "ParentColor", "ParentCtl3D", "ParentFont", "ParentShowHint", "ShowHint", "TabOrder",
                     "TabStop", "Visible", "OnClick", "OnDblClick", "OnEnter", "OnExit", "OnMouseDown",
                     "OnMouseMove", "OnMouseUp", "OnResize");
        c.Publish("Color").Default(clBtnFace);
        c.Publish("ParentColor").Default(false);
    });
    return info;
}

TCustomPanel::TCustomPanel(TComponent* owner) : TCustomControl(owner) {
    SetControlStyle(TControlStyle{csAcceptsControls, csCaptureMouse, csClickEvents, csSetCaption, csOpaque,
                                  csDoubleClicks, csReplicatable});
    SetBounds(0, 0, 185, 41);
    SetColor(clBtnFace);
}

void TCustomPanel::SetAlignment(TAlignment value) {
    ChangeAndInvalidate(alignment_, value);
}

void TCustomPanel::SetBevelInner(TPanelBevel value) {
    if (bevel_inner_ == value) return;
    bevel_inner_ = value;
    FrameChanged();
}

void TCustomPanel::SetBevelOuter(TPanelBevel value) {
    if (bevel_outer_ == value) return;
    bevel_outer_ = value;
    FrameChanged();
}

void TCustomPanel::SetBevelWidth(int32_t value) {
    if (value < 1) value = 1;
    if (bevel_width_ == value) return;
    bevel_width_ = value;
    FrameChanged();
}

void TCustomPanel::SetBorderWidth(int32_t value) {
    if (value < 0) value = 0;
    if (border_width_ == value) return;
    border_width_ = value;
    FrameChanged();
}

void TCustomPanel::SetBorderStyle(TBorderStyle value) {
    if (border_style_ == value) return;
    border_style_ = value;
    RecreateWnd();
    Realign();
}

void TCustomPanel::FrameChanged() {
    Realign();
    Invalidate();
}

int32_t TCustomPanel::FrameWidth() const {
    int32_t width = border_width_;
    if (bevel_outer_ != bvNone) width += bevel_width_;
    if (bevel_inner_ != bvNone) width += bevel_width_;
    return width;
}

void TCustomPanel::AdjustClientRect(TRect& rect) {
    TCustomControl::AdjustClientRect(rect);
    int32_t frame = FrameWidth();
    InflateRect(&rect, -frame, -frame);
}

void TCustomPanel::CreateParams(TCreateParams& p) {
    TCustomControl::CreateParams(p);
    if (border_style_ == bsSingle) {
        if (Ctl3D()) p.ExStyle |= WS_EX_CLIENTEDGE;
        else p.Style |= WS_BORDER;
    }
    // Paint redraws what a size change uncovers (see WM_WINDOWPOSCHANGED).
    p.WindowClass.style &= ~static_cast<UINT>(CS_HREDRAW | CS_VREDRAW);
}

void TCustomPanel::Dispatch(TMessage& m) {
    switch (m.Msg) {
    case CM_TEXTCHANGED:
        Invalidate();
        return;
    case WM_WINDOWPOSCHANGED: {
        auto* pos = reinterpret_cast<WINDOWPOS*>(m.LParam);
        if (full_repaint_ || !Caption().empty()) {
            Invalidate();
        } else if (int32_t frame = FrameWidth(); frame > 0 && HandleAllocated() && !(pos->flags & SWP_NOSIZE)) {
            // Only the frame along the moving edges needs drawing again: where
            // it was (growing) and where it comes (shrinking).
            RECT client;
            GetClientRect(handle_, &client);
            int32_t dx = pos->cx - Width(), dy = pos->cy - Height();
            if (dx != 0) {
                RECT r{std::min(client.right, client.right - dx) - frame - 1, 0, client.right, client.bottom};
                InvalidateRect(handle_, &r, TRUE);
            }
            if (dy != 0) {
                RECT r{0, std::min(client.bottom, client.bottom - dy) - frame - 1, client.right, client.bottom};
                InvalidateRect(handle_, &r, TRUE);
            }
        }
        break;
    }
    }
    TCustomControl::Dispatch(m);
}

void TCustomPanel::Paint() {
    TCanvas& canvas = *Canvas();
    TRect rect = ClientRect();
    auto bevelColors = [](TPanelBevel bevel, TColor& top, TColor& bottom) {
        top = bevel == bvLowered ? clBtnShadow : clBtnHighlight;
        bottom = bevel == bvLowered ? clBtnHighlight : clBtnShadow;
    };
    TColor top, bottom;
    if (bevel_outer_ != bvNone) {
        bevelColors(bevel_outer_, top, bottom);
        Frame3D(canvas, rect, top, bottom, bevel_width_);
    }
    Frame3D(canvas, rect, Color(), Color(), border_width_);
    if (bevel_inner_ != bvNone) {
        bevelColors(bevel_inner_, top, bottom);
        Frame3D(canvas, rect, top, bottom, bevel_width_);
    }
    canvas.Brush().SetStyle(bsSolid);
    canvas.Brush().SetColor(Color());
    canvas.FillRect(rect);

    std::string caption = Caption();
    if (caption.empty()) return;
    canvas.Brush().SetStyle(bsClear);
    canvas.SetFont(*Font());
    int fontHeight = canvas.TextHeight("W");
    rect.top = (rect.bottom + rect.top - fontHeight) / 2;
    rect.bottom = rect.top + fontHeight;
    static const UINT alignments[] = {DT_LEFT, DT_RIGHT, DT_CENTER};
    DrawTextA(canvas.Handle(), caption.c_str(), static_cast<int>(caption.size()), &rect,
              DT_EXPANDTABS | DT_VCENTER | alignments[alignment_]);
}
