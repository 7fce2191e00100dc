#include "player/status_progress.h"

#include "classlib/gui/canvas.h"
#include "classlib/comctrls/comctrls.h"
#include "classlib/gui/scoped_win32.h"

namespace {
constexpr TColor kBarColor = 0x800000;  // navy
}

void TStatusProgress::DrawBar(TCanvas* canvas, const TRect& rect) const {
    canvas->Brush().SetColor(kBarColor);
    canvas->Pen().SetColor(kBarColor);
    int width = static_cast<int>(static_cast<int64_t>(rect.right - rect.left) * percent_ / 100);
    canvas->Rectangle(rect.left, rect.top, rect.left + width, rect.bottom);
}

void TStatusProgress::DrawPanel(TCanvas* canvas, const TRect& rect) {
    DrawBar(canvas, rect);
    rect_ = rect;
}

void TStatusProgress::PaintMore() {
    if (!status_bar_ || !status_bar_->HandleAllocated()) return;
    // Drawn at once, over what the panel shows, not at the next paint.
    TWindowDC dc(status_bar_->Handle());
    PaintMoreOn(dc);
}

void TStatusProgress::PaintMoreOn(HDC dc) {
    TCanvasOnDC canvas(*status_bar_->Canvas(), dc);
    DrawBar(canvas.Get(), rect_);
}

void TStatusProgress::SetStatus(int percent) {
    if (percent < percent_) {
        percent_ = percent;
        if (status_bar_) status_bar_->Repaint();
        return;
    }
    percent_ = percent;
    PaintMore();
}
