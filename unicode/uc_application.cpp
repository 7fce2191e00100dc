#include "unicode/uc_application.h"

#include "classlib/core/class_builder.h"
#include "classlib/gui/application.h"
#include "classlib/gui/callback_barrier.h"
#include "unicode/code_pages.h"
#include "unicode/text/platform_flags.h"
#include "unicode/wide_captions.h"
#include "unicode/wide_program_texts.h"
#include "unicode/wide_sysutils.h"
#include "unicode/text/wide_paths.h"

TUcApplication* UcApplication = nullptr;

namespace {

int g_start_count = 0;
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
    return false;
}

bool TUcApplication::IsDialogWindowMessage(const MSG& msg) const {
    HWND dialog = Application ? Application->DialogHandle() : nullptr;
    return dialog && (msg.hwnd == dialog || IsChild(dialog, msg.hwnd));
}

bool TUcApplication::FilterMessage(MSG& msg) {
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

bool IsServerHostProcess(const std::wstring& programPath) {
    std::wstring name = WideUpperCase(WideExtractFileName(programPath));
    return name.rfind(L"W3WP.", 0) == 0 || name.rfind(L"DLLHOST.", 0) == 0;
}

void StartUcApplication() {
    if (g_start_count++ > 0) return;
    UcApplication = New<TUcApplication>(nullptr);
    if (UnicodePlatform) {
        g_char_hook = SetWindowsHookExW(WH_GETMESSAGE, &UnicodeCharMessageHook, nullptr, GetCurrentThreadId());
        if (!g_char_hook) RaiseLastSystemError();
    }
}

void StopUcApplication() {
    if (--g_start_count > 0) return;
    if (g_char_hook) {
        BOOL unhooked = UnhookWindowsHookEx(std::exchange(g_char_hook, nullptr));
        if (!unhooked && !IsServerHostProcess(WideParamStr(0))) RaiseLastSystemError();
    }
    FreeAndNil(UcApplication);
}
