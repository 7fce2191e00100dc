#include "unicode/wide_captions.h"

#include "classlib/core/class_builder.h"
#include "classlib/core/component_list.h"
#include "classlib/core/unit_starts.h"
#include "classlib/gui/window_atoms.h"
#include "classlib/gui/wincontrol.h"
#include "unicode/api_wrappers.h"
#include "unicode/code_pages.h"
#include "unicode/sorted_component_list.h"
#include "unicode/text/platform_flags.h"
#include "unicode/unicode_windows.h"
#include "unicode/wide_sysutils.h"

namespace {

TUnitStartCount g_caption_starts;
TComponentList* g_holders = nullptr;  // owning, sorted by the control's address

int CompareHolder(TComponent* listed, const void* control) {
    auto a = reinterpret_cast<uintptr_t>(static_cast<TWideCaptionHolder*>(listed)->Control());
    auto b = reinterpret_cast<uintptr_t>(control);
    return a < b ? -1 : (a > b ? 1 : 0);
}

// A windowed control whose window exists but holds ANSI text only.
bool HasAnsiWindow(TControl* control) {
    auto* win = dynamic_cast<TWinControl*>(control);
    return win && win->HandleAllocated() && !IsWindowUnicode(win->Handle());
}

}  // namespace

std::wstring WidePropertyValueSync(std::wstring& wideField, const std::string& ansiValue) {
    if (SystemAnsiFromWide(wideField) != ansiValue) wideField = WideFromSystemAnsi(ansiValue);
    return wideField;
}

void SetWidePropertyWithAnsiShadow(const std::wstring& value, std::wstring& wideField, const std::string& ansiValue,
                                   const TAnsiSetter& setter) {
    std::wstring current = WidePropertyValueSync(wideField, ansiValue);
    if (value == current) return;
    std::string ansi = SystemAnsiFromWide(value);
    if (!WideSameStr(value, WideFromSystemAnsi(ansi)) && ansiValue == ansi) setter(std::string());
    wideField = value;
    setter(ansi);
}

// --- holders -------------------------------------------------------------------------

const TClassInfo& TWideCaptionHolder::StaticClass() {
    static const TClassInfo info =
        DefineClass<TWideCaptionHolder>("TWideCaptionHolder", &TComponent::StaticClass(), [](auto&) {});
    return info;
}

TWideCaptionHolder::TWideCaptionHolder(TControl* control) : TComponent(nullptr), control_(control) {
    FreeNotification(control);
}

void TWideCaptionHolder::Notification(TComponent* component, TOperation operation) {
    if (operation == opRemove && component == control_) {
        control_ = nullptr;
        Free();  // the holder list drops it
        return;
    }
    TComponent::Notification(component, operation);
}

TWideCaptionHolder* WideCaptionHolderFor(TControl* control, bool create) {
    if (!g_holders || !control) return nullptr;
    int index = 0;
    if (FindInSortedComponentList(*g_holders, CompareHolder, control, index))
        return static_cast<TWideCaptionHolder*>(g_holders->Items(index));
    if (!create) return nullptr;
    auto* holder = New<TWideCaptionHolder>(control);
    g_holders->Insert(index, holder);
    return holder;
}

// --- wide texts of a control ----------------------------------------------------------------

std::wstring ControlGetWideText(TControl* control) {
    if (!UnicodePlatform || HasAnsiWindow(control)) return WideFromSystemAnsi(control->Text());
    auto* win = dynamic_cast<TWinControl*>(control);
    if (!win) {
        if (TWideCaptionHolder* holder = WideCaptionHolderFor(control, false))
            return WidePropertyValueSync(holder->WideCaption(), control->Text());
        return WideFromSystemAnsi(control->Text());
    }
    if (win->HandleAllocated()) {
        HWND window = win->Handle();
        int length = GetWindowTextLengthW(window);
        std::wstring text(static_cast<size_t>(length) + 1, L'\0');
        // What the window copied, not what it announced: the text may have
        // become shorter in between.
        int copied = GetWindowTextW(window, text.data(), length + 1);
        text.resize(static_cast<size_t>(copied > 0 ? copied : 0));
        return text;
    }
    if (TWideCaptionHolder* holder = WideCaptionHolderFor(control, false)) return holder->WideCaption();
    return WideFromSystemAnsi(control->Text());
}

void ControlSetWideText(TControl* control, const std::wstring& value) {
    if (!UnicodePlatform || HasAnsiWindow(control)) {
        control->SetText(SystemAnsiFromWide(value));
        return;
    }
    auto* win = dynamic_cast<TWinControl*>(control);
    if (!win) {
        TWideCaptionHolder* holder = WideCaptionHolderFor(control, true);
        if (!holder) {
            control->SetText(SystemAnsiFromWide(value));
            return;
        }
        SetWidePropertyWithAnsiShadow(value, holder->WideCaption(), control->Text(),
                                      [control](const std::string& s) { control->SetText(s); });
        return;
    }
    if (win->HandleAllocated()) {
        if (ControlGetWideText(control) != value) {
            ApiSetWindowText(win->Handle(), value.c_str());
            control->Perform(CM_TEXTCHANGED, 0, 0);
        }
        return;
    }
    if (TWideCaptionHolder* holder = WideCaptionHolderFor(control, true)) holder->WideCaption() = value;
    control->SetText(SystemAnsiFromWide(value));
}

std::wstring ControlGetWideHint(TControl* control) {
    if (UnicodePlatform) {
        if (TWideCaptionHolder* holder = WideCaptionHolderFor(control, false))
            return WidePropertyValueSync(holder->WideHint(), control->Hint());
    }
    return WideFromSystemAnsi(control->Hint());
}

void ControlSetWideHint(TControl* control, const std::wstring& value) {
    TWideCaptionHolder* holder = UnicodePlatform ? WideCaptionHolderFor(control, true) : nullptr;
    if (!holder) {
        control->SetHint(SystemAnsiFromWide(value));
        return;
    }
    SetWidePropertyWithAnsiShadow(value, holder->WideHint(), control->Hint(),
                                  [control](const std::string& s) { control->SetHint(s); });
}

// --- hints ------------------------------------------------------------------------------------

std::wstring WideGetShortHint(const std::wstring& hint) {
    size_t bar = hint.find(L'|');
    return bar == std::wstring::npos ? hint : hint.substr(0, bar);
}

std::wstring WideGetLongHint(const std::wstring& hint) {
    size_t bar = hint.find(L'|');
    return bar == std::wstring::npos ? hint : hint.substr(bar + 1);
}

std::wstring ControlWideHintChain(TControl* control) {
    for (TControl* c = control; c; c = c->Parent()) {
        std::wstring hint = ControlGetWideHint(c);
        if (!hint.empty()) return hint;
    }
    return std::wstring();
}

// --- unit start and end --------------------------------------------------------------------------

void StartWideCaptions() {
    if (!g_caption_starts.Start()) return;
    g_holders = New<TComponentList>(true);
    StartUnicodeWindows(ProcessAtomName(), ControlAtomName());
}

void StopWideCaptions() {
    if (!g_caption_starts.Stop()) return;
    StopUnicodeWindows();
    FreeAndNil(g_holders);
}
