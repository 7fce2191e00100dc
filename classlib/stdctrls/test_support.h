// Shared helpers of the standard controls' tests: forms to put controls on,
// keyboard chords, system colours as pixels.
#pragma once
#include <string>

#include <gtest/gtest.h>

#include "classlib/gui/application.h"
#include "classlib/gui/forms.h"
#include "classlib/testing/gui_testing.h"
#include "classlib/gui/wincontrol.h"

// A form at a fixed place on the desktop, not shown yet.
inline TOwned<TForm> MakeForm(int width = 320, int height = 240) {
    auto form = MakeOwned<TForm>(nullptr);
    form->SetBounds(60, 60, width, height);
    form->SetCaption("Test");
    return form;
}

// A control of class T owned by the parent's form, placed on the parent.
template <class T>
T* AddControl(TWinControl* parent, int left, int top, int width, int height) {
    TComponent* owner = parent->ParentForm() ? static_cast<TComponent*>(parent->ParentForm()) : parent;
    T* control = New<T>(owner);
    control->SetParent(parent);
    control->SetBounds(left, top, width, height);
    return control;
}

inline void ShowAndWait(TForm* form) {
    form->Show();
    PumpUntil([form] { return form->Showing(); });
    DrainMessages();
}

// One shown form for the tests of the whole program: hiding or destroying
// a shown window costs the X11 driver a long wait, creating controls on a
// shown form does not.
inline TForm* SharedForm() {
    static TForm* form = nullptr;
    if (!form) {
        form = New<TForm>(Application);
        form->SetBounds(60, 60, 420, 320);
        form->SetCaption("Standard controls");
    }
    if (!form->Showing()) ShowAndWait(form);
    return form;
}

// Tests on the shared form: the controls a test makes (owned by the form)
// go when it ends, and the form's events are reset.
class SharedFormTest : public ::testing::Test {
protected:
    TForm* form = SharedForm();

    void TearDown() override {
        form->DestroyComponents();
        form->OnKeyDown = nullptr;
        form->OnKeyPress = nullptr;
        form->OnClick = nullptr;
        form->SetKeyPreview(false);
        DrainMessages();
    }
};

inline void SendKeyEvent(WORD key, bool up) {
    INPUT input{};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = key;
    input.ki.wScan = static_cast<WORD>(MapVirtualKeyA(key, 0));
    input.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
    SendInput(1, &input, sizeof input);
}

// A key pressed while `modifier` (VK_MENU, VK_SHIFT, VK_CONTROL) is held.
inline void PressChord(WORD modifier, WORD key) {
    TInputMark mark = MarkInput();
    SendKeyEvent(modifier, false);
    SendKeyEvent(key, false);
    SendKeyEvent(key, true);
    SendKeyEvent(modifier, true);
    WaitForInput(mark, KeyReleased(modifier));
}

// A colour (system colours included) as the screen shows it.
inline COLORREF Rgb(TColor color) {
    return static_cast<COLORREF>(ColorToRGB(color)) & 0xFFFFFF;
}
