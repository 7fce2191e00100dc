#include "classlib/gui/application.h"

#include <algorithm>

#include "classlib/gui/callback_barrier.h"
#include "classlib/core/class_builder.h"
#include "classlib/gui/actions.h"
#include "classlib/core/thread.h"
#include "classlib/gui/forms.h"
#include "classlib/gui/menus.h"
#include "classlib/gui/sys_locale.h"
#include "classlib/platform/interaction.h"
#include "classlib/gui/screen.h"
#include "classlib/gui/scoped_win32.h"

TApplication* Application = nullptr;

namespace {
constexpr UINT_PTR kHintShowTimer = 1;
constexpr UINT_PTR kHintHideTimer = 2;
}  // namespace

// --- application -------------------------------------------------------------------

const TClassInfo& TApplication::StaticClass() {
    static const TClassInfo info = DefineClass<TApplication>("TApplication", &TComponent::StaticClass(), [](auto&) {});
    return info;
}

TApplication::TApplication(TComponent* owner) : TComponent(owner) {
    char path[MAX_PATH + 1] = {};
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string name = path;
    size_t slash = name.find_last_of("\\/");
    if (slash != std::string::npos) name = name.substr(slash + 1);
    size_t dot = name.find_last_of('.');
    title_ = dot == std::string::npos ? name : name.substr(0, dot);

    WNDCLASSA wc{};
    wc.lpfnWndProc = WndProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.hIcon = LoadIconA(nullptr, reinterpret_cast<LPCSTR>(IDI_APPLICATION));
    wc.lpszClassName = "TApplication";
    RegisterClassA(&wc);
    window_.Reset(CreateWindowExA(0, "TApplication", title_.c_str(),
                                  WS_POPUP | WS_CAPTION | WS_CLIPSIBLINGS | WS_SYSMENU | WS_MINIMIZEBOX,
                                  GetSystemMetrics(SM_CXSCREEN) / 2, GetSystemMetrics(SM_CYSCREEN) / 2, 0, 0, nullptr,
                                  nullptr, wc.hInstance, nullptr));
    // A thread waiting in Synchronize wakes the message loop with an empty
    // message to this window.
    if (window_) SetWakeMainThread([window = window_.Get()] { PostMessageA(window, WM_NULL, 0, 0); });
}

TApplication::~TApplication() = default;

void TApplication::BeforeDestruction() {
    CancelHint();
    Destroying();
    // Forms first (they may still talk to the application window).
    DestroyComponents();
    if (hint_window_) FreeAndNil(hint_window_);
    if (window_) {
        SetWakeMainThread(nullptr);
        window_.Reset();
    }
    TComponent::BeforeDestruction();
}

void TApplication::SetTitle(const std::string& title) {
    title_ = title;
    if (window_) SetWindowTextA(window_.Get(), title.c_str());
}

bool TApplication::HelpCommand(UINT command, ULONG_PTR data) {
    // Quitting help that was never opened needs no help engine.
    if (command == HELP_QUIT && !help_opened_) return true;
    help_opened_ = true;
    return WinHelpA(window_.Get(), help_file_.c_str(), command, data) != FALSE;
}

void TApplication::FormCreated(TCustomForm* form) {
    if (!main_form_) {
        form->HandleNeeded();
        main_form_ = form;
    }
}

void TApplication::Run() {
    if (main_form_) {
        ShowWindow(window_.Get(), SW_SHOWNOACTIVATE);
        main_form_->Show();
    }
    do {
        CallbackBarrier(this, [this] { HandleMessage(); });
    } while (!terminated_);
}

void TApplication::Terminate() {
    PostQuitMessage(0);
}

bool TApplication::ProcessMessage(MSG& msg) {
    if (!PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) return false;
    if (msg.message == WM_QUIT) {
        terminated_ = true;
        return true;
    }
    bool handled = false;
    if (OnMessage) OnMessage(msg, handled);
    if (!handled && !IsKeyMsg(msg)) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    return true;
}

bool TApplication::IsKeyMsg(MSG& msg) {
    if (msg.message < WM_KEYFIRST || msg.message > WM_KEYLAST) return false;
    HWND window = GetCapture();
    if (!window) {
        window = msg.hwnd;
        while (window && !FindControl(window)) window = GetParent(window);
        if (!window) window = msg.hwnd;
    }
    if (!FindControl(window)) return false;
    return SendMessageA(window, CN_BASE + msg.message, msg.wParam, msg.lParam) != 0;
}

void TApplication::HandleMessage() {
    MSG msg;
    if (!ProcessMessage(msg)) Idle();
}

void TApplication::ProcessMessages() {
    MSG msg;
    while (ProcessMessage(msg)) {
    }
}

void TApplication::Idle() {
    POINT p;
    GetCursorPos(&p);
    TControl* control = nullptr;
    if (TWinControl* win = FindControl(WindowFromPoint(p))) {
        POINT local = p;
        ScreenToClient(win->Handle(), &local);
        control = win->ControlAtPos(local, false);
        if (!control) control = win;
    }
    UpdateMouseControl(control);
    for (TCustomForm* form : std::exchange(to_release_, {})) form->Free();
    UpdateFormActions();
    CheckSynchronize();
    bool done = true;
    if (OnIdle) OnIdle(this, done);
    if (done) WaitMessage();
}

void TApplication::UpdateFormActions() {
    if (!Screen) return;
    std::vector<TCustomForm*> forms;
    for (int i = 0; i < Screen->FormCount(); ++i) forms.push_back(Screen->Forms(i));
    for (TCustomForm* form : forms)
        if (form->HandleAllocated() && IsWindowVisible(form->Handle()) && IsWindowEnabled(form->Handle()))
            form->UpdateActions();
}

void TApplication::SetHint(const std::string& hint) {
    if (hint_ == hint) return;
    hint_ = hint;
    if (OnHint) {
        OnHint(this);
        return;
    }
    TOwned<THintAction> action(New<THintAction>(this));
    action->SetHint(hint);
    action->Execute();
}

bool TApplication::DispatchAction(TBasicAction* action, bool execute) {
    TCustomForm* active = Screen ? Screen->ActiveForm() : nullptr;
    if (active && active->DispatchAction(action, execute)) return true;
    return main_form_ && main_form_ != active && main_form_->DispatchAction(action, execute);
}

void TApplication::UpdateMouseControl(TControl* control) {
    if (control == mouse_control_) return;
    TControl* old = mouse_control_;
    mouse_control_ = control;
    if (old) old->Perform(CM_MOUSELEAVE);
    if (control) control->Perform(CM_MOUSEENTER);
}

void TApplication::HandleException(TObject* sender) {
    if (HWND capture = GetCapture()) SendMessageA(capture, WM_CANCELMODE, 0, 0);
    try {
        throw;
    } catch (const EAbort&) {
    } catch (const std::exception& e) {
        if (OnException) OnException(sender, e);
        else ShowException(e);
    } catch (...) {
        ShowException(Exception("Unknown exception"));
    }
}

void TApplication::ShowException(const std::exception& e) {
    std::string text = e.what();
    if (!text.empty() && static_cast<unsigned char>(text.back()) > '.') text += '.';
    MessageBox(text, title_, MB_OK | MB_ICONSTOP);
}

int TApplication::MessageBox(const std::string& text, const std::string& caption, UINT flags) {
    HWND owner = main_form_ && main_form_->HandleAllocated() ? main_form_->Handle() : window_.Get();
    return Interaction().MessageBox(owner, text.c_str(), caption.c_str(), flags);
}

namespace {
struct TaskWindows {
    HWND except;
    std::vector<HWND> disabled;
    std::exception_ptr error;
};
BOOL CALLBACK DisableWindow(HWND window, LPARAM param) {
    auto* tw = reinterpret_cast<TaskWindows*>(param);
    return CallbackBarrier(tw->error, FALSE, [&] {
        if (window != tw->except && IsWindowVisible(window) && IsWindowEnabled(window)) {
            tw->disabled.push_back(window);
            EnableWindow(window, FALSE);
        }
        return TRUE;
    });
}
}  // namespace

std::vector<HWND> TApplication::DisableTaskWindows(HWND except) {
    TaskWindows tw{except, {}, nullptr};
    EnumThreadWindows(GetCurrentThreadId(), DisableWindow, reinterpret_cast<LPARAM>(&tw));
    if (tw.error) {
        EnableTaskWindows(tw.disabled);
        std::rethrow_exception(tw.error);
    }
    return std::move(tw.disabled);
}

void TApplication::EnableTaskWindows(const std::vector<HWND>& windows) {
    for (HWND w : windows)
        if (IsWindow(w)) EnableWindow(w, TRUE);
}

void TApplication::SetShowHint(bool value) {
    show_hint_ = value;
    if (!value) CancelHint();
}

void TApplication::HintMouseMessage(TControl* control, TMessage& m) {
    if (m.Msg == WM_MOUSEMOVE) {
        UpdateMouseControl(control);
        if (control == hint_control_) return;
        CancelHint();
        hint_control_ = control;
        if (show_hint_ && control->ShowHint() && !control->Hint().empty() && window_)
            SetTimer(window_.Get(), kHintShowTimer, static_cast<UINT>(hint_pause_), nullptr);
    } else {
        CancelHint();
        hint_control_ = nullptr;
    }
}

void TApplication::ShowHintNow() {
    KillTimer(window_.Get(), kHintShowTimer);
    TControl* control = hint_control_;
    if (!control || !control->Showing()) return;
    POINT p;
    GetCursorPos(&p);
    TPoint local = control->ScreenToClient(p);
    if (!PtInRect(control->ClientRect(), local)) return;
    THintInfo info;
    info.HintControl = control;
    info.HintWindowClass = hint_window_class_;
    info.HintPos = Point(p.x, p.y + 20);
    info.CursorRect = control->ClientRect();
    info.CursorPos = local;
    info.HintStr = GetShortHint(control->Hint());
    if (control->Perform(CM_HINTSHOW, 0, reinterpret_cast<LPARAM>(&info)) != 0) return;
    if (info.HintStr.empty() || !info.HintWindowClass) return;
    if (!hint_window_ || &hint_window_->ClassType() != info.HintWindowClass) {
        if (hint_window_) FreeAndNil(hint_window_);
        TObject* created = info.HintWindowClass->CreateInstance(nullptr);
        hint_window_ = dynamic_cast<THintWindow*>(created);
        if (!hint_window_) {
            if (created) created->Free();
            return;
        }
    }
    TRect r = hint_window_->CalcHintRect(info.HintMaxWidth, info.HintStr, info.HintData);
    OffsetRect(&r, info.HintPos.x, info.HintPos.y);
    hint_window_->ActivateHintData(r, info.HintStr, info.HintData);
    SetTimer(window_.Get(), kHintHideTimer, static_cast<UINT>(hint_hide_pause_), nullptr);
}

int TApplication::HookMainWindow(TWindowHook hook) {
    int id = next_hook_++;
    hooks_.emplace_back(id, std::move(hook));
    return id;
}

void TApplication::UnhookMainWindow(int hook) {
    std::erase_if(hooks_, [hook](const auto& entry) { return entry.first == hook; });
}

void TApplication::SetHintWindowClass(const TClassInfo* value) {
    if (!value || !value->InheritsFrom(THintWindow::StaticClass())) return;
    hint_window_class_ = value;
}

void TApplication::CancelHint() {
    if (window_) {
        KillTimer(window_.Get(), kHintShowTimer);
        KillTimer(window_.Get(), kHintHideTimer);
    }
    if (hint_window_) hint_window_->ReleaseHint();
}

void TApplication::ControlDestroying(TControl* control) {
    if (hint_control_ == control) {
        CancelHint();
        hint_control_ = nullptr;
    }
    if (mouse_control_ == control) mouse_control_ = nullptr;
}

void TApplication::ReleaseLater(TCustomForm* form) {
    to_release_.push_back(form);
}

LRESULT CALLBACK TApplication::WndProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam) {
    LRESULT result = 0;
    bool handled = CallbackBarrier(Application, false, [&] {
        if (!Application) return false;
        // The window being created is ours too (its handle is not known yet).
        if (window != Application->window_.Get() && Application->window_.Get()) return false;
        TMessage m{msg, wParam, lParam, 0};
        auto hooks = Application->hooks_;  // a hook may unhook itself
        for (const auto& [id, hook] : hooks) {
            if (hook(m)) {
                result = m.Result;
                return true;
            }
        }
        if (!Application->window_.Get()) return false;
        switch (msg) {
        case WM_NULL:
            CheckSynchronize();
            return true;
        case WM_TIMER:
            if (wParam == kHintShowTimer) Application->ShowHintNow();
            else if (wParam == kHintHideTimer) Application->CancelHint();
            return true;
        case WM_CLOSE:
            if (Application->main_form_) Application->main_form_->Close();
            return true;
        case WM_ACTIVATEAPP:
            if (!wParam) Application->CancelHint();
            break;
        case CM_ACTIONEXECUTE:
        case CM_ACTIONUPDATE:
            if (Application->DispatchAction(reinterpret_cast<TBasicAction*>(lParam), msg == CM_ACTIONEXECUTE))
                result = 1;
            return true;
        }
        return false;
    });
    return handled ? result : DefWindowProcA(window, msg, wParam, lParam);
}

void ClassLibStartup() {
    INITCOMMONCONTROLSEX icc{sizeof icc, ICC_WIN95_CLASSES | ICC_STANDARD_CLASSES | ICC_TAB_CLASSES |
                                             ICC_TREEVIEW_CLASSES | ICC_BAR_CLASSES};
    InitCommonControlsEx(&icc);
    InstallWin32SysColors();
    InitSysLocale();
    if (!Screen) Screen = New<TScreen>(nullptr);
    if (!Application) Application = New<TApplication>(nullptr);
    StartMenus();
}

void ClassLibShutdown() {
    if (Application) FreeAndNil(Application);
    StopMenus();
    if (Screen) FreeAndNil(Screen);
}
