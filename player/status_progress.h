// The progress bar drawn into an owner-drawn status-bar panel: a navy bar
// as wide as the percentage, grown in place while a copy runs and redrawn
// whole when it shrinks.
#pragma once
#include "classlib/gui/geometry.h"

class TCanvas;
class TStatusBar;

class TStatusProgress {
public:
    explicit TStatusProgress(TStatusBar*& statusBar) : status_bar_(statusBar) {}

    // The panel's draw handler: draws the bar and remembers the rectangle.
    void DrawPanel(TCanvas* canvas, const TRect& rect);
    // Draws the bar over what the panel shows, without erasing.
    void PaintMore();
    // The same on a device context of the status bar's window, with the
    // canvas the panel is drawn with; the context is left as it was.
    void PaintMoreOn(HDC dc);
    // A smaller value repaints the whole status bar; a larger one grows the
    // bar at once.
    void SetStatus(int percent);
    int Percent() const { return percent_; }
    const TRect& PanelRect() const { return rect_; }

private:
    void DrawBar(TCanvas* canvas, const TRect& rect) const;

    TStatusBar*& status_bar_;
    int percent_ = 0;
    TRect rect_{0, 0, 0, 0};
};
