#include "classlib/gui/forms.h"

#include <functional>

#include "classlib/gui/menus.h"

#include <map>

#include "classlib/core/class_builder.h"
#include "classlib/gui/application.h"
#include "classlib/gui/callback_barrier.h"
#include "classlib/core/filer.h"
#include "classlib/core/scope_exit.h"
#include "classlib/platform/interaction.h"
#include "classlib/gui/screen.h"
#include "classlib/core/strutils.h"

DEFINE_ENUM_TYPE(TPosition, "poDesigned", "poDefault", "poDefaultPosOnly", "poDefaultSizeOnly", "poScreenCenter",
                 "poDesktopCenter", "poMainFormCenter", "poOwnerFormCenter")
DEFINE_ENUM_TYPE(TWindowState, "wsNormal", "wsMinimized", "wsMaximized")
DEFINE_ENUM_TYPE(TBorderIcon, "biSystemMenu", "biMinimize", "biMaximize", "biHelp")

namespace {

const char* const kModalResultNames[] = {"mrNone", "mrOk",  "mrCancel", "mrAbort",   "mrRetry",   "mrIgnore",
                                         "mrYes",  "mrNo",  "mrAll",    "mrNoToAll", "mrYesToAll"};

bool ModalResultToIdent(int32_t value, std::string& ident) {
    if (value < 0 || value > mrYesToAll) return false;
    ident = kModalResultNames[value];
    return true;
}

bool IdentToModalResult(const std::string& ident, int32_t& value) {
    for (int32_t i = 0; i <= mrYesToAll; ++i)
        if (SameText(ident, kModalResultNames[i])) {
            value = i;
            return true;
        }
    return false;
}

std::map<std::string, std::string>& Layouts() {
    static std::map<std::string, std::string> layouts;
    return layouts;
}

}  // namespace

const TTypeInfo* ModalResultType() {
    static const TTypeInfo info = [] {
        TTypeInfo t = MakeIntegerType("TModalResult", INT32_MIN, INT32_MAX);
        t.IntToIdent = ModalResultToIdent;
        t.IdentToInt = IdentToModalResult;
        return t;
    }();
    return &info;
}

void RegisterLayout(const std::string& className, const std::string& text) {
    Layouts()[UpperCase(className)] = text;
}

bool FindLayout(const std::string& className, std::string& text) {
    auto it = Layouts().find(UpperCase(className));
    if (it != Layouts().end()) {
        text = it->second;
        return true;
    }
    HMODULE module = GetModuleHandleA(nullptr);
    HRSRC resource = FindResourceA(module, UpperCase(className).c_str(), reinterpret_cast<LPCSTR>(RT_RCDATA));
    if (!resource) return false;
    HGLOBAL data = LoadResource(module, resource);
    DWORD size = SizeofResource(module, resource);
    const char* bytes = static_cast<const char*>(LockResource(data));
    if (!bytes) return false;
    text.assign(bytes, size);
    return true;
}

// --- scroll bars ------------------------------------------------------------------

const TClassInfo& TControlScrollBar::StaticClass() {
    static const TClassInfo info =
        DefineClass<TControlScrollBar>("TControlScrollBar", &TPersistent::StaticClass(), [](auto& c) {
            PROPERTY(c, Increment).Default(8);
            PROPERTY(c, Position).Default(0);
            PROPERTY(c, Range).Default(0);
            PROPERTY(c, Tracking).Default(false);
            PROPERTY(c, Visible).Default(true);
        });
    return info;
}

void TControlScrollBar::Assign(const TPersistent* source) {
    if (auto* bar = dynamic_cast<const TControlScrollBar*>(source)) {
        increment_ = bar->increment_;
        tracking_ = bar->tracking_;
        visible_ = bar->visible_;
        SetRange(bar->range_);
        SetPosition(bar->position_);
        return;
    }
    TPersistent::Assign(source);
}

int32_t TControlScrollBar::ControlSize(bool withBars) const {
    RECT r{0, 0, control_->Width(), control_->Height()};
    if (control_->HandleAllocated()) GetClientRect(control_->handle_, &r);
    int32_t size = kind_ == sbVertical ? RectHeight(r) : RectWidth(r);
    if (withBars && control_->HandleAllocated()) {
        // The client area without this direction's crossing bar.
        const TControlScrollBar* other = kind_ == sbVertical ? control_->horz_.get() : control_->vert_.get();
        if (other->IsScrollBarVisible())
            size += GetSystemMetrics(kind_ == sbVertical ? SM_CYHSCROLL : SM_CXVSCROLL);
    }
    return size;
}

bool TControlScrollBar::IsScrollBarVisible() const {
    return visible_ && range_ > ControlSize(false);
}

void TControlScrollBar::SetRange(int32_t value) {
    value = std::max(value, 0);
    if (range_ == value) return;
    range_ = value;
    control_->UpdateScrollBars();
}

void TControlScrollBar::SetVisible(bool value) {
    if (visible_ == value) return;
    visible_ = value;
    control_->UpdateScrollBars();
}

void TControlScrollBar::SetPosition(int32_t value) {
    int32_t limit = std::max(range_ - ControlSize(false), 0);
    value = std::clamp(value, 0, limit);
    if (value == position_) return;
    int32_t delta = position_ - value;
    position_ = value;
    if (kind_ == sbVertical) control_->ScrollBy(0, delta);
    else control_->ScrollBy(delta, 0);
    control_->UpdateScrollBars();
}

void TControlScrollBar::Update() {
    if (!control_->HandleAllocated() || updating_) return;
    updating_ = true;
    int bar = kind_ == sbVertical ? SB_VERT : SB_HORZ;
    int32_t page = ControlSize(false);
    if (visible_ && range_ > page) {
        SCROLLINFO si{sizeof si, SIF_ALL, 0, range_ - 1, static_cast<UINT>(std::max(page, 1)), position_, 0};
        ShowScrollBar(control_->handle_, bar, TRUE);
        SetScrollInfo(control_->handle_, bar, &si, TRUE);
    } else {
        ShowScrollBar(control_->handle_, bar, FALSE);
    }
    updating_ = false;
    // Showing or hiding a bar changes the client size: clamp again.
    int32_t limit = std::max(range_ - ControlSize(false), 0);
    if (position_ > limit) SetPosition(limit);
}

void TControlScrollBar::ScrollMessage(TMessage& m) {
    int32_t page = ControlSize(false);
    int32_t pos = position_;
    switch (LOWORD(m.WParam)) {
    case SB_LINEUP: pos -= increment_; break;
    case SB_LINEDOWN: pos += increment_; break;
    case SB_PAGEUP: pos -= page; break;
    case SB_PAGEDOWN: pos += page; break;
    case SB_THUMBTRACK:
    case SB_THUMBPOSITION: {
        SCROLLINFO si{sizeof si, SIF_TRACKPOS, 0, 0, 0, 0, 0};
        GetScrollInfo(control_->handle_, kind_ == sbVertical ? SB_VERT : SB_HORZ, &si);
        pos = si.nTrackPos;
        break;
    }
    case SB_TOP: pos = 0; break;
    case SB_BOTTOM: pos = range_; break;
    default: return;
    }
    SetPosition(pos);
}

// --- scrolling controls -------------------------------------------------------------

const TClassInfo& TScrollingWinControl::StaticClass() {
    static const TClassInfo info =
        DefineClass<TScrollingWinControl>("TScrollingWinControl", &TWinControl::StaticClass(), [](auto& c) {
            PROPERTY(c, AutoScroll).Default(true).Hidden();
            PROPERTY(c, HorzScrollBar).Hidden();
            PROPERTY(c, VertScrollBar).Hidden();
        });
    return info;
}

TScrollingWinControl::TScrollingWinControl(TComponent* owner)
    : TWinControl(owner),
      horz_(std::make_unique<TControlScrollBar>(this, sbHorizontal)),
      vert_(std::make_unique<TControlScrollBar>(this, sbVertical)) {}

TScrollingWinControl::~TScrollingWinControl() = default;

void TScrollingWinControl::SetAutoScroll(bool value) {
    if (auto_scroll_ == value) return;
    auto_scroll_ = value;
    if (value) CalcAutoRange();
    else {
        horz_->SetRange(0);
        vert_->SetRange(0);
    }
}

void TScrollingWinControl::CreateWnd() {
    TWinControl::CreateWnd();
    UpdateScrollBars();
}

void TScrollingWinControl::AdjustClientRect(TRect& rect) {
    // Children are laid out on the scrolled area.
    rect = Bounds(-horz_->ScrollPos(), -vert_->ScrollPos(), std::max(horz_->range_, RectWidth(rect)),
                  std::max(vert_->range_, RectHeight(rect)));
}

void TScrollingWinControl::AlignControls(TControl* control, TRect& rect) {
    CalcAutoRange();
    TWinControl::AlignControls(control, rect);
}

void TScrollingWinControl::CalcAutoRange() {
    if (!auto_scroll_) return;
    int32_t right = 0, bottom = 0;
    for (int i = 0; i < ControlCount(); ++i) {
        TControl* c = Controls(i);
        if (!c->Visible()) continue;
        TAlign a = c->Align();
        if (a == alNone || a == alLeft || a == alTop) {
            int32_t x = c->Left() + horz_->ScrollPos() + c->Width();
            int32_t y = c->Top() + vert_->ScrollPos() + c->Height();
            if (a != alTop) right = std::max(right, x);
            if (a != alLeft) bottom = std::max(bottom, y);
        }
    }
    updating_bars_ = true;
    horz_->range_ = right;
    vert_->range_ = bottom;
    updating_bars_ = false;
    UpdateScrollBars();
}

void TScrollingWinControl::UpdateScrollBars() {
    if (updating_bars_) return;
    horz_->Update();
    vert_->Update();
}

void TScrollingWinControl::ScrollInView(TControl* control) {
    if (!control || !ContainsControl(control)) return;
    TRect r = control->BoundsRect();
    int32_t h = ClientHeight();
    if (r.top < 0) vert_->SetPosition(vert_->Position() + r.top);
    else if (r.bottom > h) vert_->SetPosition(vert_->Position() + std::min(r.bottom - h, r.top));
}

void TScrollingWinControl::Dispatch(TMessage& m) {
    switch (m.Msg) {
    case WM_VSCROLL:
        if (!m.LParam) {
            vert_->ScrollMessage(m);
            return;
        }
        break;
    case WM_HSCROLL:
        if (!m.LParam) {
            horz_->ScrollMessage(m);
            return;
        }
        break;
    case WM_SIZE:
        TWinControl::Dispatch(m);
        UpdateScrollBars();
        return;
    }
    TWinControl::Dispatch(m);
}

const TClassInfo& TScrollBox::StaticClass() {
    static const TClassInfo info = DefineClass<TScrollBox>("TScrollBox", &TScrollingWinControl::StaticClass(), [](auto& c) {
        c.Creatable();
        c.PublishAll("Align", "AutoScroll", "Color", "Ctl3D", "Enabled", "Font", "HorzScrollBar", "ParentColor",
                     "ParentCtl3D", "ParentFont", "ParentShowHint", "ShowHint", "TabOrder", "TabStop",
                     "VertScrollBar", "Visible", "OnClick", "OnDblClick", "OnEnter", "OnExit", "OnMouseDown",
                     "OnMouseMove", "OnMouseUp", "OnMouseWheel", "OnMouseWheelDown", "OnMouseWheelUp", "OnResize");
        c.Publish("Color").Default(clBtnFace);
        c.Publish("ParentColor").Default(false);
        PROPERTY(c, BorderStyle, BorderStyleType()).Default(bsSingle);
    });
    return info;
}

TScrollBox::TScrollBox(TComponent* owner) : TScrollingWinControl(owner) {
    SetControlStyle(TControlStyle{csAcceptsControls, csCaptureMouse, csClickEvents, csSetCaption, csDoubleClicks});
    SetBounds(0, 0, 185, 41);
    SetParentColor(false);
    SetColor(clBtnFace);
}

void TScrollBox::SetBorderStyle(TBorderStyle style) {
    if (border_style_ == style) return;
    border_style_ = style;
    RecreateWnd();
    Realign();
}

void TScrollBox::CreateParams(TCreateParams& p) {
    TScrollingWinControl::CreateParams(p);
    if (border_style_ == bsSingle) p.ExStyle |= WS_EX_CLIENTEDGE;
}

// --- forms ---------------------------------------------------------------------------

const TClassInfo& TCustomForm::StaticClass() {
    static const TClassInfo info = DefineClass<TCustomForm>("TCustomForm", &TScrollingWinControl::StaticClass(), [](auto& c) {
        PROPERTY(c, ActiveControl).Hidden();
        PROPERTY(c, BorderIcons).Default(TBorderIcons{biSystemMenu, biMinimize, biMaximize}.Bits()).Hidden();
        PROPERTY(c, BorderStyle).Default(bsSizeable).Hidden();
        c.Prop("ClientHeight", &TCustomForm::LayoutClientHeight, &TCustomForm::SetLayoutClientHeight)
            .Stored(false).Hidden();
        c.Prop("ClientWidth", &TCustomForm::LayoutClientWidth, &TCustomForm::SetLayoutClientWidth)
            .Stored(false).Hidden();
        PROPERTY(c, KeyPreview).Default(false).Hidden();
        PROPERTY(c, Menu).Hidden();
        PROPERTY(c, OldCreateOrder).Hidden();
        PROPERTY(c, PixelsPerInch).Hidden();
        PROPERTY(c, Position).Default(poDesigned).Hidden();
        PROPERTY(c, Scaled).Default(true).Hidden();
        PROPERTY(c, TextHeight).Hidden();
        PROPERTY(c, WindowState).Default(wsNormal).Hidden();
        EVENT(c, OnActivate).Hidden();
        EVENT(c, OnClose).Hidden();
        EVENT(c, OnCloseQuery).Hidden();
        EVENT(c, OnCreate).Hidden();
        EVENT(c, OnDeactivate).Hidden();
        EVENT(c, OnDestroy).Hidden();
        EVENT(c, OnHide).Hidden();
        EVENT(c, OnShow).Hidden();
    });
    return info;
}

const TClassInfo& TForm::StaticClass() {
    static const TClassInfo info = DefineClass<TForm>("TForm", &TCustomForm::StaticClass(), [](auto& c) {
        c.Creatable();
        c.PublishAll("ActiveControl", "BorderIcons", "BorderStyle", "Caption", "ClientHeight", "ClientWidth",
                     "Color", "Ctl3D", "Enabled", "Font", "HorzScrollBar", "KeyPreview", "Menu", "OldCreateOrder",
                     "ParentFont", "PixelsPerInch", "Position", "Scaled", "ShowHint", "TextHeight",
                     "VertScrollBar", "Visible", "WindowState", "OnActivate", "OnClick", "OnClose", "OnCloseQuery",
                     "OnCreate", "OnDblClick", "OnDeactivate", "OnDestroy", "OnHide", "OnKeyDown", "OnKeyPress",
                     "OnKeyUp", "OnMouseDown", "OnMouseMove", "OnMouseUp", "OnMouseWheel", "OnMouseWheelDown",
                     "OnMouseWheelUp", "OnResize", "OnShow");
        c.Publish("Color").Default(clBtnFace);
        c.Publish("Visible").Default(false);
        c.Publish("ParentFont").Default(false);
    });
    return info;
}

TCustomForm::TCustomForm(TComponent* owner) : TScrollingWinControl(owner) {
    SetControlStyle(TControlStyle{csAcceptsControls, csCaptureMouse, csClickEvents, csSetCaption, csDoubleClicks});
    SetVisibleQuietly(false);
    SetParentColor(false);
    SetColor(clBtnFace);
    SetParentFont(false);
    SetBounds(0, 0, 320, 240);
    if (Screen) Screen->AddForm(this);
}

TCustomForm::~TCustomForm() {
    if (Screen) Screen->RemoveForm(this);
}

void TCustomForm::AfterConstruction() {
    TScrollingWinControl::AfterConstruction();
    // The layout of each class from TForm down to this one.
    std::vector<const TClassInfo*> chain;
    const TClassInfo* root = &LayoutRootClass();
    for (const TClassInfo* c = &ClassType(); c && c != root && c != &TForm::StaticClass() &&
                                             c != &TCustomForm::StaticClass();
         c = c->Parent())
        chain.insert(chain.begin(), c);
    bool found = false;
    for (const TClassInfo* c : chain) {
        std::string text;
        if (!FindLayout(c->Name(), text)) continue;
        found = true;
        ReadComponentFromText(this, text);
    }
    if (!chain.empty() && !found) throw EResNotFound("Resource " + ClassName() + " not found");
    DoCreate();
}

const TClassInfo& TCustomForm::LayoutRootClass() const {
    return TForm::StaticClass();
}

void TCustomForm::BeforeDestruction() {
    if (!ComponentState().Contains(csDestroying)) {
        try {
            DoDestroy();
        } catch (...) {
            ReportException(this);
        }
    }
    if (Application && Application->MainForm() == this) Application->MainFormDestroying();
    TScrollingWinControl::BeforeDestruction();
}

void TCustomForm::DoCreate() {
    try {
        if (OnCreate) OnCreate(this);
    } catch (...) {
        ReportException(this);
    }
}

void TCustomForm::DoDestroy() {
    if (OnDestroy) OnDestroy(this);
}

void TCustomForm::DoShow() {
    if (OnShow) OnShow(this);
}

void TCustomForm::DoHide() {
    if (OnHide) OnHide(this);
}

void TCustomForm::DoClose(TCloseAction& action) {
    if (OnClose) OnClose(this, action);
}

int32_t TCustomForm::LayoutClientWidth() const {
    RECT r;
    return handle_ && GetClientRect(handle_, &r) ? r.right : layout_client_width_;
}

int32_t TCustomForm::LayoutClientHeight() const {
    RECT r;
    return handle_ && GetClientRect(handle_, &r) ? r.bottom : layout_client_height_;
}

void TCustomForm::SetLayoutClientWidth(int32_t value) {
    layout_client_width_ = value;
    TCreateParams p;
    CreateParams(p);
    RECT r{0, 0, value, 100};
    AdjustWindowRectEx(&r, p.Style, FALSE, p.ExStyle);
    SetWidth(RectWidth(r));
}

void TCustomForm::SetLayoutClientHeight(int32_t value) {
    layout_client_height_ = value;
    TCreateParams p;
    CreateParams(p);
    RECT r{0, 0, 100, value};
    AdjustWindowRectEx(&r, p.Style, FALSE, p.ExStyle);
    SetHeight(RectHeight(r));
}

void TCustomForm::CreateParams(TCreateParams& p) {
    TScrollingWinControl::CreateParams(p);
    p.Style = WS_CLIPCHILDREN | WS_CLIPSIBLINGS;
    p.ExStyle = 0;
    p.WndParent = Application ? Application->Handle() : nullptr;
    switch (border_style_) {
    case bsNone: p.Style |= WS_POPUP; break;
    case bsSingle:
    case bsToolWindow: p.Style |= WS_CAPTION | WS_BORDER; break;
    case bsSizeable:
    case bsSizeToolWin: p.Style |= WS_CAPTION | WS_THICKFRAME; break;
    case bsDialog:
        p.Style |= WS_POPUP | WS_CAPTION;
        p.ExStyle |= WS_EX_DLGMODALFRAME | WS_EX_WINDOWEDGE;
        break;
    }
    if (border_style_ == bsToolWindow || border_style_ == bsSizeToolWin) p.ExStyle |= WS_EX_TOOLWINDOW;
    if (border_style_ != bsNone && border_icons_.Contains(biSystemMenu)) {
        p.Style |= WS_SYSMENU;
        if (border_style_ != bsDialog && border_style_ != bsToolWindow && border_style_ != bsSizeToolWin) {
            if (border_icons_.Contains(biMinimize)) p.Style |= WS_MINIMIZEBOX;
            if (border_icons_.Contains(biMaximize)) p.Style |= WS_MAXIMIZEBOX;
        }
    }
    p.WindowClass.style = CS_DBLCLKS;
    p.WindowClass.hIcon = LoadIconA(nullptr, reinterpret_cast<LPCSTR>(IDI_APPLICATION));
}

void TCustomForm::CreateWnd() {
    TScrollingWinControl::CreateWnd();
    if (menu_) {
        ::SetMenu(handle_, menu_->Handle());
        menu_->SetWindowHandle(handle_);
    }
    if (window_state_ == wsMaximized) ShowWindow(handle_, SW_SHOWMAXIMIZED);
}

void TCustomForm::SetBorderStyle(TFormBorderStyle style) {
    if (border_style_ == style) return;
    border_style_ = style;
    RecreateWnd();
}

void TCustomForm::SetBorderIcons(TBorderIcons icons) {
    if (border_icons_ == icons) return;
    border_icons_ = icons;
    RecreateWnd();
}

void TCustomForm::SetWindowState(TWindowState state) {
    window_state_ = state;
    if (HandleAllocated() && Visible()) {
        static const int commands[] = {SW_SHOWNORMAL, SW_MINIMIZE, SW_SHOWMAXIMIZED};
        ShowWindow(handle_, commands[state]);
    }
}

bool TCustomForm::Showing() const {
    return handle_ && IsWindowVisible(handle_);
}

void TCustomForm::GetChildren(const std::function<void(TComponent*)>& proc, TComponent* root) {
    TScrollingWinControl::GetChildren(proc, root);
    if (root != this) return;
    for (int i = 0; i < ComponentCount(); ++i)
        if (!Components(i)->HasParent()) proc(Components(i));
}

void TCustomForm::VisibleChanging() {}

void TCustomForm::PlaceWindow() {
    int32_t x = Left(), y = Top();
    switch (position_) {
    case poScreenCenter: {
        TRect work = Screen->WorkAreaRect();
        x = work.left + (RectWidth(work) - Width()) / 2;
        y = work.top + (RectHeight(work) - Height()) / 2;
        break;
    }
    case poDesktopCenter:
        x = Screen->DesktopLeft() + (Screen->DesktopWidth() - Width()) / 2;
        y = Screen->DesktopTop() + (Screen->DesktopHeight() - Height()) / 2;
        break;
    case poMainFormCenter:
    case poOwnerFormCenter: {
        TCustomForm* center = Application->MainForm();
        if (position_ == poOwnerFormCenter) center = dynamic_cast<TCustomForm*>(Owner()) ? dynamic_cast<TCustomForm*>(Owner()) : center;
        if (center && center != this) {
            x = center->Left() + (center->Width() - Width()) / 2;
            y = center->Top() + (center->Height() - Height()) / 2;
        }
        break;
    }
    default: return;
    }
    x = std::max(x, 0);
    y = std::max(y, 0);
    SetBounds(x, y, Width(), Height());
}

void TCustomForm::CMVisibleChanged(TMessage& m) {
    if (Visible()) {
        if (showing_window_) return;
        showing_window_ = true;
        TScopeExit shown([this] { showing_window_ = false; });
        HandleNeeded();
        try {
            DoShow();
        } catch (...) {
            ReportException(this);
        }
        PlaceWindow();
        static const int commands[] = {SW_SHOWNORMAL, SW_SHOWMINIMIZED, SW_SHOWMAXIMIZED};
        ShowWindow(handle_, commands[window_state_]);
        if (active_control_) FocusControl(active_control_);
        else if (TWinControl* first = FindNextControl(nullptr, true, true, false)) FocusControl(first);
        else ::SetFocus(handle_);
    } else if (handle_) {
        try {
            DoHide();
        } catch (...) {
            ReportException(this);
        }
        ShowWindow(handle_, SW_HIDE);
    }
}

void TCustomForm::CMShowingChanged(TMessage&) {}

void TCustomForm::Show() {
    SetVisible(true);
    if (handle_) SetForegroundWindow(handle_);
}

bool TCustomForm::CloseQuery() {
    bool canClose = true;
    if (OnCloseQuery) OnCloseQuery(this, canClose);
    return canClose;
}

void TCustomForm::Close() {
    if (modal_) {
        modal_result_ = mrCancel;
        return;
    }
    if (!CloseQuery()) return;
    TCloseAction action = Application->MainForm() == this ? caFree : caHide;
    if (Application->MainForm() == this) action = caHide;
    DoClose(action);
    if (action == caNone) return;
    if (Application->MainForm() == this) Application->Terminate();
    else if (action == caHide) Hide();
    else if (action == caMinimize) SetWindowState(wsMinimized);
    else Release();
}

void TCustomForm::SetModalResult(TModalResult value) {
    if (modal_) modal_result_ = value;
}

void TCustomForm::CloseModal() {
    try {
        TCloseAction action = caNone;
        if (CloseQuery()) {
            action = caHide;
            DoClose(action);
        }
        if (action == caNone) modal_result_ = mrNone;
        else if (action == caFree) Release();
    } catch (...) {
        modal_result_ = mrNone;
        ReportException(this);
    }
}

TModalResult TCustomForm::ShowModal() {
    if (Visible() || !Enabled() || modal_) throw EInvalidOperation("Cannot make a visible window modal");
    return Interaction().ShowModal(this, [this]() -> int {
        if (HWND capture = GetCapture()) SendMessageA(capture, WM_CANCELMODE, 0, 0);
        ReleaseCapture();
        HWND activeWindow = GetActiveWindow();
        modal_ = true;
        modal_result_ = mrNone;
        std::vector<HWND> disabled = Application->DisableTaskWindows(Handle());
        TModalResult result = mrNone;
        TryFinally(
            [&] {
                Show();
                while (modal_result_ == mrNone) {
                    Application->HandleMessage();
                    if (Application->Terminated()) modal_result_ = mrCancel;
                    else if (modal_result_ != mrNone) CloseModal();
                }
                result = modal_result_;
            },
            [&] {
                Application->EnableTaskWindows(disabled);
                if (activeWindow && IsWindow(activeWindow)) SetActiveWindow(activeWindow);
                modal_ = false;
                Hide();
            });
        return result;
    });
}

void TCustomForm::Release() {
    if (handle_) PostMessageA(handle_, CM_RELEASE, 0, 0);
    else Application->ReleaseLater(this);
}

void TCustomForm::SetActiveControl(TWinControl* control) {
    if (active_control_ == control) return;
    if (control && (control == this || control->ParentForm() != this))
        throw EInvalidOperation("Invalid active control");
    active_control_ = control;
    if (control && Showing() && !ComponentState().Contains(csLoading)) FocusControl(control);
}

void TCustomForm::FocusControl(TWinControl* control) {
    if (!control) return;
    bool focused = control->CanFocus();
    active_control_ = control;
    if (focused && Showing()) ::SetFocus(control->Handle());
}

bool TCustomForm::SetFocusedControl(TWinControl* control) {
    if (ComponentState().Contains(csDestroying)) return false;
    if (focused_control_ == control) {
        active_control_ = control;
        return true;
    }
    active_control_ = control;
    TWinControl* previous = focused_control_;
    focused_control_ = control;
    // Exit from the controls being left, enter into the ones reached.
    for (TWinControl* c = previous; c && c != this; c = c->Parent()) {
        if (control && c->ContainsControl(control)) break;
        c->Perform(CM_EXIT);
        if (focused_control_ != control) return false;
    }
    std::vector<TWinControl*> entered;
    for (TWinControl* c = control; c && c != this; c = c->Parent()) {
        if (previous && c->ContainsControl(previous)) break;
        entered.insert(entered.begin(), c);
    }
    for (TWinControl* c : entered) {
        c->Perform(CM_ENTER);
        if (focused_control_ != control) return false;
    }
    TMessage m{CM_FOCUSCHANGED, 0, reinterpret_cast<LPARAM>(control), 0};
    Broadcast(m);
    return true;
}

void TCustomForm::ControlRemoving(TWinControl* control) {
    if (active_control_ && control->ContainsControl(active_control_)) active_control_ = nullptr;
    if (focused_control_ && control->ContainsControl(focused_control_)) focused_control_ = nullptr;
}

bool TCustomForm::DoKeyDown(TMessage& m) {
    WORD key = static_cast<WORD>(m.WParam);
    if (OnKeyDown) OnKeyDown(this, key, KeyboardShiftState());
    m.WParam = key;
    return key == 0;
}

bool TCustomForm::DoKeyUp(TMessage& m) {
    WORD key = static_cast<WORD>(m.WParam);
    if (OnKeyUp) OnKeyUp(this, key, KeyboardShiftState());
    m.WParam = key;
    return key == 0;
}

bool TCustomForm::DoKeyPress(TMessage& m) {
    char ch = static_cast<char>(m.WParam);
    if (OnKeyPress) OnKeyPress(this, ch);
    m.WParam = static_cast<unsigned char>(ch);
    return ch == 0;
}

void TCustomForm::CMDialogKey(TMessage& m) {
    if (GetKeyState(VK_MENU) >= 0) {
        switch (m.WParam) {
        case VK_TAB:
            if (GetKeyState(VK_CONTROL) >= 0) {
                SelectNext(active_control_, GetKeyState(VK_SHIFT) >= 0, true);
                m.Result = 1;
                return;
            }
            break;
        case VK_LEFT:
        case VK_RIGHT:
        case VK_UP:
        case VK_DOWN:
            if (active_control_ && active_control_->Parent()) {
                active_control_->Parent()->SelectNext(active_control_, m.WParam == VK_RIGHT || m.WParam == VK_DOWN,
                                                      false);
                m.Result = 1;
            }
            return;
        }
    }
    Broadcast(m);
}

void TCustomForm::SetMenu(TMainMenu* menu) {
    if (menu_ == menu) return;
    if (menu_) {
        menu_->SetWindowHandle(nullptr);
    }
    menu_ = menu;
    if (menu) menu->FreeNotification(this);
    if (!HandleAllocated()) return;
    // Setting the menu bar changes the client height: keep the client size.
    int32_t width = ClientWidth(), height = ClientHeight();
    ::SetMenu(handle_, menu ? menu->Handle() : nullptr);
    if (menu) menu->SetWindowHandle(handle_);
    SetClientWidth(width);
    SetClientHeight(height);
}

void TCustomForm::Notification(TComponent* component, TOperation operation) {
    TScrollingWinControl::Notification(component, operation);
    if (operation == opRemove && component == menu_) {
        menu_ = nullptr;
        if (HandleAllocated()) ::SetMenu(handle_, nullptr);
    }
}

void TCustomForm::UpdateActions() {
    if (ComponentState().Contains(csDesigning)) return;
    InitiateAction();
    std::function<void(TWinControl*)> controls = [&](TWinControl* parent) {
        for (int i = 0; i < parent->ControlCount(); ++i) {
            TControl* c = parent->Controls(i);
            if (!c->Visible()) continue;
            c->InitiateAction();
            if (auto* win = dynamic_cast<TWinControl*>(c)) controls(win);
        }
    };
    controls(this);
    if (menu_) {
        std::function<void(TMenuItem*)> items = [&](TMenuItem* item) {
            for (int i = 0; i < item->Count(); ++i) {
                item->Items(i)->InitiateAction();
                items(item->Items(i));
            }
        };
        items(menu_->Items());
    }
}

bool TCustomForm::DispatchAction(TBasicAction* action, bool execute) {
    auto offer = [&](TControl* c) { return execute ? c->ExecuteAction(action) : c->UpdateAction(action); };
    if (active_control_ && active_control_ != this && offer(active_control_)) return true;
    if (offer(this)) return true;
    std::function<bool(TWinControl*)> controls = [&](TWinControl* parent) {
        for (int i = 0; i < parent->ControlCount(); ++i) {
            TControl* c = parent->Controls(i);
            if (!c->Visible()) continue;
            if (c != active_control_ && offer(c)) return true;
            if (auto* win = dynamic_cast<TWinControl*>(c); win && controls(win)) return true;
        }
        return false;
    };
    return controls(this);
}

bool TCustomForm::MenuMessage(TMessage& m) {
    if (!menu_) return false;
    switch (m.Msg) {
    case WM_COMMAND:
        // Accelerators and menus send no window; controls do.
        return m.LParam == 0 && HIWORD(m.WParam) <= 1 && menu_->DispatchCommand(LOWORD(m.WParam));
    case WM_INITMENUPOPUP:
        return menu_->DispatchPopup(reinterpret_cast<HMENU>(m.WParam));
    case WM_DRAWITEM:
        if (menu_->DrawItem(reinterpret_cast<DRAWITEMSTRUCT*>(m.LParam))) {
            m.Result = TRUE;
            return true;
        }
        return false;
    case WM_MEASUREITEM:
        if (menu_->MeasureItem(reinterpret_cast<MEASUREITEMSTRUCT*>(m.LParam))) {
            m.Result = TRUE;
            return true;
        }
        return false;
    case WM_MENUSELECT: {
        auto selected = DecodeMenuSelect(m);
        ShowMenuItemHint(selected ? menu_->FindItem(selected->value, selected->kind) : nullptr);
        return false;
    }
    case WM_DESTROY:
        // The system would destroy the menu bar with the window.
        if (GetMenu(handle_) == menu_->Handle()) ::SetMenu(handle_, nullptr);
        return false;
    }
    return false;
}

void TCustomForm::Dispatch(TMessage& m) {
    if (MenuMessage(m)) return;
    switch (m.Msg) {
    case CM_DIALOGKEY: CMDialogKey(m); return;
    case CM_VISIBLECHANGED: CMVisibleChanged(m); return;
    case CM_RELEASE: Free(); return;
    case WM_CLOSE: Close(); return;
    case WM_ACTIVATE:
        DefaultHandler(m);
        active_ = LOWORD(m.WParam) != WA_INACTIVE;
        if (active_) {
            Screen->SetActiveForm(this);
            if (active_control_ && active_control_->HandleAllocated() && active_control_->CanFocus())
                ::SetFocus(active_control_->Handle());
            if (OnActivate) OnActivate(this);
        } else if (OnDeactivate) {
            OnDeactivate(this);
        }
        return;
    case WM_SETTEXT:
        DefaultHandler(m);
        return;
    case WM_GETMINMAXINFO:
        DefaultHandler(m);
        return;
    }
    TScrollingWinControl::Dispatch(m);
}
