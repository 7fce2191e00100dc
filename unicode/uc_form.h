// A form with a wide Caption and Hint whose window is a Unicode window.
// Its layouts start below TUcForm and may carry the wide companions of
// both properties.
#pragma once
#include <string>

#include "classlib/gui/forms.h"

class TUcForm : public TForm {
    DECLARE_CLASS(TUcForm, TForm)
public:
    explicit TUcForm(TComponent* owner) : TForm(owner) {}

    std::wstring Caption() { return WideCaption(); }
    void SetCaption(const std::wstring& value) { SetWideCaption(value); }
    std::wstring Hint() { return WideHint(); }
    void SetHint(const std::wstring& value) { SetWideHint(value); }
    std::wstring WideCaption();
    void SetWideCaption(const std::wstring& value);
    std::wstring WideHint();
    void SetWideHint(const std::wstring& value);

    void DefineProperties(TFiler* filer) override;
    // Also refreshes the application's wide hint.
    void UpdateActions() override;
    void Dispatch(TMessage& message) override;

protected:
    const TClassInfo& LayoutRootClass() const override { return StaticClass(); }
    void CreateWindowHandle(const TCreateParams& params) override;
    void DestroyWindowHandle() override;
    void ActionChange(TObject* sender, bool checkDefaults) override;
    const TClassInfo& GetActionLinkClass() const override;

private:
    // The wide hint of the menu item the user points at.
    void WMMenuSelect(TMessage& message);
};
