#include "controls/ex_speed_button.h"

#include "classlib/core/class_builder.h"
#include "classlib/core/scope_exit.h"
#include "classlib/gui/actions.h"
#include "classlib/gui/forms.h"
#include "classlib/gui/menus.h"
#include "classlib/gui/scoped_win32.h"
#include "classlib/stdctrls/accel.h"
#include "classlib/stdctrls/timer.h"
#include "controls/drawing_utils.h"
#include "controls/window_utils.h"

DEFINE_ENUM_TYPE(TExDropDownMenuPos, "dmpBottom", "dmpRight")

namespace {

// The face of a button held down in its group: a fine checker of face and
// highlight.
TGdiObject DitherBrush() {
    TOwned<TBitmap> pattern(New<TBitmap>());
    pattern->SetSize(8, 8);
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 8; ++x) pattern->Canvas()->SetPixel(x, y, (x + y) % 2 ? clBtnHighlight : clBtnFace);
    pattern->Dormant();
    return TGdiObject(CreatePatternBrush(pattern->Handle()));
}

UINT AlignmentFlag(TAlignment alignment) {
    switch (alignment) {
    case taLeftJustify: return DT_LEFT;
    case taRightJustify: return DT_RIGHT;
    default: return DT_CENTER;
    }
}

}  // namespace

const TClassInfo& TExSpeedButton::StaticClass() {
    static const TClassInfo info =
        DefineClass<TExSpeedButton>("TExSpeedButton", &TGraphicControl::StaticClass(), [](auto& c) {
            c.Creatable();
            c.Publish("Action");
            PROPERTY(c, Alignment).Default(taCenter);
            PROPERTY(c, AllowAllUp).Default(false);
            PROPERTY(c, AllowTimer).Default(false);
            // Before Down: only grouped buttons can be down.
            PROPERTY(c, GroupIndex).Default(0);
            PROPERTY(c, Down).Default(false);
            PROPERTY(c, DropDownMenu);
            PROPERTY(c, MenuPosition).Default(dmpBottom);
            c.PublishAll("Caption", "DragCursor", "DragMode", "Enabled");
            PROPERTY(c, Flat).Default(false);
            c.Publish("Font");
            PROPERTY(c, Glyph);
            PROPERTY(c, GrayedInactive).Default(true);
            PROPERTY(c, InitPause).Default(500);
            PROPERTY(c, Layout).Default(blGlyphTop);
            PROPERTY(c, Margin).Default(-1);
            PROPERTY(c, MarkDropDown).Default(true);
            PROPERTY(c, ModalResult, ModalResultType()).Default(mrNone);
            PROPERTY(c, NumGlyphs).Default(1);
            c.Publish("ParentFont");
            c.Publish("ParentShowHint").Default(false);
            PROPERTY(c, RepeatInterval).Default(100);
            c.Publish("ShowHint");
            PROPERTY(c, Spacing).Default(1);
            PROPERTY(c, Style).Default(bsAutoDetect);
            PROPERTY(c, Transparent).Default(false);
            PROPERTY(c, WordWrap).Default(false);
            c.Publish("Visible");
            EVENT(c, OnMouseEnter);
            EVENT(c, OnMouseLeave);
            c.PublishAll("OnClick", "OnDblClick", "OnDragDrop", "OnDragOver", "OnEndDrag", "OnMouseDown",
                         "OnMouseMove", "OnMouseUp", "OnStartDrag");
        });
    return info;
}

TExSpeedButton::TExSpeedButton(TComponent* owner)
    : TGraphicControl(owner), glyph_(New<TExButtonGlyph>()), face_(New<TBitmap>()) {
    SetBounds(0, 0, 25, 25);
    SetControlStyle(TControlStyle{csCaptureMouse, csOpaque, csDoubleClicks, csReplicatable});
    glyph_->OnChange = [this](TObject*) { Invalidate(); };
    SetParentFont(true);
    SetParentShowHint(false);
    SetShowHint(true);
}

TExSpeedButton::~TExSpeedButton() = default;

void TExSpeedButton::SetAlignment(TAlignment value) {
    if (glyph_->Alignment() == value) return;
    glyph_->SetAlignment(value);
    Invalidate();
}

void TExSpeedButton::SetWordWrap(bool value) {
    if (glyph_->WordWrap() == value) return;
    glyph_->SetWordWrap(value);
    Invalidate();
}

void TExSpeedButton::SetAllowAllUp(bool value) {
    if (allow_all_up_ == value) return;
    allow_all_up_ = value;
    SendGroupMessage();
}

void TExSpeedButton::SetGroupIndex(int32_t value) {
    if (group_index_ == value) return;
    group_index_ = value;
    SendGroupMessage();
}

void TExSpeedButton::SetAllowTimer(bool value) {
    allow_timer_ = value;
    if (!value) FreeRepeatTimer();
}

void TExSpeedButton::FreeRepeatTimer() {
    // The field is cleared first: a click during a tick may end here, and
    // the tick looks at the field again afterwards. The timer whose tick is
    // running is stopped now and freed after its tick.
    TOwned<TTimer> timer = std::move(repeat_timer_);
    if (!timer) return;
    timer->SetEnabled(false);
    if (in_tick_) retired_timer_ = std::move(timer);
}

void TExSpeedButton::SetDown(bool value) {
    if (group_index_ == 0) value = false;
    if (value == down_) return;
    if (down_ && !allow_all_up_) return;
    down_ = value;
    if (value) {
        if (state_ == rgsUp) Invalidate();
        state_ = rgsExclusive;
    } else {
        state_ = rgsUp;
    }
    Repaint();
    if (value) SendGroupMessage();
    Invalidate();
}

void TExSpeedButton::SetFlat(bool value) {
    ChangeAndInvalidate(flat_, value);
}

void TExSpeedButton::SetGlyph(TBitmap* value) {
    glyph_->SetGlyph(value);
    Invalidate();
}

void TExSpeedButton::SetGrayedInactive(bool value) {
    ChangeAndInvalidate(grayed_inactive_, value);
}

void TExSpeedButton::SetLayout(TButtonLayout value) {
    ChangeAndInvalidate(layout_, value);
}

void TExSpeedButton::SetMargin(int32_t value) {
    if (value < -1 || value == margin_) return;
    margin_ = value;
    Invalidate();
}

void TExSpeedButton::SetMarkDropDown(bool value) {
    ChangeAndInvalidate(mark_drop_down_, value);
}

void TExSpeedButton::SetDropDownMenu(TPopupMenu* value) {
    drop_down_menu_ = value;
    if (value) value->FreeNotification(this);
    if (mark_drop_down_) Invalidate();
}

void TExSpeedButton::Notification(TComponent* component, TOperation operation) {
    TGraphicControl::Notification(component, operation);
    if (operation == opRemove && component == drop_down_menu_) SetDropDownMenu(nullptr);
}

void TExSpeedButton::SetNumGlyphs(int32_t value) {
    if (value > ExGlyphStateCount) value = ExGlyphStateCount;
    if (value < 1 || value == glyph_->GlyphCount()) return;
    glyph_->SetGlyphCount(value);
    Invalidate();
}

void TExSpeedButton::SetSpacing(int32_t value) {
    ChangeAndInvalidate(spacing_, value);
}

void TExSpeedButton::SetStyle(TButtonStyle value) {
    ChangeAndInvalidate(style_, value);
}

void TExSpeedButton::SetTransparent(bool value) {
    ChangeAndInvalidate(transparent_, value);
}

void TExSpeedButton::PrebuildImage() {
    glyph_->BuildStateImage(!Enabled() ? rgsDisabled : flat_ ? rgsInactive : rgsUp);
}

void TExSpeedButton::Loaded() {
    TGraphicControl::Loaded();
    PrebuildImage();
}

void TExSpeedButton::Paint() {
    if (!Enabled()) {
        state_ = rgsDisabled;
        left_held_ = false;
    } else if (state_ == rgsDisabled) {
        state_ = down_ && group_index_ != 0 ? rgsExclusive : rgsUp;
    }
    TExGlyphState paintState = state_;
    if (flat_ && !mouse_in_control_ && !ComponentState().Contains(csDesigning)) paintState = rgsInactive;

    TRect face = Rect(0, 0, Width(), Height());
    face_->SetSize(Width(), Height());
    TCanvas& canvas = *face_->Canvas();
    canvas.SetFont(*Font());
    canvas.Brush().SetColor(clBtnFace);
    canvas.Brush().SetStyle(bsSolid);
    canvas.FillRect(face);
    if (transparent_) DrawParentBackground(this, canvas);

    if (paintState != rgsInactive || state_ == rgsExclusive) {
        face = ex_ctrls::DrawButtonBorder(canvas, face, state_ == rgsDown || state_ == rgsExclusive, flat_, style_);
    } else if (flat_) {
        InflateRect(&face, -2, -2);
    }
    if (state_ == rgsExclusive && !transparent_ && (!flat_ || paintState == rgsInactive)) {
        TRect dithered = face;
        InflateRect(&dithered, 1, 1);
        TGdiObject brush = DitherBrush();
        ::FillRect(canvas.Handle(), &dithered, static_cast<HBRUSH>(brush.Get()));
    }
    if (state_ == rgsDown || state_ == rgsExclusive) OffsetRect(&face, 1, 1);
    const TExGlyphState faceState = grayed_inactive_ && state_ != rgsDisabled ? paintState : state_;
    PaintFace(canvas, face, faceState, mark_drop_down_ && drop_down_menu_);
    BitBlt(Canvas()->Handle(), 0, 0, Width(), Height(), canvas.Handle(), 0, 0, SRCCOPY);
}

void TExSpeedButton::PaintFace(TCanvas& canvas, const TRect& rect, TExGlyphState state, bool markWanted) {
    glyph_->DrawFace(canvas, rect, Caption(), layout_, margin_, spacing_, markWanted, state,
                     AlignmentFlag(glyph_->Alignment()));
}

void TExSpeedButton::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
    if (menu_tracking_) return;
    TGraphicControl::MouseDown(button, shift, x, y);
    if (!mouse_in_control_ && Enabled()) {
        mouse_in_control_ = true;
        Repaint();
    }
    if (button != mbLeft || !Enabled()) return;
    if (!down_) {
        state_ = rgsDown;
        Repaint();
    }
    left_held_ = true;
    menu_tracking_ = true;
    {
        TScopeExit tracked([this] { menu_tracking_ = false; });
        if (CheckMenuDropdown(ClientToScreen(DropDownMenuPos()), false)) FinishPress(button, x, y);
        // The press that closed the menu on this button does not press it again.
        MSG pending;
        if (PeekMessageA(&pending, nullptr, 0, 0, PM_NOREMOVE) &&
            (pending.message == WM_LBUTTONDOWN || pending.message == WM_LBUTTONDBLCLK)) {
            const TPoint at = ScreenToClient(Point(pending.pt.x, pending.pt.y));
            if (Inside(at.x, at.y)) RemovePendingMessage(pending.hwnd, pending.message);
        }
    }
    retired_timer_.reset();
    if (allow_timer_) {
        if (!repeat_timer_) repeat_timer_.reset(New<TTimer>(nullptr));
        repeat_timer_->SetEnabled(false);
        repeat_timer_->SetInterval(init_pause_);
        repeat_timer_->OnTimer = [this](TObject* sender) { RepeatTick(sender); };
        repeat_timer_->SetEnabled(true);
    }
}

TPoint TExSpeedButton::DropDownMenuPos() const {
    if (!drop_down_menu_) return Point(0, 0);
    const TPopupAlignment alignment = drop_down_menu_->Alignment();
    if (menu_position_ == dmpBottom) {
        const int x = alignment == paLeft ? -1 : alignment == paRight ? Width() + 1 : Width() / 2;
        return Point(x, Height());
    }
    switch (alignment) {
    case paLeft: return Point(Width(), -1);
    case paRight: return Point(-1, -1);
    default: return Point(Width() / 2, Height());
    }
}

bool TExSpeedButton::CheckMenuDropdown(TPoint screenPos, bool manual) {
    if (ComponentState().Contains(csDesigning) || !drop_down_menu_) return false;
    if (!manual && !drop_down_menu_->AutoPopup()) return false;
    // The form's modes (a held mouse, an open list) end before the menu opens.
    if (ParentForm()) {
        if (HWND capture = GetCapture()) SendMessageA(capture, WM_CANCELMODE, 0, 0);
    }
    drop_down_menu_->SetPopupComponent(this);
    drop_down_menu_->Popup(screenPos.x, screenPos.y);
    return true;
}

void TExSpeedButton::MouseMove(TShiftState shift, int x, int y) {
    TGraphicControl::MouseMove(shift, x, y);
    if (!left_held_) return;
    TExGlyphState state = down_ ? rgsExclusive : Inside(x, y) ? rgsDown : rgsUp;
    if (state != state_) {
        state_ = state;
        Repaint();
    }
}

void TExSpeedButton::MouseUp(TMouseButton button, TShiftState shift, int x, int y) {
    TGraphicControl::MouseUp(button, shift, x, y);
    FinishPress(button, x, y);
    if (repeat_timer_) repeat_timer_->SetEnabled(false);
}

void TExSpeedButton::FinishPress(TMouseButton button, int x, int y) {
    if (left_held_ && button == mbLeft) {
        left_held_ = false;
        const bool clicked = Inside(x, y);
        if (group_index_ == 0) {
            state_ = rgsUp;
            mouse_in_control_ = false;
            if (clicked) Repaint();
            else Invalidate();
        } else if (clicked) {
            SetDown(!down_);
            if (down_) Repaint();
        } else {
            if (down_) state_ = rgsExclusive;
            Repaint();
        }
        if (clicked && !menu_tracking_) Click();
    }
    UpdateMouseTracking();
}

void TExSpeedButton::Click() {
    if (TCustomForm* form = ParentForm()) form->SetModalResult(modal_result_);
    TGraphicControl::Click();
}

void TExSpeedButton::ActionChange(TObject* sender, bool checkDefaults) {
    TGraphicControl::ActionChange(sender, checkDefaults);
    auto* action = dynamic_cast<TCustomAction*>(sender);
    if (action && group_index_ != 0 && (!checkDefaults || !down_)) SetDown(action->Checked());
}

void TExSpeedButton::RepeatTick(TObject*) {
    if (!repeat_timer_) return;
    repeat_timer_->SetInterval(repeat_interval_);
    if (state_ != rgsDown || !MouseCapture()) return;
    in_tick_ = true;
    TScopeExit tickDone([this] { in_tick_ = false; });
    try {
        Click();
    } catch (...) {
        if (repeat_timer_) repeat_timer_->SetEnabled(false);
        throw;
    }
}

void TExSpeedButton::SendGroupMessage() {
    if (group_index_ == 0 || !Parent()) return;
    TMessage m{CM_GROUPPRESSED, static_cast<WPARAM>(group_index_), reinterpret_cast<LPARAM>(this), 0};
    Parent()->Broadcast(m);
}

void TExSpeedButton::GroupPressed(TMessage& m) {
    if (static_cast<int32_t>(m.WParam) != group_index_ || !Parent() || !Parent()->HandleAllocated()) return;
    auto* sender = dynamic_cast<TExSpeedButton*>(reinterpret_cast<TControl*>(m.LParam));
    if (!sender || sender == this) return;
    if (sender->Down() && down_) {
        down_ = false;
        state_ = rgsUp;
        Repaint();
    }
    allow_all_up_ = sender->AllowAllUp();
}

bool TExSpeedButton::MouseIsOverThis() {
    if (!Parent() || !Parent()->HandleAllocated()) return false;
    POINT cursor;
    return GetCursorPos(&cursor) && FindDragTarget(Point(cursor.x, cursor.y), true) == this;
}

void TExSpeedButton::UpdateMouseTracking() {
    const bool over = Enabled() && MouseIsOverThis() && IsActiveWindowOfThisThread();
    if (over == mouse_in_control_) return;
    mouse_in_control_ = over;
    if (over) {
        if (flat_) Repaint();
        MouseEntered();
    } else {
        if (flat_) Invalidate();
        MouseLeft();
    }
}

void TExSpeedButton::MouseEntered() {
    if (OnMouseEnter) OnMouseEnter(this);
}

void TExSpeedButton::MouseLeft() {
    if (OnMouseLeave) OnMouseLeave(this);
}

void TExSpeedButton::Dispatch(TMessage& m) {
    switch (m.Msg) {
    case WM_RBUTTONDOWN:
    case WM_RBUTTONUP:
        TGraphicControl::Dispatch(m);
        UpdateMouseTracking();
        return;
    case WM_LBUTTONDBLCLK:
        if (menu_tracking_) return;
        TGraphicControl::Dispatch(m);
        if (down_) DblClick();
        return;
    case CM_ENABLEDCHANGED:
        TGraphicControl::Dispatch(m);
        PrebuildImage();
        UpdateMouseTracking();
        Repaint();
        return;
    case CM_VISIBLECHANGED:
        TGraphicControl::Dispatch(m);
        if (Visible()) UpdateMouseTracking();
        return;
    case CM_MOUSEENTER:
        TGraphicControl::Dispatch(m);
        if (!mouse_in_control_ && Enabled() && IsActiveWindowOfThisThread()) {
            mouse_in_control_ = true;
            if (flat_) Repaint();
            MouseEntered();
        }
        return;
    case CM_MOUSELEAVE:
        TGraphicControl::Dispatch(m);
        if (mouse_in_control_ && Enabled() && !left_held_) {
            mouse_in_control_ = false;
            if (flat_) Invalidate();
            MouseLeft();
        }
        return;
    case CM_GROUPPRESSED: GroupPressed(m); return;
    case CM_DIALOGCHAR:
        if (IsAccel(static_cast<unsigned>(m.WParam), Caption()) && Enabled()) {
            Click();
            m.Result = 1;
            return;
        }
        break;
    case CM_FONTCHANGED:
    case CM_TEXTCHANGED:
        Invalidate();
        return;
    case CM_SYSCOLORCHANGE:
        glyph_->ReleaseImages();
        Invalidate();
        return;
    }
    TGraphicControl::Dispatch(m);
}
