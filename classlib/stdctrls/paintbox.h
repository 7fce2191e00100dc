// TPaintBox: a windowless area the program paints in OnPaint.
#pragma once
#include "classlib/gui/graphic_control.h"

class TPaintBox : public TGraphicControl {
    DECLARE_CLASS(TPaintBox, TGraphicControl)
public:
    explicit TPaintBox(TComponent* owner);
    TNotifyEvent OnPaint;

protected:
    // The canvas comes with the control's font and colour as its brush.
    void Paint() override;
};
