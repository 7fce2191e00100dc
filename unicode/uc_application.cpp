#include "unicode/uc_application.h"

#include "classlib/core/class_builder.h"
#include "classlib/core/unit_starts.h"
#include "classlib/gui/actions.h"
#include "classlib/gui/application.h"
#include "classlib/gui/callback_barrier.h"
#include "classlib/gui/forms.h"
#include "unicode/code_pages.h"
#include "unicode/text/platform_flags.h"
#include "unicode/uc_form.h"
#include "unicode/wide_actions.h"
#include "unicode/wide_captions.h"
#include "unicode/wide_program_texts.h"
#include "unicode/wide_sysutils.h"
#include "unicode/text/wide_paths.h"

TUcApplication* UcApplication = nullptr;

namespace {

TUnitStartCount g_application_starts;
HHOOK g_char_hook = nullptr;

LRESULT CALLBACK UnicodeCharMessageHook(int code, WPARAM wParam, LPARAM lParam) {
    if (code >= 0 && wParam == PM_REMOVE && UcApplication) {
        auto* msg = reinterpret_cast<MSG*>(lParam);
        if (CallbackBarrier(UcApplication, false, [&] { return UcApplication->FilterMessage(*msg); }))
            msg->message = WM_NULL;
    }
    return CallNextHookEx(g_char_hook, code, wParam, lParam);
}

}  // namespace

const TClassInfo& TUcApplication::StaticClass() {
    static const TClassInfo info = DefineClass<TUcApplication>("TUcApplication", &TComponent::StaticClass(), [](auto&) {});
    return info;
}

TUcApplication::TUcApplication(TComponent* owner) : TComponent(owner) {
    if (Application) hook_ = Application->HookMainWindow([this](TMessage& m) { return WindowHook(m); });
}

void TUcApplication::BeforeDestruction() {
    if (TUcAppIdleEventControl* control = std::exchange(idle_event_control_, nullptr)) control->Free();
    if (Application && hook_) Application->UnhookMainWindow(hook_);
    hook_ = 0;
    TComponent::BeforeDestruction();
}

std::wstring TUcApplication::WideHint() {
    return WidePropertyValueSync(wide_hint_, Application ? Application->Hint() : std::string());
}

void TUcApplication::SetWideHint(const std::wstring& value) {
    if (!Application) return;
    SetWidePropertyWithAnsiShadow(value, wide_hint_, Application->Hint(),
                                  [](const std::string& s) { Application->SetHint(s); });
}

std::wstring TUcApplication::WideTitle() {
    HWND window = Application ? Application->Handle() : nullptr;
    if (window && UnicodePlatform) {
        auto length = static_cast<int>(DefWindowProcW(window, WM_GETTEXTLENGTH, 0, 0));
        std::wstring text(static_cast<size_t>(length) + 1, L'\0');
        auto copied = static_cast<int>(
            DefWindowProcW(window, WM_GETTEXT, static_cast<WPARAM>(length) + 1, reinterpret_cast<LPARAM>(text.data())));
        text.resize(static_cast<size_t>(copied > 0 ? copied : 0));
        return text;
    }
    return WidePropertyValueSync(pending_wide_title_, Application ? Application->Title() : std::string());
}

void TUcApplication::SetWideTitle(const std::wstring& value) {
    HWND window = Application ? Application->Handle() : nullptr;
    if (window && UnicodePlatform) {
        if (WideTitle() != value || !pending_wide_title_.empty()) {
            DefWindowProcW(window, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(value.c_str()));
            pending_wide_title_.clear();
        }
        return;
    }
    if (!Application) return;
    SetWidePropertyWithAnsiShadow(value, pending_wide_title_, Application->Title(),
                                  [](const std::string& s) { Application->SetTitle(s); });
}

void TUcApplication::UpdateHint() {
    SetWideHint(WideGetLongHint(ControlWideHintChain(Application ? Application->MouseControl() : nullptr)));
}

bool TUcApplication::WindowHook(TMessage& m) {
    if (m.Msg == WM_CREATE && !pending_wide_title_.empty()) {
        std::wstring title = pending_wide_title_;
        SetWideTitle(title);
        pending_wide_title_.clear();
    }
    if (m.Msg == CM_ACTIONEXECUTE) {
        // The class library's hint action carries only the ANSI form; when
        // it carries the form of the wide hint, a hint action with the wide
        // text goes out in its place. A hint set by someone else stays the
        // class library's.
        auto* action = reinterpret_cast<TBasicAction*>(m.LParam);
        if (action && &action->ClassType() == &THintAction::StaticClass()) {
            std::wstring hint = WideHint();
            if (static_cast<THintAction*>(action)->Hint() == SystemAnsiFromWide(hint)) {
                m.Result = 1;
                TOwned<TUcHintAction> wide(New<TUcHintAction>(this));
                wide->SetHint(hint);
                wide->Execute();
                return true;
            }
        }
    }
    return false;
}

bool TUcApplication::IsDialogWindowMessage(const MSG& msg) const {
    HWND dialog = Application ? Application->DialogHandle() : nullptr;
    return dialog && (msg.hwnd == dialog || IsChild(dialog, msg.hwnd));
}

bool TUcApplication::FilterMessage(MSG& msg) {
    // The idle-time hint refresh, decided once there is a main form; a
    // Unicode main form refreshes the hint itself.
    if (!main_form_seen_ && Application && Application->MainForm()) {
        TCustomForm* mainForm = Application->MainForm();
        if (!dynamic_cast<TUcForm*>(mainForm)) New<TUcAppIdleEventControl>(mainForm);
        main_form_seen_ = true;
    }
    if (msg.message != WM_CHAR || msg.wParam <= 255 || !IsWindowUnicode(msg.hwnd)) return false;
    // Whether the dialog takes the message is decided without asking the
    // dialog, which would already handle it (and with an ANSI call would
    // turn the character into something else).
    bool forDialog = IsDialogWindowMessage(msg);
    HWND dialog = forDialog ? Application->DialogHandle() : nullptr;
    if (forDialog && !IsWindowUnicode(dialog)) return false;
    bool handled = false;
    if (Application->OnMessage) Application->OnMessage(msg, handled);
    Application->CancelHint();
    if (!handled && !(forDialog && IsDialogMessageW(dialog, &msg))) DispatchMessageW(&msg);
    return true;
}

// --- idle-event control --------------------------------------------------------------------

const TClassInfo& TUcAppIdleEventControl::StaticClass() {
    static const TClassInfo info =
        DefineClass<TUcAppIdleEventControl>("TUcAppIdleEventControl", &TControl::StaticClass(), [](auto&) {});
    return info;
}

TUcAppIdleEventControl::TUcAppIdleEventControl(TComponent* owner) : TControl(owner) {
    SetParentFont(false);
    SetParent(Application ? Application->MainForm() : nullptr);
    SetVisible(true);
    auto* action = New<TUcAction>(this);
    SetAction(action);
    TNotifyEvent refresh = [](TObject*) {
        if (UcApplication) UcApplication->UpdateHint();
    };
    action->OnExecute = refresh;
    action->OnUpdate = refresh;
    if (UcApplication) UcApplication->idle_event_control_ = this;
}

void TUcAppIdleEventControl::BeforeDestruction() {
    if (UcApplication && UcApplication->idle_event_control_ == this) UcApplication->idle_event_control_ = nullptr;
    TControl::BeforeDestruction();
}

// --- unit ----------------------------------------------------------------------------------

bool IsServerHostProcess(const std::wstring& programPath) {
    std::wstring name = WideUpperCase(WideExtractFileName(programPath));
    return name.rfind(L"W3WP.", 0) == 0 || name.rfind(L"DLLHOST.", 0) == 0;
}

void StartUcApplication() {
    if (!g_application_starts.Start()) return;
    UcApplication = New<TUcApplication>(nullptr);
    if (UnicodePlatform) {
        g_char_hook = SetWindowsHookExW(WH_GETMESSAGE, &UnicodeCharMessageHook, nullptr, GetCurrentThreadId());
        if (!g_char_hook) RaiseLastSystemError();
    }
}

void StopUcApplication() {
    if (!g_application_starts.Stop()) return;
    bool unhookFailed = false;
    DWORD error = 0;
    if (g_char_hook && !UnhookWindowsHookEx(std::exchange(g_char_hook, nullptr))) {
        error = GetLastError();
        unhookFailed = !IsServerHostProcess(WideParamStr(0));
    }
    // The wrapper goes in every case: it must not outlive the unit.
    FreeAndNil(UcApplication);
    if (unhookFailed) {
        SetLastError(error);
        RaiseLastSystemError();
    }
}
