// TSplitter: a bar between aligned controls; dragging it resizes the
// control on its aligned side (the one it was placed against), within
// MinSize on both sides.
#pragma once
#include <algorithm>
#include <optional>

#include "classlib/gui/graphic_control.h"
#include "classlib/gui/scoped_win32.h"

enum TResizeStyle { rsNone, rsLine, rsUpdate, rsPattern };
DECLARE_ENUM_TYPE(TResizeStyle)

using TCanResizeEvent = TEvent<void(TObject* Sender, int& NewSize, bool& Accept)>;

class TSplitter : public TGraphicControl {
    DECLARE_CLASS(TSplitter, TGraphicControl)
public:
    explicit TSplitter(TComponent* owner);
    ~TSplitter() override;

    bool Beveled() const { return beveled_; }
    void SetBeveled(bool value);
    // The least size of the split control and of what remains beside it.
    int32_t MinSize() const { return min_size_; }
    void SetMinSize(int32_t value) { min_size_ = std::max<int32_t>(value, 1); }
    // rsLine / rsPattern show a line while dragging and resize at the end;
    // rsUpdate resizes while dragging; rsNone only at the end.
    TResizeStyle ResizeStyle() const { return resize_style_; }
    void SetResizeStyle(TResizeStyle value) { resize_style_ = value; }

    TCanResizeEvent OnCanResize;
    TNotifyEvent OnMoved;
    TNotifyEvent OnPaint;

protected:
    void Paint() override;
    void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
    void MouseMove(TShiftState shift, int x, int y) override;
    void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;
    virtual bool CanResize(int& newSize);
    // The control beside the splitter on its aligned side.
    TControl* FindSplitControl() const;
    void Dispatch(TMessage& message) override;
    void Loaded() override;

private:
    // The split cursor follows the direction (while it is a split cursor).
    void SyncCursor();
    bool Horizontal() const { return Align() == alLeft || Align() == alRight; }
    void CalcSplitSize(int x, int y, int& newSize, int& split) const;
    void UpdateControlSize();
    void StartLine();
    void DrawLine();
    void StopSizing();

    bool beveled_ = false;
    int32_t min_size_ = 30;
    TResizeStyle resize_style_ = rsPattern;
    TControl* control_ = nullptr;  // being resized
    TPoint down_pos_{0, 0};
    int max_size_ = 0;
    int new_size_ = 0;
    int old_size_ = -1;
    int split_ = 0;
    // The parent's device context while a line shows where the split goes,
    // with the line's brush selected.
    HDC LineDC() const { return line_dc_ ? line_dc_->Get() : nullptr; }
    TGdiObject line_brush_;
    std::optional<TWindowDC> line_dc_;
    std::optional<TSelectedObject> line_brush_selected_;
    bool line_visible_ = false;
};
