// TBevel: lowered or raised 3-D lines and frames that group controls
// visually.
#pragma once
#include "classlib/gui/graphic_control.h"

enum TBevelShape { bsBox, bsFrame, bsTopLine, bsBottomLine, bsLeftLine, bsRightLine, bsSpacer };
DECLARE_ENUM_TYPE(TBevelShape)
enum TBevelStyle { bsLowered, bsRaised };
DECLARE_ENUM_TYPE(TBevelStyle)

class TBevel : public TGraphicControl {
    DECLARE_CLASS(TBevel, TGraphicControl)
public:
    explicit TBevel(TComponent* owner);
    TBevelShape Shape() const { return shape_; }
    void SetShape(TBevelShape value);
    TBevelStyle Style() const { return style_; }
    void SetStyle(TBevelStyle value);

protected:
    void Paint() override;

private:
    TBevelShape shape_ = bsBox;
    TBevelStyle style_ = bsLowered;
};
