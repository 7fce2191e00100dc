#include "status_progress.h"

#include "canvas.h"
#include "comctrls.h"

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
    DrawBar(status_bar_->Canvas(), rect_);
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
