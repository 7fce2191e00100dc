#include "unicode/unicode_windows.h"

#include <unordered_map>

#include "classlib/core/class_builder.h"
#include "classlib/core/component_list.h"
#include "classlib/core/scope_exit.h"
#include "classlib/gui/callback_barrier.h"
#include "unicode/api_wrappers.h"
#include "unicode/code_pages.h"
#include "unicode/text/platform_flags.h"
#include "unicode/text/uc_errors.h"
#include "unicode/wide_captions.h"
#include "unicode/wide_hints.h"
#include "unicode/wide_sysutils.h"

namespace {

TComponentList* g_pending_traps = nullptr;  // not owning
ATOM g_control_atom = 0;
ATOM g_window_atom = 0;
// The control whose window CreateUnicodeWindowHandle is making.
TWinControl* g_creating = nullptr;
bool g_finalised = false;
// The trap of each subclassed window (user-interface thread only).
std::unordered_map<HWND, TWinControlTrap*> g_traps;

TWinControlTrap* TrapOf(HWND window) {
    auto it = g_traps.find(window);
    return it == g_traps.end() ? nullptr : it->second;
}

HINSTANCE ModuleInstance() {
    return GetModuleHandleW(nullptr);
}

TWinControlTrap* FindOrCreateTrap(TWinControl* control) {
    if (g_pending_traps) {
        for (int i = g_pending_traps->Count() - 1; i >= 0; --i) {
            auto* trap = static_cast<TWinControlTrap*>(g_pending_traps->Items(i));
            if (trap->Control() == control) {
                g_pending_traps->Extract(trap);
                return trap;
            }
        }
    }
    return New<TWinControlTrap>(control);
}

// The layer's first window procedure: attaches the window to the control
// being created before the class library sees any message of it.
LRESULT CALLBACK UnicodeInitWindowProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam) {
    TWinControl* control = CreationControl();
    if (!control) return DefWindowProcW(window, msg, wParam, lParam);
    bool attached = CallbackBarrier(control, false, [&] {
        control->AttachCreatedWindow(window);
        TWinControlTrap* trap = FindOrCreateTrap(control);
        if (g_pending_traps) g_pending_traps->Add(trap);
        return true;
    });
    if (!attached) return DefWindowProcW(window, msg, wParam, lParam);
    SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&ControlWindowProc));
    if ((GetWindowLongW(window, GWL_STYLE) & WS_CHILD) && GetWindowLongPtrW(window, GWLP_ID) == 0)
        SetWindowLongPtrW(window, GWLP_ID, reinterpret_cast<LONG_PTR>(window));
    if (g_window_atom) SetPropA(window, MAKEINTATOM(g_window_atom), control);
    if (g_control_atom) SetPropA(window, MAKEINTATOM(g_control_atom), control);
    SetCreationControl(nullptr);
    return CallWindowProcW(&ControlWindowProc, window, msg, wParam, lParam);
}

}  // namespace

WPARAM CharToTransportForm(WPARAM wParam) {
    auto value = static_cast<uint32_t>(wParam);
    uint32_t high = value >> 16, low = value & 0xFFFF;
    if (high != 0) low |= (high & 0xFF) << 8;
    if (low > 255) {
        high = low;
        low = 255;
    }
    return (static_cast<WPARAM>(high) << 16) | low;
}

WPARAM CharFromTransportForm(WPARAM wParam) {
    auto value = static_cast<uint32_t>(wParam);
    uint32_t high = value >> 16, low = value & 0xFFFF;
    if (high != 0 && low == 255) low = high;
    return low;
}

void StartUnicodeWindows(const std::string& controlAtomName, const std::string& windowAtomName) {
    g_finalised = false;
    g_pending_traps = New<TComponentList>(false);
    g_control_atom = static_cast<ATOM>(CheckWin32Result(GlobalAddAtomA(controlAtomName.c_str())));
    g_window_atom = static_cast<ATOM>(CheckWin32Result(GlobalAddAtomA(windowAtomName.c_str())));
}

void StopUnicodeWindows() {
    if (g_window_atom) GlobalDeleteAtom(std::exchange(g_window_atom, ATOM(0)));
    if (g_control_atom) GlobalDeleteAtom(std::exchange(g_control_atom, ATOM(0)));
    FreeAndNil(g_pending_traps);
    g_finalised = true;
}

ATOM UcControlAtom() {
    return g_control_atom;
}

ATOM UcWindowAtom() {
    return g_window_atom;
}

// --- window classes and windows ------------------------------------------------------------

void RegisterUnicodeWindowClass(const TCreateParams& params, std::wstring& wideClassName, bool libraryFirstProc) {
    wideClassName = WideFromSystemAnsi(params.WinClassName.substr(0, 64)) + L".UnicodeClass";
    WNDPROC first = libraryFirstProc ? &ControlWindowProc : &UnicodeInitWindowProc;
    HINSTANCE instance = ModuleInstance();
    WNDCLASSW existing{};
    if (GetClassInfoW(instance, wideClassName.c_str(), &existing)) {
        if (existing.lpfnWndProc == first) return;
        if (!UnregisterClassW(wideClassName.c_str(), instance)) RaiseLastSystemError();
    }
    const WNDCLASSA& given = params.WindowClass;
    WNDCLASSW wc{};
    wc.style = given.style;
    wc.cbClsExtra = given.cbClsExtra;
    wc.cbWndExtra = given.cbWndExtra;
    wc.hIcon = given.hIcon;
    wc.hCursor = given.hCursor;
    wc.hbrBackground = given.hbrBackground;
    wc.hInstance = instance;
    wc.lpfnWndProc = first;
    std::wstring menuName;
    if (given.lpszMenuName && !IsResourceOrdinal(reinterpret_cast<uintptr_t>(given.lpszMenuName))) {
        menuName = WideFromSystemAnsi(given.lpszMenuName);
        wc.lpszMenuName = menuName.c_str();
    } else {
        wc.lpszMenuName = reinterpret_cast<LPCWSTR>(given.lpszMenuName);
    }
    wc.lpszClassName = wideClassName.c_str();
    if (!RegisterClassW(&wc)) RaiseLastSystemError();
}

void CreateUnicodeWindowHandle(TWinControl* control, const TCreateParams& params, const std::wstring& baseClassName,
                               bool libraryFirstProc) {
    if (!UnicodePlatform) {
        HWND window = CreateWindowExA(params.ExStyle, params.WinClassName.c_str(), params.Caption.c_str(),
                                      params.Style, params.X, params.Y, params.Width, params.Height,
                                      params.WndParent, nullptr, params.WindowClass.hInstance, params.Param);
        if (window) control->AttachCreatedWindow(window);
        return;
    }
    WNDPROC defaultProc = &DefWindowProcW;
    WNDCLASSW base{};
    if (!baseClassName.empty() && GetClassInfoW(params.WindowClass.hInstance, baseClassName.c_str(), &base))
        defaultProc = base.lpfnWndProc;
    control->SetDefWndProc(defaultProc);
    std::wstring wideClassName;
    RegisterUnicodeWindowClass(params, wideClassName, libraryFirstProc);
    HWND window;
    {
        TRestore<TWinControl*> restore(g_creating);
        g_creating = control;
        window = CreateWindowExW(params.ExStyle, wideClassName.c_str(), nullptr, params.Style, params.X, params.Y,
                                 params.Width, params.Height, params.WndParent, nullptr, ModuleInstance(),
                                 params.Param);
    }
    if (!window) RaiseLastSystemError();
    control->AttachCreatedWindow(window);
    // The class library's own first procedure leaves the window as it is;
    // should anything have made it ANSI, it becomes Unicode again.
    if (libraryFirstProc && !IsWindowUnicode(window))
        SetWindowLongPtrW(window, GWLP_WNDPROC, GetWindowLongPtrA(window, GWLP_WNDPROC));
    SubClassUnicodeControl(control, params.Caption, libraryFirstProc);
}

void SubClassUnicodeControl(TWinControl* control, const std::string& ansiCaption, bool libraryFirstProc) {
    if (!control->HandleAllocated() || !IsWindowUnicode(control->Handle()))
        throw EUcInternalError("Internal Error: SubClassUnicodeControl.Control is not Unicode.");
    TWinControlTrap* trap = FindOrCreateTrap(control);
    trap->Subclass(ansiCaption);
    trap->library_first_proc_ = libraryFirstProc;
}

// --- the trap ---------------------------------------------------------------------------------

const TClassInfo& TWinControlTrap::StaticClass() {
    static const TClassInfo info =
        DefineClass<TWinControlTrap>("TWinControlTrap", &TComponent::StaticClass(), [](auto&) {});
    return info;
}

TWinControlTrap::TWinControlTrap(TWinControl* control) : TComponent(nullptr), control_(control) {
    FreeNotification(control);
}

TWinControlTrap::~TWinControlTrap() {
    if (handle_ && TrapOf(handle_) == this) g_traps.erase(handle_);
}

void TWinControlTrap::Notification(TComponent* component, TOperation operation) {
    if (operation == opRemove && component == control_) {
        control_ = nullptr;
        if (depth_ == 0) {
            Free();
            return;
        }
        free_pending_ = true;
        return;
    }
    TComponent::Notification(component, operation);
}

void TWinControlTrap::FreeWhenIdle() {
    if (depth_ == 0) Free();
    else free_pending_ = true;
}

void TWinControlTrap::Subclass(const std::string& ansiCaption) {
    handle_ = control_->Handle();
    previous_window_proc_ = reinterpret_cast<WNDPROC>(GetWindowLongPtrW(handle_, GWLP_WNDPROC));
    previous_default_proc_ = control_->DefWndProc();
    g_traps[handle_] = this;
    SetWindowLongPtrW(handle_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&WindowProcedure));
    control_->SetDefWndProc(&DefaultProcedure);
    TakeOverWindowProc();
    std::wstring caption = WideFromSystemAnsi(ansiCaption);
    if (TWideCaptionHolder* holder = WideCaptionHolderFor(control_, false)) caption = holder->WideCaption();
    ControlSetWideText(control_, caption);
}

bool TWinControlTrap::InWindowProcChain() {
    if (auto* own = control_->WindowProc.target<TControlWndProc>(); own && own->Control == control_) return false;
    if (auto* ours = control_->WindowProc.target<TTrapWindowMethod>(); ours && ours->Trap == this) return true;
    // Someone else is in front: ask the chain whether a message reaches us.
    probe_active_ = true;
    probe_hit_ = false;
    TScopeExit stop([this] { probe_active_ = false; });
    TMessage probe{0, 0, 0, 0};
    control_->WindowProc(probe);
    return probe_hit_;
}

void TWinControlTrap::TakeOverWindowProc() {
    if (InWindowProcChain()) return;
    saved_window_method_ = control_->WindowProc;
    control_->WindowProc = TTrapWindowMethod{this};
}

void TWinControlTrap::Unsubclass() {
    bool destroying = control_->ComponentState().Contains(csDestroying);
    if (!destroying) {
        // Kept for the next window of the control.
        std::wstring text = ControlGetWideText(control_);
        if (TWideCaptionHolder* holder = WideCaptionHolderFor(control_, true)) holder->WideCaption() = text;
    }
    if (auto* ours = control_->WindowProc.target<TTrapWindowMethod>(); ours && ours->Trap == this)
        control_->WindowProc = saved_window_method_;
    control_->SetDefWndProc(previous_default_proc_);
    SetWindowLongPtrW(handle_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(previous_window_proc_));
    g_traps.erase(handle_);
    if (library_first_proc_) free_pending_ = true;
    else if (!destroying && g_pending_traps && !g_finalised) g_pending_traps->Add(this);
}

LRESULT CALLBACK TWinControlTrap::WindowProcedure(HWND window, UINT msg, WPARAM wParam, LPARAM lParam) {
    TWinControlTrap* trap = TrapOf(window);
    if (g_finalised) {
        // After the layer's end what stood behind the window may be gone:
        // nothing is passed on, and its end only frees the control of it.
        if (msg == WM_DESTROY && trap && trap->control_) trap->control_->ForgetWindow();
        return 0;
    }
    if (!trap) return DefWindowProcW(window, msg, wParam, lParam);
    ++trap->depth_;
    trap->last_window_message_ = msg;
    LRESULT result = CallWindowProcW(trap->previous_window_proc_, window, msg, wParam, lParam);
    if (--trap->depth_ == 0 && trap->free_pending_) trap->Free();
    return result;
}

void TWinControlTrap::WindowMethod(TMessage& m) {
    if (probe_active_ && m.Msg == 0) probe_hit_ = true;
    if (!control_->HandleAllocated()) {
        control_->WndProc(m);
        return;
    }
    bool cameThroughWindow = last_window_message_ != 0;
    last_window_message_ = 0;
    if (m.Msg == CM_HINTSHOW && UnicodePlatform) PrepareWideHint(reinterpret_cast<THintInfo*>(m.LParam));
    bool textMessage = m.Msg == WM_SETTEXT || m.Msg == WM_GETTEXT || m.Msg == WM_GETTEXTLENGTH;
    if (cameThroughWindow || !textMessage) {
        if (m.Msg == WM_CHAR) m.WParam = CharToTransportForm(m.WParam);
        saved_window_method_(m);
        return;
    }
    // Sent to the control by the class library with ANSI text: the system
    // converts on its way to the Unicode window.
    m.Result = SendMessageA(handle_, m.Msg, m.WParam, m.LParam);
}

LRESULT CALLBACK TWinControlTrap::DefaultProcedure(HWND window, UINT msg, WPARAM wParam, LPARAM lParam) {
    TWinControlTrap* trap = TrapOf(window);
    if (!trap) return DefWindowProcW(window, msg, wParam, lParam);
    return trap->Default(msg, wParam, lParam);
}

LRESULT TWinControlTrap::Default(UINT msg, WPARAM wParam, LPARAM lParam) {
    WNDPROC previous = previous_default_proc_;
    HWND window = handle_;
    switch (msg) {
    case WM_NOTIFYFORMAT: {
        auto other = reinterpret_cast<HWND>(wParam);
        bool creating = g_creating && g_creating->HandleAllocated() && g_creating->Handle() == other;
        return UnicodePlatform && (IsWindowUnicode(other) || creating) ? NFR_UNICODE : NFR_ANSI;
    }
    case WM_CHAR:
        wParam = CharFromTransportForm(wParam);
        break;
    case WM_IME_CHAR:
        return SendMessageW(window, WM_CHAR, wParam, lParam);
    case WM_DESTROY:
        CallbackBarrier(this, [this] { Unsubclass(); });
        break;
    default:
        break;
    }
    return CallWindowProcW(previous, window, msg, wParam, lParam);
}
