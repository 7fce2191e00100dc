#include "classlib/gui/control.h"

#include "classlib/core/class_builder.h"
#include "classlib/core/scope_exit.h"
#include "classlib/gui/application.h"
#include "classlib/core/filer.h"
#include "classlib/gui/forms.h"
#include "classlib/gui/wincontrol.h"
#include "classlib/gui/control_action_links.h"
#include "classlib/gui/menu_strings.h"
#include "classlib/gui/menus.h"
#include "classlib/gui/screen.h"

DEFINE_ENUM_TYPE(TAlign, "alNone", "alTop", "alBottom", "alLeft", "alRight", "alClient", "alCustom")
DEFINE_ENUM_TYPE(TMouseButton, "mbLeft", "mbRight", "mbMiddle")
DEFINE_ENUM_TYPE(TShiftStateItem, "ssShift", "ssAlt", "ssCtrl", "ssLeft", "ssRight", "ssMiddle", "ssDouble")
DEFINE_ENUM_TYPE(TDragMode, "dmManual", "dmAutomatic")
DEFINE_ENUM_TYPE(TDragState, "dsDragEnter", "dsDragLeave", "dsDragMove")
DEFINE_ENUM_TYPE(TFormBorderStyle, "bsNone", "bsSingle", "bsSizeable", "bsDialog", "bsToolWindow", "bsSizeToolWin")

const TTypeInfo* BorderStyleType() {
    static const TTypeInfo info = MakeEnumType("TBorderStyle", {"bsNone", "bsSingle"});
    return &info;
}

TShiftState ShiftStateFromKeys(WPARAM keys) {
    TShiftState s;
    if (keys & MK_SHIFT) s.Include(ssShift);
    if (keys & MK_CONTROL) s.Include(ssCtrl);
    if (keys & MK_LBUTTON) s.Include(ssLeft);
    if (keys & MK_RBUTTON) s.Include(ssRight);
    if (keys & MK_MBUTTON) s.Include(ssMiddle);
    if (GetKeyState(VK_MENU) < 0) s.Include(ssAlt);
    return s;
}

TShiftState KeyboardShiftState() {
    TShiftState s;
    if (GetKeyState(VK_SHIFT) < 0) s.Include(ssShift);
    if (GetKeyState(VK_CONTROL) < 0) s.Include(ssCtrl);
    if (GetKeyState(VK_MENU) < 0) s.Include(ssAlt);
    return s;
}

const TClassInfo& TControl::StaticClass() {
    static const TClassInfo info = DefineClass<TControl>("TControl", &TComponent::StaticClass(), [](auto& c) {
        PROPERTY(c, Left);
        PROPERTY(c, Top);
        PROPERTY(c, Width);
        PROPERTY(c, Height);
        PROPERTY(c, Cursor, TypeInfoCursor()).Default(0);
        PROPERTY(c, Hint).StoredIf(&TControl::IsHintStored);
        // Published by the descendants that want them.
        PROPERTY(c, Align).Default(alNone).Hidden();
        PROPERTY(c, Action).Hidden();
        PROPERTY(c, Caption).StoredIf(&TControl::IsCaptionStored).Hidden();
        PROPERTY(c, Text).Hidden();
        PROPERTY(c, Color, TypeInfoColor()).Default(clWindow).StoredIf(&TControl::IsColorStored).Hidden();
        PROPERTY(c, DragCursor, TypeInfoCursor()).Default(-12).Hidden();
        PROPERTY(c, DragMode).Default(dmManual).Hidden();
        PROPERTY(c, Enabled).Default(true).StoredIf(&TControl::IsEnabledStored).Hidden();
        PROPERTY(c, Font).StoredIf(&TControl::IsFontStored).Hidden();
        PROPERTY(c, ParentColor).Default(true).Hidden();
        PROPERTY(c, ParentFont).Default(true).Hidden();
        PROPERTY(c, ParentShowHint).Default(true).Hidden();
        PROPERTY(c, ShowHint).StoredIf(&TControl::IsShowHintStored).Hidden();
        PROPERTY(c, PopupMenu).Hidden();
        PROPERTY(c, Visible).Default(true).StoredIf(&TControl::IsVisibleStored).Hidden();
        EVENT(c, OnClick).Hidden();
        EVENT(c, OnDblClick).Hidden();
        EVENT(c, OnMouseDown).Hidden();
        EVENT(c, OnMouseMove).Hidden();
        EVENT(c, OnMouseUp).Hidden();
        EVENT(c, OnResize).Hidden();
        EVENT(c, OnDragDrop).Hidden();
        EVENT(c, OnDragOver).Hidden();
        EVENT(c, OnEndDrag).Hidden();
        EVENT(c, OnStartDrag).Hidden();
        EVENT(c, OnContextPopup).Hidden();
    });
    return info;
}

TControl::TControl(TComponent* owner) : TComponent(owner), font_(MakeOwned<TFont>()) {
    WindowProc = TControlWndProc{this};
    font_->OnChange = [this](TObject* sender) { FontChanged(sender); };
}

TControl::~TControl() = default;

void TControl::BeforeDestruction() {
    ForgetDragControl(this);
    action_link_.reset();
    SetPopupMenu(nullptr);
    // Also runs while the application frees its forms (Application is
    // already cleared then).
    if (Application) Application->ControlDestroying(this);
    if (parent_) parent_->RemoveControl(this);
    TComponent::BeforeDestruction();
}

void TControlWndProc::operator()(TMessage& message) const {
    Control->WndProc(message);
}

LRESULT TControl::Perform(UINT msg, WPARAM wParam, LPARAM lParam) {
    TMessage m{msg, wParam, lParam, 0};
    WindowProc(m);
    return m.Result;
}

void TControl::WndProc(TMessage& message) {
    if (DragSource() == this && DragMessage(message)) return;
    if ((message.Msg == WM_LBUTTONDOWN || message.Msg == WM_LBUTTONDBLCLK) && drag_mode_ == dmAutomatic &&
        !ComponentState().Contains(csDesigning)) {
        // The press belongs to the drag: the control sees no button down.
        BeginDragAt(false, -1, ClientToScreen(Point(message.XPos(), message.YPos())));
        return;
    }
    if (message.Msg >= WM_MOUSEFIRST && message.Msg <= WM_MOUSELAST && Application)
        Application->HintMouseMessage(this, message);
    Dispatch(message);
}

void TControl::Dispatch(TMessage& m) {
    switch (m.Msg) {
    case WM_LBUTTONDOWN: WMMouse(m, mbLeft, true, false); return;
    case WM_LBUTTONDBLCLK: WMMouse(m, mbLeft, true, true); return;
    case WM_LBUTTONUP: WMMouse(m, mbLeft, false, false); return;
    case WM_RBUTTONDOWN: WMMouse(m, mbRight, true, false); return;
    case WM_RBUTTONDBLCLK: WMMouse(m, mbRight, true, true); return;
    case WM_RBUTTONUP: WMMouse(m, mbRight, false, false); return;
    case WM_MBUTTONDOWN: WMMouse(m, mbMiddle, true, false); return;
    case WM_MBUTTONDBLCLK: WMMouse(m, mbMiddle, true, true); return;
    case WM_MBUTTONUP: WMMouse(m, mbMiddle, false, false); return;
    case WM_MOUSEMOVE: WMMouseMove(m); return;
    case CM_ENABLEDCHANGED: CMEnabledChanged(m); return;
    case CM_VISIBLECHANGED: CMVisibleChanged(m); return;
    case CM_PARENTCOLORCHANGED: CMParentColorChanged(m); return;
    case CM_PARENTFONTCHANGED: CMParentFontChanged(m); return;
    case CM_PARENTSHOWHINTCHANGED: CMParentShowHintChanged(m); return;
    case CM_HITTEST: CMHitTest(m); return;
    case CM_MOUSEENTER: CMMouseEnter(m); return;
    case CM_MOUSELEAVE: CMMouseLeave(m); return;
    case CM_COLORCHANGED:
    case CM_FONTCHANGED: Invalidate(); return;
    case WM_CONTEXTMENU: WMContextMenu(m); return;
    default: DefaultHandler(m);
    }
}

void TControl::DefaultHandler(TMessage& m) {
    switch (m.Msg) {
    case WM_GETTEXT: {
        size_t room = static_cast<size_t>(m.WParam);
        if (!room) return;
        size_t n = std::min(room - 1, text_.size());
        memcpy(reinterpret_cast<char*>(m.LParam), text_.data(), n);
        reinterpret_cast<char*>(m.LParam)[n] = '\0';
        m.Result = static_cast<LRESULT>(n);
        return;
    }
    case WM_GETTEXTLENGTH: m.Result = static_cast<LRESULT>(text_.size()); return;
    case WM_SETTEXT: text_ = m.LParam ? reinterpret_cast<const char*>(m.LParam) : ""; m.Result = 1; return;
    }
}

TCustomForm* TControl::ParentForm() const {
    const TControl* c = this;
    while (c->parent_) c = c->parent_;
    return dynamic_cast<TCustomForm*>(const_cast<TControl*>(c));
}

void TControl::SetParent(TWinControl* parent) {
    if (parent_ == parent) return;
    if (parent == this) throw EInvalidOperation("A control cannot be its own parent");
    if (parent_) parent_->RemoveControl(this);
    if (parent) parent->InsertControl(this);
}

void TControl::SetBounds(int32_t left, int32_t top, int32_t width, int32_t height) {
    if (!CanResize(width, height)) {
        width = width_;
        height = height_;
    }
    if (left == left_ && top == top_ && width == width_ && height == height_) return;
    InvalidateControl(visible_, false);
    bool sized = width != width_ || height != height_;
    left_ = left;
    top_ = top;
    width_ = width;
    height_ = height;
    Invalidate();
    RequestAlign();
    if (sized) Resize();
}

void TControl::UpdateBoundsRect(const TRect& r) {
    left_ = r.left;
    top_ = r.top;
    width_ = RectWidth(r);
    height_ = RectHeight(r);
}

bool TControl::CanResize(int32_t&, int32_t&) {
    return true;
}

void TControl::Resize() {
    if (OnResize) OnResize(this);
}

TRect TControl::ClientRect() {
    return Rect(0, 0, width_, height_);
}

void TControl::SetClientWidth(int32_t v) {
    SetWidth(width_ - ClientWidth() + v);
}

void TControl::SetClientHeight(int32_t v) {
    SetHeight(height_ - ClientHeight() + v);
}

TPoint TControl::ClientOrigin() {
    if (!parent_) return Point(left_, top_);
    TPoint p = parent_->ClientOrigin();
    return Point(p.x + left_, p.y + top_);
}

TPoint TControl::ClientToScreen(TPoint p) {
    TPoint o = ClientOrigin();
    return Point(p.x + o.x, p.y + o.y);
}

TPoint TControl::ScreenToClient(TPoint p) {
    TPoint o = ClientOrigin();
    return Point(p.x - o.x, p.y - o.y);
}

void TControl::SetAlign(TAlign align) {
    if (align_ == align) return;
    align_ = align;
    RequestAlign();
}

void TControl::RequestAlign() {
    if (parent_) parent_->AlignControl(this);
}

void TControl::SetVisible(bool visible) {
    if (visible_ == visible) return;
    VisibleChanging();
    visible_ = visible;
    Perform(CM_VISIBLECHANGED, visible ? 1 : 0);
    RequestAlign();
}

bool TControl::Showing() const {
    return visible_ && parent_ && parent_->Showing();
}

void TControl::SetEnabled(bool enabled) {
    if (enabled_ == enabled) return;
    enabled_ = enabled;
    Perform(CM_ENABLEDCHANGED);
}

void TControl::SetColor(TColor color) {
    if (color_ == color && !parent_color_) return;
    color_ = color;
    parent_color_ = false;
    Perform(CM_COLORCHANGED);
}

void TControl::SetParentColor(bool value) {
    if (parent_color_ == value) return;
    parent_color_ = value;
    if (value && parent_ && !ComponentState().Contains(csReading)) Perform(CM_PARENTCOLORCHANGED);
}

void TControl::FontChanged(TObject*) {
    if (!font_changing_from_parent_) parent_font_ = false;
    Perform(CM_FONTCHANGED);
}

void TControl::SetParentFont(bool value) {
    if (parent_font_ == value) return;
    parent_font_ = value;
    if (value && parent_ && !ComponentState().Contains(csReading)) Perform(CM_PARENTFONTCHANGED);
}

void TControl::SetShowHint(bool value) {
    if (show_hint_ == value && !parent_show_hint_) return;
    show_hint_ = value;
    parent_show_hint_ = false;
    Perform(CM_SHOWHINTCHANGED);
}

void TControl::SetParentShowHint(bool value) {
    if (parent_show_hint_ == value) return;
    parent_show_hint_ = value;
    if (value && parent_ && !ComponentState().Contains(csReading)) Perform(CM_PARENTSHOWHINTCHANGED);
}

void TControl::SetCursor(TCursor cursor) {
    if (cursor_ == cursor) return;
    cursor_ = cursor;
    Perform(CM_CURSORCHANGED);
}

void TControl::SetTextValue(const std::string& value) {
    if (GetText() == value) return;
    Perform(WM_SETTEXT, 0, reinterpret_cast<LPARAM>(value.c_str()));
    Perform(CM_TEXTCHANGED);
}

void TControl::InvalidateControl(bool isVisible, bool isOpaque) {
    if ((isVisible || ComponentState().Contains(csDesigning)) && parent_ && parent_->HandleAllocated()) {
        TRect r = BoundsRect();
        InvalidateRect(parent_->Handle(), &r, !(isOpaque || parent_->DoubleBuffered()));
    }
}

void TControl::Invalidate() {
    InvalidateControl(visible_, control_style_.Contains(csOpaque));
}

void TControl::Update() {
    if (parent_) parent_->Update();
}

void TControl::Repaint() {
    if (visible_ && parent_ && parent_->HandleAllocated()) {
        Invalidate();
        UpdateWindow(parent_->Handle());
    }
}

void TControl::BringToFront() {
    if (parent_) parent_->SetChildZOrder(this, true);
}

void TControl::SendToBack() {
    if (parent_) parent_->SetChildZOrder(this, false);
}

bool TControl::MouseCapture() const {
    return GetCaptureControl() == this;
}

void TControl::SetMouseCapture(bool value) {
    if (MouseCapture() == value) return;
    SetCaptureControl(value ? this : nullptr);
}

void TControl::Click() {
    if (OnClick) OnClick(this);
    else if (action_link_ && !ComponentState().Contains(csDesigning)) action_link_->Execute(this);
}

void TControl::DblClick() {
    if (OnDblClick) OnDblClick(this);
}

void TControl::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
    if (OnMouseDown) OnMouseDown(this, button, shift, x, y);
}

void TControl::MouseMove(TShiftState shift, int x, int y) {
    if (OnMouseMove) OnMouseMove(this, shift, x, y);
}

void TControl::MouseUp(TMouseButton button, TShiftState shift, int x, int y) {
    if (OnMouseUp) OnMouseUp(this, button, shift, x, y);
}

void TControl::WMMouse(TMessage& m, TMouseButton button, bool down, bool dbl) {
    if (button == mbLeft) {
        if (down) control_state_.Include(csLButtonDown);
        else control_state_.Exclude(csLButtonDown);
    }
    // The window's own handling first: system controls (buttons, edits,
    // tree views, tabs) act on the button messages themselves.
    DefaultHandler(m);
    TShiftState shift = ShiftStateFromKeys(m.WParam);
    int x = m.XPos(), y = m.YPos();
    if (down) {
        if (control_style_.Contains(csCaptureMouse)) SetMouseCapture(true);
        if (button == mbLeft) {
            if (dbl) {
                shift.Include(ssDouble);
                if (control_style_.Contains(csClickEvents)) DblClick();
            } else if (control_style_.Contains(csClickEvents)) {
                control_state_.Include(csClicked);
            }
        }
        MouseDown(button, shift, x, y);
        return;
    }
    if (control_style_.Contains(csCaptureMouse)) SetMouseCapture(false);
    if (button == mbLeft) {
        // Click comes before MouseUp, and only when released inside.
        if (control_state_.Contains(csClicked)) {
            control_state_.Exclude(csClicked);
            if (PtInRect(ClientRect(), Point(x, y))) Click();
        }
    }
    MouseUp(button, shift, x, y);
}

void TControl::WMMouseMove(TMessage& m) {
    DefaultHandler(m);
    MouseMove(ShiftStateFromKeys(m.WParam), m.XPos(), m.YPos());
}

void TControl::CMEnabledChanged(TMessage&) {
    Invalidate();
}

void TControl::CMVisibleChanged(TMessage&) {
    InvalidateControl(true, visible_ && control_style_.Contains(csOpaque));
}

void TControl::CMParentColorChanged(TMessage&) {
    if (parent_color_ && parent_) {
        color_ = parent_->Color();
        Perform(CM_COLORCHANGED);
    }
}

void TControl::CMParentFontChanged(TMessage&) {
    if (parent_font_ && parent_) {
        font_changing_from_parent_ = true;
        font_->Assign(parent_->Font());
        font_changing_from_parent_ = false;
    }
}

void TControl::CMParentShowHintChanged(TMessage&) {
    if (parent_show_hint_ && parent_) {
        show_hint_ = parent_->ShowHint();
        Perform(CM_SHOWHINTCHANGED);
    }
}

void TControl::CMHitTest(TMessage& m) {
    m.Result = HTCLIENT;
}

void TControl::CMMouseEnter(TMessage& m) {
    if (parent_) parent_->Perform(CM_MOUSEENTER, 0, m.LParam ? m.LParam : reinterpret_cast<LPARAM>(this));
}

void TControl::CMMouseLeave(TMessage& m) {
    if (parent_) parent_->Perform(CM_MOUSELEAVE, 0, m.LParam ? m.LParam : reinterpret_cast<LPARAM>(this));
}

TComponent* TControl::GetParentComponent() const {
    return parent_;
}

void TControl::SetParentComponent(TComponent* parent) {
    if (auto* win = dynamic_cast<TWinControl*>(parent)) SetParent(win);
}

void TControl::ReadState(TReader* reader) {
    control_state_.Include(csReadingState);
    if (auto* win = dynamic_cast<TWinControl*>(reader->Parent())) SetParent(win);
    TComponent::ReadState(reader);
    control_state_.Exclude(csReadingState);
}

void TControl::Loaded() {
    TComponent::Loaded();
    if (parent_) {
        if (parent_color_) Perform(CM_PARENTCOLORCHANGED);
        if (parent_font_) Perform(CM_PARENTFONTCHANGED);
        if (parent_show_hint_) Perform(CM_PARENTSHOWHINTCHANGED);
    }
    if (TBasicAction* action = Action()) ActionChange(action, true);
    RequestAlign();
}

// --- hints ------------------------------------------------------------------------

std::string GetShortHint(const std::string& hint) {
    size_t bar = hint.find('|');
    return bar == std::string::npos ? hint : hint.substr(0, bar);
}

std::string GetLongHint(const std::string& hint) {
    size_t bar = hint.find('|');
    return bar == std::string::npos ? hint : hint.substr(bar + 1);
}

// --- actions -----------------------------------------------------------------------

void TControl::AssignTo(TPersistent* dest) const {
    auto* action = dynamic_cast<TCustomAction*>(dest);
    if (!action) {
        TComponent::AssignTo(dest);
        return;
    }
    action->SetEnabled(Enabled());
    action->SetHint(Hint());
    action->SetCaption(Caption());
    action->SetVisible(Visible());
    action->TBasicAction::OnExecute = OnClick;
}

TBasicAction* TControl::Action() const {
    return action_link_ ? action_link_->Action() : nullptr;
}

void TControl::SetAction(TBasicAction* value) {
    if (!value) {
        action_link_.reset();
        return;
    }
    if (!action_link_)
        action_link_.reset(static_cast<TControlActionLink*>(GetActionLinkClass().CreateInstance(this)));
    action_link_->SetAction(value);
    action_link_->OnChange = [this](TObject* sender) { DoActionChange(sender); };
    ActionChange(value, value->ComponentState().Contains(csLoading));
    value->FreeNotification(this);
}

const TClassInfo& TControl::GetActionLinkClass() const {
    return TControlActionLink::StaticClass();
}

void TControl::DoActionChange(TObject* sender) {
    if (sender == Action()) ActionChange(sender, false);
}

void TControl::ActionChange(TObject* sender, bool checkDefaults) {
    auto* action = dynamic_cast<TCustomAction*>(sender);
    if (!action) return;
    if (!checkDefaults || Caption().empty() || Caption() == Name()) SetCaption(action->Caption());
    if (!checkDefaults || enabled_) SetEnabled(action->Enabled());
    if (!checkDefaults || hint_.empty()) SetHint(action->Hint());
    if (!checkDefaults || visible_) SetVisible(action->Visible());
}

void TControl::InitiateAction() {
    if (action_link_) action_link_->Update();
}

bool TControl::ExecuteAction(TBasicAction* action) {
    if (!action->HandlesTarget(this)) return false;
    action->ExecuteTarget(this);
    return true;
}

bool TControl::UpdateAction(TBasicAction* action) {
    if (!action->HandlesTarget(this)) return false;
    action->UpdateTarget(this);
    return true;
}

bool TControl::IsCaptionStored() const { return !action_link_ || !action_link_->IsCaptionLinked(); }
bool TControl::IsHintStored() const { return !action_link_ || !action_link_->IsHintLinked(); }
bool TControl::IsEnabledStored() const { return !action_link_ || !action_link_->IsEnabledLinked(); }
bool TControl::IsVisibleStored() const { return !action_link_ || !action_link_->IsVisibleLinked(); }

void TControl::Notification(TComponent* component, TOperation operation) {
    TComponent::Notification(component, operation);
    if (operation != opRemove) return;
    if (component == popup_menu_) popup_menu_ = nullptr;
    if (action_link_ && component == Action()) SetAction(nullptr);
}

// --- popup menu -----------------------------------------------------------------------

void TControl::SetPopupMenu(TPopupMenu* menu) {
    if (popup_menu_ == menu) return;
    popup_menu_ = menu;
    if (menu) menu->FreeNotification(this);
}

void TControl::DoContextPopup(TPoint mousePos, bool& handled) {
    if (OnContextPopup) OnContextPopup(this, mousePos, handled);
}

void TControl::WMContextMenu(TMessage& m) {
    if (m.Result) return;
    if (!ComponentState().Contains(csDesigning)) {
        TPoint at = Point(m.XPos(), m.YPos());
        TPoint local = at.x == -1 && at.y == -1 ? at : ScreenToClient(at);
        bool handled = false;
        DoContextPopup(local, handled);
        if (handled) {
            m.Result = 1;
            return;
        }
    }
    if (!popup_menu_ || !popup_menu_->AutoPopup() || ComponentState().Contains(csDesigning)) {
        DefaultHandler(m);
        return;
    }
    TPoint at = Point(m.XPos(), m.YPos());
    // (-1, -1): the keyboard asked; the menu opens at the control.
    if (at.x == -1 && at.y == -1) at = ClientToScreen(Point(0, 0));
    if (HWND capture = GetCapture()) SendMessageA(capture, WM_CANCELMODE, 0, 0);
    popup_menu_->SetPopupComponent(this);
    m.Result = 1;
    popup_menu_->Popup(at.x, at.y);
}

// --- control action links ---------------------------------------------------------------

const TClassInfo& TControlActionLink::StaticClass() {
    static const TClassInfo info = DefineClass<TControlActionLink>(
        "TControlActionLink", &TActionLink::StaticClass(), [](auto& c) { c.Creatable(); });
    return info;
}

TControlActionLink::TControlActionLink(TObject* client) : TActionLink(client), client_(client) {}

TControl* TControlActionLink::Client() const {
    auto* control = dynamic_cast<TControl*>(client_);
    if (!control) throw EInvalidCast(MenuStr(SInvalidCast));
    return control;
}

bool TControlActionLink::IsCaptionLinked() {
    return TActionLink::IsCaptionLinked() && Client()->Caption() == CustomAction()->Caption();
}
bool TControlActionLink::IsEnabledLinked() {
    return TActionLink::IsEnabledLinked() && Client()->Enabled() == CustomAction()->Enabled();
}
bool TControlActionLink::IsHintLinked() {
    return TActionLink::IsHintLinked() && Client()->Hint() == CustomAction()->Hint();
}
bool TControlActionLink::IsVisibleLinked() {
    return TActionLink::IsVisibleLinked() && Client()->Visible() == CustomAction()->Visible();
}
void TControlActionLink::SetCaption(const std::string& value) {
    if (IsCaptionLinked()) Client()->SetCaption(value);
}
void TControlActionLink::SetEnabled(bool value) {
    if (IsEnabledLinked()) Client()->SetEnabled(value);
}
void TControlActionLink::SetHint(const std::string& value) {
    if (IsHintLinked()) Client()->SetHint(value);
}
void TControlActionLink::SetVisible(bool value) {
    if (IsVisibleLinked()) Client()->SetVisible(value);
}

const TClassInfo& TWinControlActionLink::StaticClass() {
    static const TClassInfo info = DefineClass<TWinControlActionLink>(
        "TWinControlActionLink", &TControlActionLink::StaticClass(), [](auto& c) { c.Creatable(); });
    return info;
}
