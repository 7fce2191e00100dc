#include "classlib/stdctrls/splitter.h"

#include "classlib/core/class_builder.h"
#include "classlib/gui/forms.h"

DEFINE_ENUM_TYPE(TResizeStyle, "rsNone", "rsLine", "rsUpdate", "rsPattern")

const TClassInfo& TSplitter::StaticClass() {
    static const TClassInfo info = DefineClass<TSplitter>("TSplitter", &TGraphicControl::StaticClass(), [](auto& c) {
        c.Creatable();
        c.Publish("Align").Default(alLeft);
        c.Publish("Color");
        PROPERTY(c, Beveled).Default(false);
        c.Publish("Cursor").Default(crHSplit);
        PROPERTY(c, MinSize).Default(30);
        c.Publish("ParentColor");
        PROPERTY(c, ResizeStyle).Default(rsPattern);
        c.Publish("Visible");
        EVENT(c, OnCanResize);
        EVENT(c, OnMoved);
        EVENT(c, OnPaint);
    });
    return info;
}

TSplitter::TSplitter(TComponent* owner) : TGraphicControl(owner) {
    SetAlign(alLeft);
    SetBounds(0, 0, 3, 100);
    SetCursor(crHSplit);
}

TSplitter::~TSplitter() {
    StopSizing();
}

void TSplitter::SetBeveled(bool value) {
    ChangeAndInvalidate(beveled_, value);
}

void TSplitter::SyncCursor() {
    if (Cursor() != crHSplit && Cursor() != crVSplit) return;
    SetCursor(Horizontal() || Align() == alNone ? crHSplit : crVSplit);
}

void TSplitter::Loaded() {
    TGraphicControl::Loaded();
    SyncCursor();
}

void TSplitter::Dispatch(TMessage& m) {
    // The cursor is looked up right after hit-testing.
    if (m.Msg == CM_HITTEST) SyncCursor();
    TGraphicControl::Dispatch(m);
}

void TSplitter::Paint() {
    SyncCursor();
    TCanvas& canvas = *Canvas();
    TRect r = ClientRect();
    canvas.Brush().SetStyle(bsSolid);
    canvas.Brush().SetColor(Color());
    canvas.FillRect(r);
    if (beveled_) {
        if (Horizontal()) InflateRect(&r, -1, 2);
        else InflateRect(&r, 2, -1);
        OffsetRect(&r, 1, 1);
        canvas.Brush().SetColor(clBtnHighlight);
        canvas.FrameRect(r);
        OffsetRect(&r, -2, -2);
        canvas.Brush().SetColor(clBtnShadow);
        canvas.FrameRect(r);
    }
    if (OnPaint) OnPaint(this);
}

TControl* TSplitter::FindSplitControl() const {
    TWinControl* parent = Parent();
    if (!parent) return nullptr;
    TPoint p = Point(Left(), Top());
    switch (Align()) {
    case alLeft: --p.x; break;
    case alRight: p.x += Width(); break;
    case alTop: --p.y; break;
    case alBottom: p.y += Height(); break;
    default: return nullptr;
    }
    bool before = Align() == alLeft || Align() == alTop;
    for (int i = 0; i < parent->ControlCount(); ++i) {
        TControl* c = parent->Controls(i);
        if (c == this || !c->Visible() || !c->Enabled()) continue;
        TRect r = c->BoundsRect();
        // A control of no extent still counts on its own side.
        if (RectWidth(r) == 0) (before ? r.left : r.right) += before ? -1 : 1;
        if (RectHeight(r) == 0) (before ? r.top : r.bottom) += before ? -1 : 1;
        if (PtInRect(r, p)) return c;
    }
    return nullptr;
}

bool TSplitter::CanResize(int& newSize) {
    bool accept = true;
    if (OnCanResize) OnCanResize(this, newSize, accept);
    return accept;
}

void TSplitter::CalcSplitSize(int x, int y, int& newSize, int& split) const {
    split = Horizontal() ? x - down_pos_.x : y - down_pos_.y;
    int size = 0;
    switch (Align()) {
    case alLeft: size = control_->Width() + split; break;
    case alRight: size = control_->Width() - split; break;
    case alTop: size = control_->Height() + split; break;
    case alBottom: size = control_->Height() - split; break;
    default: break;
    }
    newSize = std::clamp(size, static_cast<int>(min_size_), std::max(max_size_, static_cast<int>(min_size_)));
    if (size != newSize) {
        // The line stops where the size stops.
        if (Align() == alRight || Align() == alBottom) split += size - newSize;
        else split += newSize - size;
    }
}

void TSplitter::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
    TGraphicControl::MouseDown(button, shift, x, y);
    if (button != mbLeft) return;
    control_ = FindSplitControl();
    down_pos_ = Point(x, y);
    if (!control_) return;
    TWinControl* parent = Parent();
    bool horizontal = Horizontal();
    max_size_ = (horizontal ? parent->ClientWidth() : parent->ClientHeight()) - min_size_;
    for (int i = 0; i < parent->ControlCount(); ++i) {
        TControl* c = parent->Controls(i);
        if (!c->Visible()) continue;
        if (horizontal && (c->Align() == alLeft || c->Align() == alRight)) max_size_ -= c->Width();
        if (!horizontal && (c->Align() == alTop || c->Align() == alBottom)) max_size_ -= c->Height();
    }
    max_size_ += horizontal ? control_->Width() : control_->Height();
    old_size_ = -1;
    CalcSplitSize(x, y, new_size_, split_);
    if (resize_style_ == rsLine || resize_style_ == rsPattern) {
        StartLine();
        DrawLine();
    }
}

void TSplitter::MouseMove(TShiftState shift, int x, int y) {
    TGraphicControl::MouseMove(shift, x, y);
    if (!shift.Contains(ssLeft) || !control_) return;
    int newSize, split;
    CalcSplitSize(x, y, newSize, split);
    if (!CanResize(newSize)) return;
    bool line = LineDC() != nullptr;
    if (line) DrawLine();
    new_size_ = newSize;
    split_ = split;
    if (resize_style_ == rsUpdate) UpdateControlSize();
    if (line) DrawLine();
}

void TSplitter::MouseUp(TMouseButton button, TShiftState shift, int x, int y) {
    TGraphicControl::MouseUp(button, shift, x, y);
    if (!control_) return;
    if (line_visible_) DrawLine();
    UpdateControlSize();
    StopSizing();
}

void TSplitter::UpdateControlSize() {
    if (!control_ || new_size_ == old_size_) return;
    TWinControl* parent = Parent();
    switch (Align()) {
    case alLeft: control_->SetWidth(new_size_); break;
    case alTop: control_->SetHeight(new_size_); break;
    case alRight:
        // Its left edge moves; the width follows in the same layout pass.
        parent->DisableAlign();
        control_->SetBounds(control_->Left() + control_->Width() - new_size_, control_->Top(), new_size_,
                            control_->Height());
        parent->EnableAlign();
        break;
    case alBottom:
        parent->DisableAlign();
        control_->SetBounds(control_->Left(), control_->Top() + control_->Height() - new_size_, control_->Width(),
                            new_size_);
        parent->EnableAlign();
        break;
    default: break;
    }
    Update();
    old_size_ = new_size_;
    if (OnMoved) OnMoved(this);
}

void TSplitter::StartLine() {
    TWinControl* parent = Parent();
    if (!parent || LineDC()) return;
    line_dc_.emplace(parent->Handle(), DCX_CACHE | DCX_CLIPSIBLINGS | DCX_LOCKWINDOWUPDATE);
    if (resize_style_ == rsPattern && LineDC()) {
        // A halftone line, as the system draws window frames being dragged.
        static const WORD pattern[8] = {0x55, 0xAA, 0x55, 0xAA, 0x55, 0xAA, 0x55, 0xAA};
        TGdiObject bitmap(CreateBitmap(8, 8, 1, 1, pattern));
        line_brush_.Reset(CreatePatternBrush(static_cast<HBITMAP>(bitmap.Get())));
        line_brush_selected_.emplace(LineDC(), line_brush_.Get());
    }
}

void TSplitter::DrawLine() {
    if (!LineDC()) return;
    line_visible_ = !line_visible_;
    TPoint p = Point(Left(), Top());
    if (Horizontal()) p.x += split_;
    else p.y += split_;
    PatBlt(LineDC(), p.x, p.y, Width(), Height(), PATINVERT);
}

void TSplitter::StopSizing() {
    if (line_visible_) DrawLine();
    line_brush_selected_.reset();
    line_dc_.reset();
    line_brush_.Reset();
    line_visible_ = false;
    control_ = nullptr;
}
