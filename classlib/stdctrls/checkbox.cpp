#include "classlib/stdctrls/checkbox.h"

#include "classlib/core/class_builder.h"
#include "classlib/stdctrls/accel.h"

DEFINE_ENUM_TYPE(TCheckBoxState, "cbUnchecked", "cbChecked", "cbGrayed")

const TClassInfo& TCustomCheckBox::StaticClass() {
    static const TClassInfo info =
        DefineClass<TCustomCheckBox>("TCustomCheckBox", &TButtonControl::StaticClass(), [](auto& c) {
            PROPERTY(c, Alignment, LeftRightType()).Default(taRightJustify).Hidden();
            PROPERTY(c, AllowGrayed).Default(false).Hidden();
            PROPERTY(c, Checked).Default(false).Hidden();
            PROPERTY(c, State).Default(cbUnchecked).Hidden();
        });
    return info;
}

const TClassInfo& TCheckBox::StaticClass() {
    static const TClassInfo info = DefineClass<TCheckBox>("TCheckBox", &TCustomCheckBox::StaticClass(), [](auto& c) {
        c.Creatable();
        c.PublishAll("Alignment", "AllowGrayed", "Caption", "Checked", "Color", "Ctl3D", "DragCursor", "DragMode",
                     "Enabled", "Font", "ParentColor", "ParentCtl3D", "ParentFont", "ParentShowHint", "ShowHint",
                     "State", "TabOrder", "TabStop", "Visible", "OnClick", "OnEnter", "OnExit", "OnKeyDown",
                     "OnKeyPress", "OnKeyUp", "OnMouseDown", "OnMouseMove", "OnMouseUp");
        c.Publish("TabStop").Default(true);
    });
    return info;
}

TCustomCheckBox::TCustomCheckBox(TComponent* owner) : TButtonControl(owner) {
    SetControlStyle(TControlStyle{csSetCaption, csDoubleClicks});
    SetBounds(0, 0, 97, 17);
    SetTabStop(true);
}

void TCustomCheckBox::SetAlignment(TAlignment value) {
    if (value == taCenter) value = taRightJustify;
    if (alignment_ == value) return;
    alignment_ = value;
    RecreateWnd();
}

void TCustomCheckBox::SetState(TCheckBoxState value) {
    if (state_ == value) return;
    state_ = value;
    if (HandleAllocated()) SendMessageA(Handle(), BM_SETCHECK, static_cast<WPARAM>(state_), 0);
    if (!ClicksDisabled()) Click();
}

void TCustomCheckBox::Toggle() {
    switch (state_) {
    case cbUnchecked: SetState(allow_grayed_ ? cbGrayed : cbChecked); break;
    case cbChecked: SetState(cbUnchecked); break;
    case cbGrayed: SetState(cbChecked); break;
    }
}

void TCustomCheckBox::CreateParams(TCreateParams& p) {
    TButtonControl::CreateParams(p);
    CreateSubClass(p, "BUTTON");
    p.Style |= BS_3STATE;
    if (alignment_ == taLeftJustify) p.Style |= BS_LEFTTEXT;
    p.WindowClass.style &= ~static_cast<UINT>(CS_HREDRAW | CS_VREDRAW);
}

void TCustomCheckBox::CreateWnd() {
    TButtonControl::CreateWnd();
    SendMessageA(Handle(), BM_SETCHECK, static_cast<WPARAM>(state_), 0);
}

void TCustomCheckBox::Dispatch(TMessage& m) {
    switch (m.Msg) {
    case CN_COMMAND:
        if (HIWORD(m.WParam) == BN_CLICKED) Toggle();
        return;
    case CM_DIALOGCHAR:
        if (IsAccel(static_cast<unsigned>(m.WParam), Caption()) && CanFocus()) {
            SetFocus();
            if (Focused()) Toggle();
            m.Result = 1;
            return;
        }
        break;
    }
    TButtonControl::Dispatch(m);
}
