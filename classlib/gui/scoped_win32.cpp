#include "classlib/gui/scoped_win32.h"

#include "classlib/gui/canvas.h"

TCanvasOnDC::TCanvasOnDC(TCanvas& canvas, HDC dc) noexcept : canvas_(&canvas), previous_(canvas.dc_) {
    canvas.SetHandle(dc);
}

TCanvasOnDC::~TCanvasOnDC() noexcept {
    if (canvas_) canvas_->SetHandle(previous_);
}
