#include "unicode/uc_form.h"

#include "classlib/core/class_builder.h"
#include "unicode/text/platform_flags.h"
#include "unicode/unicode_windows.h"
#include "unicode/wide_captions.h"
#include "unicode/wide_filing.h"

const TClassInfo& TUcForm::StaticClass() {
    static const TClassInfo info = DefineClass<TUcForm>("TUcForm", &TForm::StaticClass(), [](auto& c) {
        c.Creatable();
        c.Prop("Caption", [](const TUcForm& f) { return const_cast<TUcForm&>(f).WideCaption(); },
               [](TUcForm& f, const std::wstring& v) { f.SetWideCaption(v); });
        c.Prop("Hint", [](const TUcForm& f) { return const_cast<TUcForm&>(f).WideHint(); },
               [](TUcForm& f, const std::wstring& v) { f.SetWideHint(v); });
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

void TUcForm::DestroyWindowHandle() {
    if (UnicodePlatform && HandleAllocated()) UninitializeFlatSB(Handle());
    TForm::DestroyWindowHandle();
}
