#include "unicode/uc_form.h"

#include "classlib/core/class_builder.h"
#include "classlib/gui/menus.h"
#include "unicode/text/platform_flags.h"
#include "unicode/uc_application.h"
#include "unicode/unicode_windows.h"
#include "unicode/wide_actions.h"
#include "unicode/wide_captions.h"
#include "unicode/wide_filing.h"
#include "unicode/wide_menus.h"

const TClassInfo& TUcForm::StaticClass() {
    static const TClassInfo info = DefineClass<TUcForm>("TUcForm", &TForm::StaticClass(), [](auto& c) {
        c.Creatable();
        // Not stored while the action link gives them.
        c.Prop("Caption", [](const TUcForm& f) { return const_cast<TUcForm&>(f).WideCaption(); },
               [](TUcForm& f, const std::wstring& v) { f.SetWideCaption(v); })
            .StoredIf([](const TUcForm& f) { return f.IsCaptionStored(); });
        c.Prop("Hint", [](const TUcForm& f) { return const_cast<TUcForm&>(f).WideHint(); },
               [](TUcForm& f, const std::wstring& v) { f.SetWideHint(v); })
            .StoredIf([](const TUcForm& f) { return f.IsHintStored(); });
    });
    return info;
}

std::wstring TUcForm::WideCaption() {
    return ControlGetWideText(this);
}

void TUcForm::SetWideCaption(const std::wstring& value) {
    ControlSetWideText(this, value);
}

std::wstring TUcForm::WideHint() {
    return ControlGetWideHint(this);
}

void TUcForm::SetWideHint(const std::wstring& value) {
    ControlSetWideHint(this, value);
}

void TUcForm::DefineProperties(TFiler* filer) {
    TForm::DefineProperties(filer);
    DefineWideProperties(filer, this);
}

void TUcForm::CreateWindowHandle(const TCreateParams& params) {
    if (!UnicodePlatform) {
        TForm::CreateWindowHandle(params);
        return;
    }
    // Layered windows are left to the system's own drawing.
    TCreateParams copy = params;
    copy.ExStyle &= ~static_cast<DWORD>(WS_EX_LAYERED);
    CreateUnicodeWindowHandle(this, copy, std::wstring(), false);
}

namespace {

// Bound by name: not every system (nor every import library) has it.
void UninitializeFlatScrollBars(HWND window) {
    using TUninitializeFlatSB = HRESULT(WINAPI*)(HWND);
    static const auto uninitialize = [] {
        HMODULE comctl = GetModuleHandleA("comctl32.dll");
        return comctl ? reinterpret_cast<TUninitializeFlatSB>(
                            reinterpret_cast<void*>(GetProcAddress(comctl, "UninitializeFlatSB")))
                      : nullptr;
    }();
    if (uninitialize) uninitialize(window);
}

}  // namespace

void TUcForm::DestroyWindowHandle() {
    if (UnicodePlatform && HandleAllocated()) UninitializeFlatScrollBars(Handle());
    TForm::DestroyWindowHandle();
}

void TUcForm::UpdateActions() {
    TForm::UpdateActions();
    if (UcApplication) UcApplication->UpdateHint();
}

void TUcForm::ActionChange(TObject* sender, bool checkDefaults) {
    ControlApplyActionTexts(this, sender, checkDefaults);
    TForm::ActionChange(sender, checkDefaults);
}

const TClassInfo& TUcForm::GetActionLinkClass() const {
    return UcActionLinkClassFor(this);
}

void TUcForm::WMMenuSelect(TMessage& m) {
    TMenuItem* item = nullptr;
    WORD id = LOWORD(m.WParam);
    WORD flags = HIWORD(m.WParam);
    if (!(flags == 0xFFFF && id == 0)) {
        uintptr_t value = id;
        TFindItemKind kind = fkCommand;
        if (flags & MF_POPUP) {
            value = reinterpret_cast<uintptr_t>(GetSubMenu(reinterpret_cast<HMENU>(m.LParam), id));
            kind = fkHandle;
        }
        item = Menu()->FindItem(value, kind);
    }
    if (UcApplication) UcApplication->SetWideHint(item ? WideGetLongHint(MenuItemWideHint(item)) : std::wstring());
}

void TUcForm::Dispatch(TMessage& m) {
    switch (m.Msg) {
    case WM_MENUSELECT:
        if (Menu()) {
            WMMenuSelect(m);
            DefaultHandler(m);
            return;
        }
        break;
    case CM_BIDIMODECHANGED:
        TForm::Dispatch(m);
        for (int i = 0; i < ComponentCount(); ++i)
            if (auto* menu = dynamic_cast<TMenu*>(Components(i))) RefreshWideMenu(menu);
        return;
    case WM_WINDOWPOSCHANGING:
        TForm::Dispatch(m);
        RefreshWideMenu(Menu());
        return;
    }
    TForm::Dispatch(m);
}
