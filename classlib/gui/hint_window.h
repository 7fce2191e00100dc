// The little window that shows a control's hint, and the hint information
// a control receives in CM_HINTSHOW before its hint shows: it may change
// the text, the place, the window class or leave data for the window.
#pragma once
#include <string>

#include "classlib/gui/graphic_control.h"

class THintWindow : public TCustomControl {
    DECLARE_CLASS(THintWindow, TCustomControl)
public:
    explicit THintWindow(TComponent* owner);

    // The size the window needs for hint at most maxWidth wide, as a
    // rectangle at (0, 0); data is what CM_HINTSHOW left for the window.
    virtual TRect CalcHintRect(int maxWidth, const std::string& hint, void* data);
    // Shows the window over rect (screen coordinates) with the hint,
    // without taking the focus.
    virtual void ActivateHint(TRect rect, const std::string& hint);
    virtual void ActivateHintData(TRect rect, const std::string& hint, void* data);
    void ReleaseHint();

protected:
    void CreateParams(TCreateParams& params) override;
    void Paint() override;
};

// What CM_HINTSHOW carries (LParam points to it). A non-zero result keeps
// the hint from showing.
struct THintInfo {
    TControl* HintControl = nullptr;
    // A creatable descendant of THintWindow.
    const TClassInfo* HintWindowClass = nullptr;
    TPoint HintPos{0, 0};          // screen position of the window
    int HintMaxWidth = 300;
    TColor HintColor = clInfoBk;
    TRect CursorRect{0, 0, 0, 0};  // the control's client area
    TPoint CursorPos{0, 0};        // in the control's client coordinates
    std::string HintStr;           // the short part of the control's hint
    void* HintData = nullptr;
};

