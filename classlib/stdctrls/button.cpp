#include "classlib/stdctrls/button.h"

#include "classlib/core/class_builder.h"
#include "classlib/stdctrls/accel.h"

const TClassInfo& TButton::StaticClass() {
    static const TClassInfo info = DefineClass<TButton>("TButton", &TButtonControl::StaticClass(), [](auto& c) {
        c.Creatable();
        PROPERTY(c, Cancel).Default(false);
        c.Publish("Caption");
        PROPERTY(c, Default).Default(false);
        c.PublishAll("DragCursor", "DragMode", "Enabled", "Font");
        PROPERTY(c, ModalResult, ModalResultType()).Default(mrNone);
        c.PublishAll("ParentFont", "ParentShowHint", "ShowHint", "TabOrder", "TabStop", "Visible", "OnClick",
                     "OnEnter", "OnExit", "OnKeyDown", "OnKeyPress", "OnKeyUp", "OnMouseDown", "OnMouseMove",
                     "OnMouseUp");
        c.Publish("TabStop").Default(true);
    });
    return info;
}

TButton::TButton(TComponent* owner) : TButtonControl(owner) {
    SetControlStyle(TControlStyle{csSetCaption, csDoubleClicks});
    SetBounds(0, 0, 75, 25);
    SetTabStop(true);
}

void TButton::CreateParams(TCreateParams& p) {
    TButtonControl::CreateParams(p);
    CreateSubClass(p, "BUTTON");
    p.Style |= default_ ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON;
    p.WindowClass.style &= ~static_cast<UINT>(CS_HREDRAW | CS_VREDRAW);
}

void TButton::CreateWnd() {
    TButtonControl::CreateWnd();
    active_ = default_;
}

void TButton::SetDefault(bool value) {
    default_ = value;
    if (!HandleAllocated()) return;
    // Let every button work out again which one Enter clicks.
    if (TCustomForm* form = ParentForm())
        form->Perform(CM_FOCUSCHANGED, 0, reinterpret_cast<LPARAM>(form->ActiveControl()));
}

void TButton::SetButtonStyle(bool isDefault) {
    if (!HandleAllocated()) return;
    LONG style = isDefault ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON;
    if ((GetWindowLongA(Handle(), GWL_STYLE) & 0xF) != style) SendMessageA(Handle(), BM_SETSTYLE, style, 1);
}

void TButton::Click() {
    // Ends a modal form with this button's result (ignored when the form
    // is not modal), then reports the click.
    if (TCustomForm* form = ParentForm()) form->SetModalResult(modal_result_);
    TButtonControl::Click();
}

void TButton::CMDialogKey(TMessage& m) {
    bool altDown = (m.LParam & 0x20000000) != 0;
    bool plain = !altDown && GetKeyState(VK_SHIFT) >= 0 && GetKeyState(VK_CONTROL) >= 0;
    if (((m.WParam == VK_RETURN && active_) || (m.WParam == VK_ESCAPE && cancel_)) && plain && CanFocus()) {
        Click();
        m.Result = 1;
        return;
    }
    TButtonControl::Dispatch(m);
}

void TButton::CMFocusChanged(TMessage& m) {
    auto* focused = reinterpret_cast<TWinControl*>(m.LParam);
    // A focused button takes Enter itself; otherwise the default one does.
    if (focused && dynamic_cast<TButton*>(focused)) active_ = focused == this;
    else active_ = default_;
    SetButtonStyle(active_);
    TButtonControl::Dispatch(m);
}

bool TButton::DispatchOwnerDraw(TMessage& m) {
    switch (m.Msg) {
    case CN_MEASUREITEM: {
        auto* measure = reinterpret_cast<MEASUREITEMSTRUCT*>(m.LParam);
        measure->itemWidth = static_cast<UINT>(Width());
        measure->itemHeight = static_cast<UINT>(Height());
        m.Result = 1;
        return true;
    }
    case CN_DRAWITEM:
        DrawItem(*reinterpret_cast<DRAWITEMSTRUCT*>(m.LParam));
        m.Result = 1;
        return true;
    case WM_LBUTTONDBLCLK:
        // An owner-drawn button reports double clicks; ours presses twice.
        Perform(WM_LBUTTONDOWN, m.WParam, m.LParam);
        return true;
    default: return false;
    }
}

void TButton::Dispatch(TMessage& m) {
    switch (m.Msg) {
    case CN_COMMAND:
        if (HIWORD(m.WParam) == BN_CLICKED) Click();
        return;
    case CM_DIALOGKEY: CMDialogKey(m); return;
    case CM_DIALOGCHAR:
        if (IsAccel(static_cast<unsigned>(m.WParam), Caption()) && CanFocus()) {
            Click();
            m.Result = 1;
            return;
        }
        break;
    case CM_FOCUSCHANGED: CMFocusChanged(m); return;
    }
    TButtonControl::Dispatch(m);
}
