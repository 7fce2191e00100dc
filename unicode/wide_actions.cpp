#include "unicode/wide_actions.h"

#include "classlib/core/class_builder.h"
#include "classlib/gui/menu_strings.h"
#include "unicode/code_pages.h"
#include "unicode/wide_captions.h"
#include "unicode/wide_filing.h"
#include "unicode/wide_menus.h"

namespace {

// The link's action as a TCustomAction; another action is a fault.
TCustomAction* CheckedCustomAction(TBasicAction* action) {
    auto* custom = dynamic_cast<TCustomAction*>(action);
    if (!custom) throw EInvalidCast(MenuStr(SInvalidCast));
    return custom;
}

// The operations the four control links share.
bool ControlCaptionLinked(TBasicAction* action, bool inherited, TControl* client) {
    if (action) CheckedCustomAction(action);
    return inherited && ActionGetWideCaption(CheckedCustomAction(action)) == ControlGetWideText(client);
}

bool ControlHintLinked(TBasicAction* action, bool inherited, TControl* client) {
    if (action) CheckedCustomAction(action);
    return inherited && ActionGetWideHint(CheckedCustomAction(action)) == ControlGetWideHint(client);
}

}  // namespace

bool ActionHasWideTexts(const TBasicAction* action) {
    return dynamic_cast<const IUcAction*>(action) != nullptr;
}

// --- helper -----------------------------------------------------------------------------

const TClassInfo& TCustomActionHelper::StaticClass() {
    static const TClassInfo info =
        DefineClass<TCustomActionHelper>("TCustomActionHelper", &TComponent::StaticClass(), [](auto&) {});
    return info;
}

bool TCustomActionHelper::Transition(const TWideText& text, const std::string& ansiNow) const {
    return text.setting && ansiNow != text.ansi_target;
}

bool TCustomActionHelper::CaptionTransition() const {
    return Transition(caption_, action_->TCustomAction::Caption());
}

bool TCustomActionHelper::HintTransition() const {
    return Transition(hint_, action_->TCustomAction::Hint());
}

std::wstring TCustomActionHelper::Read(TWideText& text, const std::string& ansiNow) {
    if (Transition(text, ansiNow)) return text.before_set;
    return WidePropertyValueSync(text.wide, ansiNow);
}

void TCustomActionHelper::Set(TWideText& text, const std::wstring& value, const std::string& ansiNow,
                              void (TCustomAction::*ansiSetter)(const std::string&)) {
    text.before_set = Read(text, ansiNow);
    text.ansi_target = SystemAnsiFromWide(value);
    text.setting = true;
    struct Clear {
        bool& flag;
        ~Clear() { flag = false; }
    } clear{text.setting};
    TCustomAction* action = action_;
    SetWidePropertyWithAnsiShadow(value, text.wide, ansiNow, [&](const std::string& s) {
        (action->*ansiSetter)(s);
        if (s.empty() && !text.ansi_target.empty()) text.before_set.clear();
    });
}

std::wstring TCustomActionHelper::Caption() {
    return Read(caption_, action_->TCustomAction::Caption());
}

void TCustomActionHelper::SetCaption(const std::wstring& value) {
    Set(caption_, value, action_->TCustomAction::Caption(), &TCustomAction::SetCaption);
}

std::wstring TCustomActionHelper::Hint() {
    return Read(hint_, action_->TCustomAction::Hint());
}

void TCustomActionHelper::SetHint(const std::wstring& value) {
    Set(hint_, value, action_->TCustomAction::Hint(), &TCustomAction::SetHint);
}

// --- operations on any action -----------------------------------------------------------

TCustomActionHelper* ActionWideHelper(TCustomAction* action) {
    if (!action || !ActionHasWideTexts(action)) return nullptr;
    for (int i = 0; i < action->ComponentCount(); ++i)
        if (auto* helper = dynamic_cast<TCustomActionHelper*>(action->Components(i))) return helper;
    auto* helper = New<TCustomActionHelper>(action);
    helper->SetAction(action);
    return helper;
}

std::wstring ActionGetWideCaption(TCustomAction* action) {
    if (TCustomActionHelper* helper = ActionWideHelper(action)) return helper->Caption();
    return WideFromSystemAnsi(action->TCustomAction::Caption());
}

void ActionSetWideCaption(TCustomAction* action, const std::wstring& value) {
    if (TCustomActionHelper* helper = ActionWideHelper(action)) helper->SetCaption(value);
    else action->TCustomAction::SetCaption(SystemAnsiFromWide(value));
}

std::wstring ActionGetWideHint(TCustomAction* action) {
    if (TCustomActionHelper* helper = ActionWideHelper(action)) return helper->Hint();
    return WideFromSystemAnsi(action->TCustomAction::Hint());
}

void ActionSetWideHint(TCustomAction* action, const std::wstring& value) {
    if (TCustomActionHelper* helper = ActionWideHelper(action)) helper->SetHint(value);
    else action->TCustomAction::SetHint(SystemAnsiFromWide(value));
}

std::wstring ActionLinkWideCaption(TCustomAction* action, const std::wstring& text) {
    if (!ActionHasWideTexts(action)) return text;
    TCustomActionHelper* helper = ActionWideHelper(action);
    return helper->CaptionTransition() ? helper->WideCaption() : text;
}

std::wstring ActionLinkWideHint(TCustomAction* action, const std::wstring& text) {
    if (!ActionHasWideTexts(action)) return text;
    TCustomActionHelper* helper = ActionWideHelper(action);
    return helper->HintTransition() ? helper->WideHint() : text;
}

void ActionAssignWideTexts(TCustomAction* action, TPersistent* source) {
    if (auto* other = dynamic_cast<TCustomAction*>(source)) {
        action->TCustomAction::SetCaption(SystemAnsiFromWide(ActionGetWideCaption(other)));
        action->TCustomAction::SetHint(SystemAnsiFromWide(ActionGetWideHint(other)));
    } else if (auto* control = dynamic_cast<TControl*>(source)) {
        action->TCustomAction::SetCaption(SystemAnsiFromWide(ControlGetWideText(control)));
        action->TCustomAction::SetHint(SystemAnsiFromWide(ControlGetWideHint(control)));
    }
}

const TClassInfo& UcActionLinkClassFor(const TControl* control) {
    if (dynamic_cast<const TButtonControl*>(control)) return TUcButtonActionLink::StaticClass();
    if (dynamic_cast<const TWinControl*>(control)) return TUcWinControlActionLink::StaticClass();
    return TUcControlActionLink::StaticClass();
}

void ControlApplyActionTexts(TControl* control, TObject* sender, bool checkDefaults) {
    auto* action = dynamic_cast<TCustomAction*>(sender);
    if (!action || !ActionHasWideTexts(action)) return;
    std::wstring text = ControlGetWideText(control);
    if (!checkDefaults || text.empty() || text == WideFromSystemAnsi(control->Name()))
        ControlSetWideText(control, ActionGetWideCaption(action));
    if (!checkDefaults || ControlGetWideHint(control).empty()) ControlSetWideHint(control, ActionGetWideHint(action));
}

// --- actions -------------------------------------------------------------------------------

const TClassInfo& TUcAction::StaticClass() {
    static const TClassInfo info = DefineClass<TUcAction>("TUcAction", &TAction::StaticClass(), [](auto& c) {
        c.Creatable();
        // Always stored: the wide texts replace the ANSI ones.
        c.Prop("Caption", [](const TUcAction& a) { return ActionGetWideCaption(const_cast<TUcAction*>(&a)); },
               [](TUcAction& a, const std::wstring& v) { ActionSetWideCaption(&a, v); });
        c.Prop("Hint", [](const TUcAction& a) { return ActionGetWideHint(const_cast<TUcAction*>(&a)); },
               [](TUcAction& a, const std::wstring& v) { ActionSetWideHint(&a, v); });
    });
    return info;
}

void TUcAction::DefineProperties(TFiler* filer) {
    TAction::DefineProperties(filer);
    DefineWideProperties(filer, this);
}

void TUcAction::Assign(const TPersistent* source) {
    TAction::Assign(source);
    ActionAssignWideTexts(this, const_cast<TPersistent*>(source));
}

const TClassInfo& TUcHintAction::StaticClass() {
    static const TClassInfo info = DefineClass<TUcHintAction>("TUcHintAction", &THintAction::StaticClass(), [](auto& c) {
        c.Creatable();
        c.Prop("Hint", [](const TUcHintAction& a) { return ActionGetWideHint(const_cast<TUcHintAction*>(&a)); },
               [](TUcHintAction& a, const std::wstring& v) { ActionSetWideHint(&a, v); });
    });
    return info;
}

void TUcHintAction::DefineProperties(TFiler* filer) {
    THintAction::DefineProperties(filer);
    DefineWideProperties(filer, this);
}

void TUcHintAction::Assign(const TPersistent* source) {
    THintAction::Assign(source);
    ActionAssignWideTexts(this, const_cast<TPersistent*>(source));
}

// --- links -----------------------------------------------------------------------------------

const TClassInfo& TUcMenuActionLink::StaticClass() {
    static const TClassInfo info = DefineClass<TUcMenuActionLink>(
        "TUcMenuActionLink", &TMenuActionLink::StaticClass(), [](auto& c) { c.Creatable(); });
    return info;
}

namespace {
TUcMenuItem* UcClient(TMenuItem* item) {
    auto* uc = dynamic_cast<TUcMenuItem*>(item);
    if (!uc) throw EInvalidCast(MenuStr(SInvalidCast));
    return uc;
}
}  // namespace

bool TUcMenuActionLink::IsCaptionLinked() {
    // Captions count as linked whatever their case and hot-key marks.
    return TActionLink::IsCaptionLinked() &&
           WideSameCaption(ActionGetWideCaption(CheckedCustomAction(Action())), UcClient(Client())->Caption());
}

bool TUcMenuActionLink::IsHintLinked() {
    return TMenuActionLink::IsHintLinked() &&
           ActionGetWideHint(CheckedCustomAction(Action())) == UcClient(Client())->Hint();
}

void TUcMenuActionLink::SetCaption(const std::string& value) {
    if (IsCaptionLinked())
        UcClient(Client())->SetCaption(ActionLinkWideCaption(CheckedCustomAction(Action()), WideFromSystemAnsi(value)));
}

void TUcMenuActionLink::SetHint(const std::string& value) {
    if (IsHintLinked())
        UcClient(Client())->SetHint(ActionLinkWideHint(CheckedCustomAction(Action()), WideFromSystemAnsi(value)));
}

#define UC_CONTROL_LINK(Class, Base)                                                                           \
    const TClassInfo& Class::StaticClass() {                                                                   \
        static const TClassInfo info =                                                                         \
            DefineClass<Class>(#Class, &Base::StaticClass(), [](auto& c) { c.Creatable(); });                  \
        return info;                                                                                           \
    }                                                                                                          \
    bool Class::IsCaptionLinked() {                                                                            \
        return ControlCaptionLinked(Action(), Base::IsCaptionLinked(), Client());                              \
    }                                                                                                          \
    bool Class::IsHintLinked() { return ControlHintLinked(Action(), Base::IsHintLinked(), Client()); }         \
    void Class::SetCaption(const std::string& value) {                                                         \
        if (IsCaptionLinked())                                                                                 \
            ControlSetWideText(Client(), ActionLinkWideCaption(CheckedCustomAction(Action()), WideFromSystemAnsi(value)));  \
    }                                                                                                          \
    void Class::SetHint(const std::string& value) {                                                            \
        if (IsHintLinked())                                                                                    \
            ControlSetWideHint(Client(), ActionLinkWideHint(CheckedCustomAction(Action()), WideFromSystemAnsi(value)));     \
    }

UC_CONTROL_LINK(TUcButtonActionLink, TButtonActionLink)
UC_CONTROL_LINK(TUcWinControlActionLink, TWinControlActionLink)
UC_CONTROL_LINK(TUcControlActionLink, TControlActionLink)
#undef UC_CONTROL_LINK

void RegisterWideActionClasses() {
    for (const TClassInfo* info : {&TUcAction::StaticClass(), &TUcHintAction::StaticClass()}) RegisterClass(*info);
}
