#include "classlib/gui/wincontrol.h"

#include <algorithm>
#include <optional>
#include <unordered_map>

#include "classlib/core/class_builder.h"
#include "classlib/core/scope_exit.h"
#include "classlib/gui/application.h"
#include "classlib/gui/callback_barrier.h"
#include "classlib/gui/forms.h"
#include "classlib/gui/control_action_links.h"
#include "classlib/gui/menus.h"
#include "classlib/gui/screen.h"
#include "classlib/gui/scoped_win32.h"
#include "classlib/gui/window_atoms.h"

namespace {

// The property that carries a window's control (see window_atoms.h).
LPCSTR ControlProp() {
    return MAKEINTATOM(ControlAtom());
}
// The control whose window is being created: messages that arrive before
// CreateWindowEx returns (WM_NCCREATE, WM_MEASUREITEM at its parent) go to it.
thread_local TWinControl* g_creating = nullptr;
TControl* g_capture_control = nullptr;
thread_local bool g_wheel_bubbling = false;

// The windows of this thread that carry a control, beside their property:
// looking a window up here asks nothing of the window system, which every
// message of every control does. A window of another thread or program is
// never here.
thread_local std::unordered_map<HWND, TWinControl*> g_window_controls;

void AttachControl(HWND window, TWinControl* control) {
    if (GetPropA(window, ControlProp()) != control) SetPropA(window, ControlProp(), control);
    g_window_controls[window] = control;
}

void DetachControl(HWND window) {
    RemovePropA(window, ControlProp());
    g_window_controls.erase(window);
}

}  // namespace

TWinControl* FindControl(HWND window) {
    if (!window) return nullptr;
    // Another program or thread may use this layer too: its windows carry
    // pointers that mean nothing here, and only this thread's are listed.
    auto found = g_window_controls.find(window);
    return found == g_window_controls.end() ? nullptr : found->second;
}

TWinControl* CreationControl() {
    return g_creating;
}

void SetCreationControl(TWinControl* control) {
    g_creating = control;
}

TControl* GetCaptureControl() {
    TControl* control = FindControl(GetCapture());
    if (control && g_capture_control && g_capture_control->Parent() == control) return g_capture_control;
    return control;
}

void SetCaptureControl(TControl* control) {
    ReleaseCapture();
    g_capture_control = nullptr;
    if (!control) return;
    if (!dynamic_cast<TWinControl*>(control)) {
        if (!control->Parent()) return;
        g_capture_control = control;
        control = control->Parent();
    }
    SetCapture(static_cast<TWinControl*>(control)->Handle());
}

LRESULT CALLBACK ControlWindowProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam) {
    TWinControl* control = FindControl(window);
    if (!control && g_creating) {
        control = g_creating;
        control->handle_ = window;
        AttachControl(window, control);
    }
    if (!control) return DefWindowProcA(window, msg, wParam, lParam);
    TMessage m{msg, wParam, lParam, 0};
    CallbackBarrier(control, [&] { control->WindowProc(m); });
    if (msg == WM_NCDESTROY) {
        DetachControl(window);
        if (control->handle_ == window) control->handle_ = nullptr;
    }
    return m.Result;
}

const TClassInfo& TWinControl::StaticClass() {
    static const TClassInfo info = DefineClass<TWinControl>("TWinControl", &TControl::StaticClass(), [](auto& c) {
        PROPERTY(c, TabOrder).Default(-1).Hidden();
        PROPERTY(c, TabStop).Default(false).Hidden();
        PROPERTY(c, Ctl3D).Default(true).Hidden();
        PROPERTY(c, ParentCtl3D).Default(true).Hidden();
        EVENT(c, OnKeyDown).Hidden();
        EVENT(c, OnKeyPress).Hidden();
        EVENT(c, OnKeyUp).Hidden();
        EVENT(c, OnEnter).Hidden();
        EVENT(c, OnExit).Hidden();
        EVENT(c, OnMouseWheel).Hidden();
        EVENT(c, OnMouseWheelDown).Hidden();
        EVENT(c, OnMouseWheelUp).Hidden();
    });
    return info;
}

TWinControl::TWinControl(TComponent* owner) : TControl(owner), brush_(MakeOwned<TBrush>()) {
    brush_->SetColor(Color());
}

TWinControl::~TWinControl() = default;

void TWinControl::BeforeDestruction() {
    Destroying();
    if (handle_) DestroyWindowHandle();
    while (!controls_.empty()) {
        TControl* child = controls_.back();
        RemoveControl(child);
        child->Free();
    }
    TControl::BeforeDestruction();
}

// --- window creation ------------------------------------------------------

HWND TWinControl::Handle() {
    HandleNeeded();
    return handle_;
}

void TWinControl::HandleNeeded() {
    if (handle_) return;
    if (Parent()) Parent()->HandleNeeded();
    CreateHandle();
}

void TWinControl::CreateParams(TCreateParams& p) {
    p.Caption = StoredText();
    p.Style = WS_CHILD | WS_CLIPSIBLINGS;
    if (ControlStyle().Contains(csAcceptsControls)) p.Style |= WS_CLIPCHILDREN;
    if (tab_stop_) p.Style |= WS_TABSTOP;
    if (!Enabled()) p.Style |= WS_DISABLED;
    if (Visible()) p.Style |= WS_VISIBLE;
    p.X = Left();
    p.Y = Top();
    p.Width = Width();
    p.Height = Height();
    p.WndParent = Parent() ? Parent()->handle_ : parent_window_;
    p.WindowClass.style = CS_VREDRAW | CS_HREDRAW | CS_DBLCLKS;
    p.WindowClass.lpfnWndProc = DefWindowProcA;
    p.WindowClass.hCursor = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
    p.WindowClass.hbrBackground = nullptr;
    p.WindowClass.hInstance = GetModuleHandleA(nullptr);
    p.WinClassName = ClassName();
}

void TWinControl::CreateSubClass(TCreateParams& p, const char* controlClassName) {
    WNDCLASSA system{};
    HINSTANCE instance = GetModuleHandleA(nullptr);
    if (GetClassInfoA(nullptr, controlClassName, &system) || GetClassInfoA(instance, controlClassName, &system)) {
        // The system class's own painting and behaviour stay; only our
        // window procedure goes in front.
        p.WindowClass = system;
        p.WindowClass.hInstance = instance;
        p.WindowClass.style &= ~static_cast<UINT>(CS_GLOBALCLASS);
    }
}

void TWinControl::CreateHandle() {
    if (handle_) return;
    CreateWnd();
    if (!handle_) return;
    if (Parent()) {
        // Keep the window in its place among its siblings.
        HWND after = HWND_TOP;
        auto& siblings = Parent()->controls_;
        for (auto it = std::find(siblings.begin(), siblings.end(), this); it != siblings.begin();) {
            --it;
            if (auto* w = dynamic_cast<TWinControl*>(*it); w && w->handle_) {
                after = w->handle_;
                break;
            }
        }
        if (after == HWND_TOP) after = HWND_BOTTOM;
        SetWindowPos(handle_, after == HWND_BOTTOM ? HWND_BOTTOM : after, 0, 0, 0, 0,
                     SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    }
    for (TWinControl* child : tab_list_)
        if (child->Visible()) child->HandleNeeded();
}

void TWinControl::CreateWnd() {
    TCreateParams p;
    CreateParams(p);
    HINSTANCE instance = p.WindowClass.hInstance ? p.WindowClass.hInstance : GetModuleHandleA(nullptr);
    WNDCLASSA existing{};
    def_wnd_proc_ = p.WindowClass.lpfnWndProc ? p.WindowClass.lpfnWndProc : DefWindowProcA;
    if (!GetClassInfoA(instance, p.WinClassName.c_str(), &existing) || existing.lpfnWndProc != ControlWindowProc) {
        if (existing.lpfnWndProc) UnregisterClassA(p.WinClassName.c_str(), instance);
        WNDCLASSA wc = p.WindowClass;
        wc.hInstance = instance;
        wc.lpfnWndProc = ControlWindowProc;
        wc.lpszClassName = p.WinClassName.c_str();
        if (!RegisterClassA(&wc)) throw EOSError("Could not register the window class " + p.WinClassName);
    }
    TWinControl* previous = g_creating;
    g_creating = this;
    try {
        CreateWindowHandle(p);
    } catch (...) {
        g_creating = previous;
        throw;
    }
    g_creating = previous;
    if (!handle_) throw EOSError("Could not create the window of " + Name() + ": " + ClassName());
    if ((GetWindowLongA(handle_, GWL_STYLE) & WS_CHILD) && GetWindowLongPtrA(handle_, GWLP_ID) == 0)
        SetWindowLongPtrA(handle_, GWLP_ID, reinterpret_cast<LONG_PTR>(handle_));
    SendMessageA(handle_, WM_SETFONT, reinterpret_cast<WPARAM>(FontHandle(*Font())), 0);
}

void TWinControl::CreateWindowHandle(const TCreateParams& p) {
    HWND window = CreateWindowExA(p.ExStyle, p.WinClassName.c_str(), p.Caption.c_str(), p.Style, p.X, p.Y,
                                  p.Width, p.Height, p.WndParent, nullptr, GetModuleHandleA(nullptr), p.Param);
    if (window) AttachCreatedWindow(window);
}

void TWinControl::AttachCreatedWindow(HWND window) {
    if (handle_ && handle_ != window) return;
    handle_ = window;
    AttachControl(window, this);
}

void TWinControl::ForgetWindow() {
    if (!handle_) return;
    DetachControl(handle_);
    handle_ = nullptr;
}

void TWinControl::DestroyHandle() {
    if (!handle_) return;
    for (TWinControl* child : tab_list_) child->DestroyHandle();
    DestroyWnd();
}

void TWinControl::DestroyWnd() {
    // Keep the text that lived in the window.
    SetStoredText(GetText());
    DestroyWindowHandle();
}

void TWinControl::DestroyWindowHandle() {
    SetControlState(ControlState() + csDestroyingHandle);
    HWND window = handle_;
    if (window) {
        if (GetCapture() == window) SetCaptureControl(nullptr);
        DestroyWindow(window);
        if (handle_ == window) {
            DetachControl(window);
            handle_ = nullptr;
        }
    }
    SetControlState(ControlState() - csDestroyingHandle);
}

void TWinControl::RecreateWnd() {
    if (!handle_) return;
    bool hadFocus = Focused();
    DestroyHandle();
    UpdateControlState();
    if (!handle_ && (Parent() ? Parent()->handle_ != nullptr : parent_window_ != nullptr)) HandleNeeded();
    if (hadFocus && handle_) ::SetFocus(handle_);
}

void TWinControl::SetParentWindow(HWND window) {
    if (Parent() || parent_window_ == window) return;
    if (handle_) DestroyHandle();
    parent_window_ = window;
    UpdateControlState();
}

void TWinControl::UpdateControlState() {
    bool parentHasWindow = Parent() ? Parent()->handle_ != nullptr : parent_window_ != nullptr;
    if (parentHasWindow && Visible()) HandleNeeded();
}

// --- children --------------------------------------------------------------

void TWinControl::InsertControl(TControl* control) {
    control->parent_ = this;
    controls_.push_back(control);
    if (auto* win = dynamic_cast<TWinControl*>(control)) {
        tab_list_.push_back(win);
        if (win->pending_tab_order_ >= 0) {
            int32_t order = win->pending_tab_order_;
            win->pending_tab_order_ = -1;
            win->SetTabOrder(order);
        }
    }
    if (!control->ComponentState().Contains(csReading)) {
        control->Perform(CM_PARENTCOLORCHANGED);
        control->Perform(CM_PARENTFONTCHANGED);
        control->Perform(CM_PARENTSHOWHINTCHANGED);
    }
    if (auto* win = dynamic_cast<TWinControl*>(control)) {
        if (win->parent_ctl3d_) win->ctl3d_ = ctl3d_;
        win->UpdateControlState();
    } else {
        control->Invalidate();
    }
    AlignControl(control);
}

void TWinControl::RemoveControl(TControl* control) {
    if (control == g_capture_control) g_capture_control = nullptr;
    if (auto* win = dynamic_cast<TWinControl*>(control)) {
        if (TCustomForm* form = ParentForm()) form->ControlRemoving(win);
        win->DestroyHandle();
        tab_list_.erase(std::remove(tab_list_.begin(), tab_list_.end(), win), tab_list_.end());
    } else {
        control->InvalidateControl(control->Visible(), false);
    }
    controls_.erase(std::remove(controls_.begin(), controls_.end(), control), controls_.end());
    control->parent_ = nullptr;
    Realign();
}

bool TWinControl::ContainsControl(const TControl* control) const {
    for (const TControl* c = control; c; c = c->Parent())
        if (c == this) return true;
    return false;
}

TControl* TWinControl::ControlAtPos(TPoint pos, bool allowDisabled, bool allowWinControls) {
    for (auto it = controls_.rbegin(); it != controls_.rend(); ++it) {
        TControl* c = *it;
        if (!allowWinControls && dynamic_cast<TWinControl*>(c)) continue;
        if (!c->Visible() || (!allowDisabled && !c->Enabled())) continue;
        if (!PtInRect(c->BoundsRect(), pos)) continue;
        TPoint local = Point(pos.x - c->Left(), pos.y - c->Top());
        if (c->Perform(CM_HITTEST, 0, MAKELPARAM(local.x, local.y)) != 0) return c;
    }
    return nullptr;
}

void TWinControl::Broadcast(TMessage& message) {
    for (size_t i = 0; i < controls_.size(); ++i) {
        controls_[i]->WindowProc(message);
        if (message.Result != 0) return;
    }
}

void TWinControl::NotifyControls(UINT msg) {
    std::vector<TControl*> copy = controls_;
    for (TControl* c : copy) c->Perform(msg);
}

void TWinControl::SetChildZOrder(TControl* child, bool topmost) {
    auto it = std::find(controls_.begin(), controls_.end(), child);
    if (it == controls_.end()) return;
    controls_.erase(it);
    if (topmost) controls_.push_back(child);
    else controls_.insert(controls_.begin(), child);
    if (auto* win = dynamic_cast<TWinControl*>(child); win && win->handle_)
        SetWindowPos(win->handle_, topmost ? HWND_TOP : HWND_BOTTOM, 0, 0, 0, 0,
                     SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    else child->Invalidate();
}

void TWinControl::ScrollBy(int dx, int dy) {
    {
        DisableAlign();
        TScopeExit enable([this] { --align_level_; });
        for (TControl* c : controls_) c->SetBounds(c->Left() + dx, c->Top() + dy, c->Width(), c->Height());
    }
    Realign();
    Invalidate();
}

void TWinControl::GetChildren(const std::function<void(TComponent*)>& proc, TComponent* root) {
    for (TControl* c : controls_)
        if (c->Owner() == root) proc(c);
}

void TWinControl::SetChildOrder(TComponent* child, int order) {
    auto* c = dynamic_cast<TControl*>(child);
    auto it = std::find(controls_.begin(), controls_.end(), c);
    if (it == controls_.end()) return;
    controls_.erase(it);
    order = std::clamp(order, 0, static_cast<int>(controls_.size()));
    controls_.insert(controls_.begin() + order, c);
}

// --- tab order and focus --------------------------------------------------------

int32_t TWinControl::TabOrder() const {
    if (!Parent()) return pending_tab_order_;
    auto& list = Parent()->tab_list_;
    auto it = std::find(list.begin(), list.end(), this);
    return it == list.end() ? -1 : static_cast<int32_t>(it - list.begin());
}

void TWinControl::SetTabOrder(int32_t order) {
    if (!Parent()) {
        pending_tab_order_ = order;
        return;
    }
    auto& list = Parent()->tab_list_;
    auto it = std::find(list.begin(), list.end(), this);
    if (it == list.end()) return;
    list.erase(it);
    order = std::clamp(order, 0, static_cast<int32_t>(list.size()));
    list.insert(list.begin() + order, this);
}

void TWinControl::SetTabStop(bool value) {
    if (tab_stop_ == value) return;
    tab_stop_ = value;
    if (handle_) {
        LONG style = GetWindowLongA(handle_, GWL_STYLE);
        SetWindowLongA(handle_, GWL_STYLE, value ? (style | WS_TABSTOP) : (style & ~WS_TABSTOP));
    }
}

void TWinControl::SetCtl3D(bool value) {
    if (ctl3d_ == value) return;
    ctl3d_ = value;
    parent_ctl3d_ = false;
    RecreateWnd();
}

void TWinControl::SetParentCtl3D(bool value) {
    if (parent_ctl3d_ == value) return;
    parent_ctl3d_ = value;
    if (value && Parent() && ctl3d_ != Parent()->ctl3d_) {
        ctl3d_ = Parent()->ctl3d_;
        RecreateWnd();
    }
}

bool TWinControl::Focused() const {
    return handle_ && GetFocus() == handle_;
}

bool TWinControl::CanFocus() const {
    const TControl* c = this;
    for (; c; c = c->Parent())
        if (!c->Visible() || !c->Enabled()) return false;
    return ParentForm() != nullptr || !Parent();
}

void TWinControl::SetFocus() {
    if (TCustomForm* form = ParentForm(); form && form != this) form->FocusControl(this);
    else if (HandleAllocated() || Visible()) ::SetFocus(Handle());
}

void TWinControl::GetTabOrderList(std::vector<TWinControl*>& list) {
    for (TWinControl* c : tab_list_) {
        list.push_back(c);
        c->GetTabOrderList(list);
    }
}

TWinControl* TWinControl::FindNextControl(TWinControl* current, bool goForward, bool checkTabStop,
                                          bool checkParent) {
    std::vector<TWinControl*> list;
    GetTabOrderList(list);
    if (list.empty()) return nullptr;
    int count = static_cast<int>(list.size());
    int start = -1;
    for (int i = 0; i < count; ++i)
        if (list[static_cast<size_t>(i)] == current) start = i;
    if (start < 0) start = goForward ? count - 1 : 0;
    int i = start;
    for (int step = 0; step < count; ++step) {
        i = goForward ? (i + 1) % count : (i - 1 + count) % count;
        TWinControl* c = list[static_cast<size_t>(i)];
        if (c == current) break;
        if ((!checkTabStop || c->TabStop()) && (!checkParent || c->Parent() == this) && c->CanFocus()) return c;
    }
    return nullptr;
}

void TWinControl::SelectNext(TWinControl* current, bool goForward, bool checkTabStop) {
    if (TWinControl* next = FindNextControl(current, goForward, checkTabStop, !checkTabStop)) next->SetFocus();
}

// --- geometry and painting --------------------------------------------------------

bool TWinControl::Showing() const {
    if (!Visible()) return false;
    if (Parent()) return Parent()->Showing();
    return handle_ && IsWindowVisible(handle_);
}

void TWinControl::SetBounds(int32_t left, int32_t top, int32_t width, int32_t height) {
    if (!CanResize(width, height)) {
        width = Width();
        height = Height();
    }
    if (left == Left() && top == Top() && width == Width() && height == Height()) return;
    if (handle_ && !IsIconic(handle_)) {
        SetWindowPos(handle_, nullptr, left, top, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
        return;  // WM_WINDOWPOSCHANGED takes the new bounds
    }
    bool sized = width != Width() || height != Height();
    UpdateBoundsRect(Bounds(left, top, width, height));
    RequestAlign();
    if (sized) {
        Realign();
        if (!ComponentState().Contains(csLoading)) Resize();
    }
}

void TWinControl::UpdateBounds() {
    RECT r;
    GetWindowRect(handle_, &r);
    HWND parentWindow = GetParent(handle_);
    if ((GetWindowLongA(handle_, GWL_STYLE) & WS_CHILD) && parentWindow) {
        MapWindowPoints(HWND_DESKTOP, parentWindow, reinterpret_cast<POINT*>(&r), 2);
    }
    UpdateBoundsRect(r);
}

TRect TWinControl::ClientRect() {
    RECT r;
    GetClientRect(Handle(), &r);
    return r;
}

TPoint TWinControl::ClientOrigin() {
    POINT p{0, 0};
    ::ClientToScreen(Handle(), &p);
    return p;
}

void TWinControl::Invalidate() {
    if (handle_) InvalidateRect(handle_, nullptr, !ControlStyle().Contains(csOpaque));
}

void TWinControl::Update() {
    if (handle_) UpdateWindow(handle_);
}

void TWinControl::Repaint() {
    Invalidate();
    Update();
}

void TWinControl::PaintWindow(HDC dc) {
    TMessage m{WM_PAINT, reinterpret_cast<WPARAM>(dc), 0, 0};
    DefaultHandler(m);
}

void TWinControl::PaintControls(HDC dc, TControl* first) {
    auto it = controls_.begin();
    if (first) it = std::find(controls_.begin(), controls_.end(), first);
    for (; it != controls_.end(); ++it) {
        TControl* c = *it;
        if (dynamic_cast<TWinControl*>(c) || !c->Visible()) continue;
        TRect r = c->BoundsRect();
        if (!RectVisible(dc, &r)) continue;
        // The origin and clip go back also when the control's painting throws.
        TSavedDC saved(dc);
        POINT origin;
        GetWindowOrgEx(dc, &origin);
        SetWindowOrgEx(dc, origin.x - c->Left(), origin.y - c->Top(), nullptr);
        IntersectClipRect(dc, 0, 0, c->Width(), c->Height());
        c->Perform(WM_PAINT, reinterpret_cast<WPARAM>(dc), 0);
    }
}

void TWinControl::PaintHandler(TMessage& m) {
    HDC dc = reinterpret_cast<HDC>(m.WParam);
    std::optional<TPaintDC> painting;
    if (!dc) dc = painting.emplace(handle_).Get();
    {
        TSavedDC saved(dc);
        // Windowless children are drawn after the window, clipped out of it.
        for (TControl* c : controls_) {
            if (dynamic_cast<TWinControl*>(c) || !c->Visible() || !c->ControlStyle().Contains(csOpaque)) continue;
            TRect r = c->BoundsRect();
            ExcludeClipRect(dc, r.left, r.top, r.right, r.bottom);
        }
        PaintWindow(dc);
    }
    PaintControls(dc, nullptr);
}

std::string TWinControl::GetText() const {
    if (!handle_) return StoredText();
    int n = GetWindowTextLengthA(handle_);
    std::string s(static_cast<size_t>(n) + 1, '\0');
    n = GetWindowTextA(handle_, s.data(), n + 1);
    s.resize(static_cast<size_t>(std::max(n, 0)));
    return s;
}

void TWinControl::SetTextValue(const std::string& value) {
    if (GetText() == value) return;
    SetStoredText(value);
    if (handle_) SetWindowTextA(handle_, value.c_str());
    Perform(CM_TEXTCHANGED);
}

// --- messages ---------------------------------------------------------------------

void TWinControl::WndProc(TMessage& m) {
    switch (m.Msg) {
    case WM_SETFOCUS: {
        TCustomForm* form = ParentForm();
        if (form && form != this && !form->SetFocusedControl(this)) return;
        break;
    }
    case WM_KILLFOCUS:
        if (ControlState().Contains(csFocusing)) return;
        break;
    case WM_NCHITTEST:
        DefaultHandler(m);
        return;
    default:
        if (m.Msg >= WM_MOUSEFIRST && m.Msg <= WM_MOUSELAST && m.Msg != WM_MOUSEWHEEL) {
            // Mouse messages for windowless children go to them.
            TControl* target = nullptr;
            TControl* capture = GetCaptureControl();
            if (capture && capture->Parent() == this) target = capture;
            else if (!capture) target = ControlAtPos(Point(m.XPos(), m.YPos()), false);
            if (target) {
                TMessage child = m;
                child.LParam = MAKELPARAM(m.XPos() - target->Left(), m.YPos() - target->Top());
                target->WindowProc(child);
                m.Result = child.Result;
                // The window's own handling of a right release asks for the
                // context menu (WM_CONTEXTMENU), which finds the child again.
                if (m.Msg == WM_RBUTTONUP && !m.Result && HandleAllocated()) DefaultHandler(m);
                return;
            }
        }
    }
    TControl::WndProc(m);
}

void TWinControl::Dispatch(TMessage& m) {
    switch (m.Msg) {
    case WM_PAINT: WMPaint(m); return;
    case WM_ERASEBKGND: WMEraseBkgnd(m); return;
    case WM_WINDOWPOSCHANGED: WMWindowPosChanged(m); return;
    case WM_SIZE: WMSize(m); return;
    case WM_SETFOCUS: WMSetFocus(m); return;
    case WM_KILLFOCUS: WMKillFocus(m); return;
    case WM_SETCURSOR: WMSetCursor(m); return;
    case WM_MOUSEWHEEL: WMMouseWheel(m); return;
    case WM_NCDESTROY: WMNCDestroy(m); return;
    case WM_CONTEXTMENU: {
        // A windowless child under the point gets its menu first.
        TPoint at = Point(m.XPos(), m.YPos());
        if (!(at.x == -1 && at.y == -1)) {
            if (TControl* child = ControlAtPos(ScreenToClient(at), false)) {
                m.Result = child->Perform(WM_CONTEXTMENU, m.WParam, m.LParam);
                if (m.Result) return;
            }
        }
        WMContextMenu(m);
        return;
    }
    case WM_COMMAND:
        if (!DoControlMsg(reinterpret_cast<HWND>(m.LParam), m)) DefaultHandler(m);
        return;
    case WM_NOTIFY:
        if (!DoControlMsg(reinterpret_cast<NMHDR*>(m.LParam)->hwndFrom, m)) DefaultHandler(m);
        return;
    case WM_DRAWITEM: {
        auto* dis = reinterpret_cast<DRAWITEMSTRUCT*>(m.LParam);
        if (dis->CtlType == ODT_MENU || !DoControlMsg(dis->hwndItem, m)) DefaultHandler(m);
        return;
    }
    case WM_MEASUREITEM: {
        auto* mis = reinterpret_cast<MEASUREITEMSTRUCT*>(m.LParam);
        // During CreateWindowEx the child's window is not ours yet: the
        // control being created answers.
        TWinControl* target = nullptr;
        if (mis->CtlType != ODT_MENU) {
            target = FindControl(reinterpret_cast<HWND>(static_cast<intptr_t>(mis->CtlID)));
            if (!target && g_creating && g_creating->Parent() == this) target = g_creating;
        }
        if (target && target != this) m.Result = target->Perform(CN_MEASUREITEM, m.WParam, m.LParam);
        else DefaultHandler(m);
        return;
    }
    case WM_DELETEITEM:
        if (!DoControlMsg(reinterpret_cast<DELETEITEMSTRUCT*>(m.LParam)->hwndItem, m)) DefaultHandler(m);
        return;
    case WM_HSCROLL:
    case WM_VSCROLL:
    case WM_CTLCOLORMSGBOX:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORDLG:
    case WM_CTLCOLORSCROLLBAR:
    case WM_CTLCOLORSTATIC:
        if (!m.LParam || !DoControlMsg(reinterpret_cast<HWND>(m.LParam), m)) DefaultHandler(m);
        return;
    case CN_KEYDOWN:
    case CN_SYSKEYDOWN: CNKeyDown(m); return;
    case CN_KEYUP: CNKeyUp(m); return;
    case CN_CHAR: CNChar(m); return;
    case CN_SYSCHAR: CNSysChar(m); return;
    case CN_CTLCOLORMSGBOX:
    case CN_CTLCOLOREDIT:
    case CN_CTLCOLORLISTBOX:
    case CN_CTLCOLORBTN:
    case CN_CTLCOLORDLG:
    case CN_CTLCOLORSCROLLBAR:
    case CN_CTLCOLORSTATIC: CNCtlColor(m); return;
    case CM_MOUSEWHEEL: CMMouseWheel(m); return;
    case CM_DIALOGKEY: CMDialogKey(m); return;
    case CM_DIALOGCHAR: CMDialogChar(m); return;
    // Buttons inside containers track the focus too (default button).
    case CM_FOCUSCHANGED: Broadcast(m); return;
    case CM_ENTER: CMEnter(m); return;
    case CM_EXIT: CMExit(m); return;
    case CM_COLORCHANGED: CMColorChanged(m); return;
    case CM_FONTCHANGED: CMFontChanged(m); return;
    case CM_ENABLEDCHANGED: CMEnabledChanged(m); return;
    case CM_VISIBLECHANGED: CMVisibleChanged(m); return;
    case CM_SHOWHINTCHANGED: CMShowHintChanged(m); return;
    case CM_CURSORCHANGED: CMCursorChanged(m); return;
    default: TControl::Dispatch(m);
    }
}

void TWinControl::DefaultHandler(TMessage& m) {
    if (handle_) {
        m.Result = CallWindowProcA(def_wnd_proc_ ? def_wnd_proc_ : DefWindowProcA, handle_, m.Msg, m.WParam, m.LParam);
        return;
    }
    TControl::DefaultHandler(m);
}

bool TWinControl::DoControlMsg(HWND child, TMessage& m) {
    TWinControl* control = FindControl(child);
    if (!control || control == this) return false;
    m.Result = control->Perform(CN_BASE + m.Msg, m.WParam, m.LParam);
    return true;
}

void TWinControl::WMPaint(TMessage& m) {
    bool ownPainting = ControlState().Contains(csCustomPaint) || !controls_.empty();
    if (!ownPainting) {
        DefaultHandler(m);
        return;
    }
    PaintHandler(m);
}

void TWinControl::WMEraseBkgnd(TMessage& m) {
    RECT r;
    GetClientRect(handle_, &r);
    brush_->SetColor(Color());
    ::FillRect(reinterpret_cast<HDC>(m.WParam), &r, brush_->Handle());
    m.Result = 1;
}

void TWinControl::WMWindowPosChanged(TMessage& m) {
    auto* pos = reinterpret_cast<WINDOWPOS*>(m.LParam);
    bool sized = !(pos->flags & SWP_NOSIZE);
    bool moved = !(pos->flags & SWP_NOMOVE);
    DefaultHandler(m);
    if (sized || moved) {
        int oldW = Width(), oldH = Height();
        UpdateBounds();
        if (oldW != Width() || oldH != Height()) {
            Realign();
            if (!ComponentState().Contains(csLoading)) Resize();
        }
        RequestAlign();
    }
}

void TWinControl::WMSize(TMessage& m) {
    DefaultHandler(m);
}

void TWinControl::WMSetFocus(TMessage& m) {
    DefaultHandler(m);
}

void TWinControl::WMKillFocus(TMessage& m) {
    DefaultHandler(m);
}

void TWinControl::WMSetCursor(TMessage& m) {
    if (reinterpret_cast<HWND>(m.WParam) == handle_ && LOWORD(m.LParam) == HTCLIENT) {
        TCursor cursor = Screen->Cursor();
        if (cursor == 0) {
            POINT p;
            GetCursorPos(&p);
            ::ScreenToClient(handle_, &p);
            TControl* c = ControlAtPos(p, false);
            cursor = c && c->Cursor() != 0 ? c->Cursor() : Cursor();
        }
        if (cursor != 0) {
            ::SetCursor(Screen->Cursors(cursor));
            m.Result = 1;
            return;
        }
    }
    DefaultHandler(m);
}

void TWinControl::WMMouseWheel(TMessage& m) {
    // Handlers up to the form see each wheel message once; when nobody
    // handles it the window's default processing goes on (and a parent
    // reached by that forwarding does not run the handlers again).
    if (g_wheel_bubbling) {
        DefaultHandler(m);
        return;
    }
    g_wheel_bubbling = true;
    try {
        m.Result = Perform(CM_MOUSEWHEEL, m.WParam, m.LParam);
        if (m.Result == 0) DefaultHandler(m);
    } catch (...) {
        g_wheel_bubbling = false;
        throw;
    }
    g_wheel_bubbling = false;
}

void TWinControl::CMMouseWheel(TMessage& m) {
    TShiftState shift = ShiftStateFromKeys(LOWORD(m.WParam));
    int delta = static_cast<int16_t>(HIWORD(m.WParam));
    if (DoMouseWheel(shift, delta, Point(m.XPos(), m.YPos()))) {
        m.Result = 1;
        return;
    }
    m.Result = Parent() ? Parent()->Perform(CM_MOUSEWHEEL, m.WParam, m.LParam) : 0;
}

bool TWinControl::DoMouseWheel(TShiftState shift, int wheelDelta, TPoint mousePos) {
    bool handled = false;
    if (OnMouseWheel) OnMouseWheel(this, shift, wheelDelta, mousePos, handled);
    if (!handled) {
        if (wheelDelta < 0 && OnMouseWheelDown) OnMouseWheelDown(this, shift, mousePos, handled);
        else if (wheelDelta > 0 && OnMouseWheelUp) OnMouseWheelUp(this, shift, mousePos, handled);
    }
    return handled;
}

void TWinControl::WMNCDestroy(TMessage& m) {
    DefaultHandler(m);
}

bool TWinControl::DoKeyDown(TMessage& m) {
    TShiftState shift = KeyboardShiftState();
    TCustomForm* form = ParentForm();
    WORD key = static_cast<WORD>(m.WParam);
    if (form && form != this && form->KeyPreview() && form->DoKeyDown(m)) return true;
    key = static_cast<WORD>(m.WParam);
    KeyDown(key, shift);
    m.WParam = key;
    return key == 0;
}

bool TWinControl::DoKeyUp(TMessage& m) {
    TShiftState shift = KeyboardShiftState();
    TCustomForm* form = ParentForm();
    if (form && form != this && form->KeyPreview() && form->DoKeyUp(m)) return true;
    WORD key = static_cast<WORD>(m.WParam);
    KeyUp(key, shift);
    m.WParam = key;
    return key == 0;
}

bool TWinControl::DoKeyPress(TMessage& m) {
    TCustomForm* form = ParentForm();
    if (form && form != this && form->KeyPreview() && form->DoKeyPress(m)) return true;
    char ch = static_cast<char>(m.WParam);
    KeyPress(ch);
    m.WParam = static_cast<unsigned char>(ch);
    return ch == 0;
}

void TWinControl::KeyDown(WORD& key, TShiftState shift) {
    if (OnKeyDown) OnKeyDown(this, key, shift);
}

void TWinControl::KeyUp(WORD& key, TShiftState shift) {
    if (OnKeyUp) OnKeyUp(this, key, shift);
}

void TWinControl::KeyPress(char& key) {
    if (OnKeyPress) OnKeyPress(this, key);
}

void TWinControl::CNKeyDown(TMessage& m) {
    m.Result = 1;
    if (DoKeyDown(m)) return;
    if (IsMenuShortCutKey(this, static_cast<WORD>(m.WParam), KeyboardShiftState())) return;
    UINT mask = 0;
    switch (m.WParam) {
    case VK_TAB: mask = DLGC_WANTTAB; break;
    case VK_LEFT:
    case VK_RIGHT:
    case VK_UP:
    case VK_DOWN: mask = DLGC_WANTARROWS; break;
    case VK_RETURN:
    case VK_EXECUTE:
    case VK_ESCAPE:
    case VK_CANCEL: mask = DLGC_WANTALLKEYS; break;
    }
    if (mask && Perform(CM_WANTSPECIALKEY, m.WParam) == 0 && (Perform(WM_GETDLGCODE) & mask) == 0) {
        TCustomForm* form = ParentForm();
        if (form && form->Perform(CM_DIALOGKEY, m.WParam, m.LParam) != 0) return;
    }
    m.Result = 0;
}

void TWinControl::CNKeyUp(TMessage& m) {
    m.Result = DoKeyUp(m) ? 1 : 0;
}

void TWinControl::CNChar(TMessage& m) {
    m.Result = DoKeyPress(m) ? 1 : 0;
}

void TWinControl::CNSysChar(TMessage& m) {
    // Alt + letter: the form looks for the control with that accelerator.
    TCustomForm* form = ParentForm();
    if (form && form->Perform(CM_DIALOGCHAR, m.WParam, m.LParam) != 0) {
        m.Result = 1;
        return;
    }
    m.Result = 0;
}

void TWinControl::CNCtlColor(TMessage& m) {
    HDC dc = reinterpret_cast<HDC>(m.WParam);
    SetTextColor(dc, static_cast<COLORREF>(ColorToRGB(Font()->Color())));
    SetBkColor(dc, static_cast<COLORREF>(ColorToRGB(Color())));
    brush_->SetColor(Color());
    m.Result = reinterpret_cast<LRESULT>(brush_->Handle());
}

void TWinControl::CMDialogKey(TMessage& m) {
    Broadcast(m);
}

void TWinControl::CMDialogChar(TMessage& m) {
    Broadcast(m);
}

void TWinControl::CMEnter(TMessage&) {
    DoEnter();
}

void TWinControl::CMExit(TMessage&) {
    DoExit();
}

void TWinControl::DoEnter() {
    if (OnEnter) OnEnter(this);
}

void TWinControl::DoExit() {
    if (OnExit) OnExit(this);
}

void TWinControl::CMColorChanged(TMessage&) {
    brush_->SetColor(Color());
    NotifyControls(CM_PARENTCOLORCHANGED);
    Invalidate();
}

void TWinControl::CMFontChanged(TMessage&) {
    if (handle_) SendMessageA(handle_, WM_SETFONT, reinterpret_cast<WPARAM>(FontHandle(*Font())), 1);
    NotifyControls(CM_PARENTFONTCHANGED);
    Invalidate();
}

void TWinControl::CMEnabledChanged(TMessage&) {
    if (!Enabled() && Parent()) {
        if (TCustomForm* form = ParentForm(); form && form->ActiveControl() && ContainsControl(form->ActiveControl()))
            form->ControlRemoving(form->ActiveControl());
    }
    if (handle_) EnableWindow(handle_, Enabled());
}

void TWinControl::CMVisibleChanged(TMessage&) {
    if (Visible()) {
        UpdateControlState();
        if (handle_) ShowWindow(handle_, SW_SHOWNA);
    } else if (handle_) {
        if (TCustomForm* form = ParentForm(); form && form != this && form->ActiveControl() &&
                                              ContainsControl(form->ActiveControl()))
            form->ControlRemoving(form->ActiveControl());
        ShowWindow(handle_, SW_HIDE);
    }
}

void TWinControl::CMShowHintChanged(TMessage&) {
    NotifyControls(CM_PARENTSHOWHINTCHANGED);
}

void TWinControl::CMCursorChanged(TMessage&) {
    if (handle_) {
        POINT p;
        GetCursorPos(&p);
        if (WindowFromPoint(p) == handle_) SendMessageA(handle_, WM_SETCURSOR, reinterpret_cast<WPARAM>(handle_), HTCLIENT);
    }
}

const TClassInfo& TWinControl::GetActionLinkClass() const {
    return TWinControlActionLink::StaticClass();
}
