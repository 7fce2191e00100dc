// Alignment: a windowed control places its aligned children (top, bottom,
// left, right, then client) in its client area.
#include "classlib/gui/wincontrol.h"

#include <algorithm>
#include <vector>

#include "classlib/core/scope_exit.h"

void TWinControl::DisableAlign() {
    ++align_level_;
}

void TWinControl::EnableAlign() {
    if (--align_level_ == 0 && ControlState().Contains(csAlignmentNeeded)) Realign();
}

void TWinControl::Realign() {
    AlignControl(nullptr);
}

void TWinControl::AlignControl(TControl* control) {
    if (align_level_ > 0 || ComponentState().Contains(csLoading) || ComponentState().Contains(csDestroying)) {
        SetControlState(ControlState() + csAlignmentNeeded);
        return;
    }
    DisableAlign();
    // A child's handler that fails while it is placed must not leave the
    // alignment switched off for good.
    TScopeExit enable([this] { --align_level_; });
    SetControlState(ControlState() - csAlignmentNeeded);
    TRect rect = Rect(0, 0, Width(), Height());
    if (handle_) {
        GetClientRect(handle_, &rect);
    } else {
        // Without a window, the borders of the window to come are estimated.
        TCreateParams p;
        CreateParams(p);
        RECT frame{0, 0, 0, 0};
        AdjustWindowRectEx(&frame, p.Style, FALSE, p.ExStyle);
        rect = Rect(0, 0, std::max(0, Width() - RectWidth(frame)), std::max(0, Height() - RectHeight(frame)));
    }
    AdjustClientRect(rect);
    AlignControls(control, rect);
    SetControlState(ControlState() - csAlignmentNeeded);
}

void TWinControl::AdjustClientRect(TRect&) {}

void TWinControl::DoAlign(TAlign align, TRect& rect, TControl* changed) {
    std::vector<TControl*> list;
    for (TControl* c : controls_)
        if (c->Align() == align && c->Visible()) list.push_back(c);
    // The control being changed keeps its place; the others follow their
    // positions.
    auto key = [align](TControl* c) {
        switch (align) {
        case alTop: return c->Top();
        case alBottom: return -(c->Top() + c->Height());
        case alLeft: return c->Left();
        case alRight: return -(c->Left() + c->Width());
        default: return 0;
        }
    };
    std::stable_sort(list.begin(), list.end(), [&](TControl* a, TControl* b) {
        int ka = key(a), kb = key(b);
        if (ka != kb) return ka < kb;
        return a == changed && b != changed;
    });
    for (TControl* c : list) {
        int w = c->Width(), h = c->Height();
        TRect r;
        switch (align) {
        case alTop: r = Rect(rect.left, rect.top, rect.right, rect.top + h); rect.top += h; break;
        case alBottom: r = Rect(rect.left, rect.bottom - h, rect.right, rect.bottom); rect.bottom -= h; break;
        case alLeft: r = Rect(rect.left, rect.top, rect.left + w, rect.bottom); rect.left += w; break;
        case alRight: r = Rect(rect.right - w, rect.top, rect.right, rect.bottom); rect.right -= w; break;
        case alClient: r = rect; break;
        default: continue;
        }
        if (r.right < r.left) r.right = r.left;
        if (r.bottom < r.top) r.bottom = r.top;
        c->SetBoundsRect(r);
    }
}

void TWinControl::AlignControls(TControl* control, TRect& rect) {
    for (TAlign a : {alTop, alBottom, alLeft, alRight, alClient}) DoAlign(a, rect, control);
}
