#include "player/status_progress.h"

#include <gtest/gtest.h>

#include "classlib/comctrls/comctrls.h"
#include "classlib/gui/canvas.h"
#include "classlib/gui/forms.h"
#include "classlib/gui/scoped_win32.h"
#include "classlib/testing/gui_testing.h"

namespace {

// A status bar on a form, and a small picture to draw on in its place.
struct TProgressBench {
    TOwned<TForm> form = MakeOwned<TForm>(nullptr);
    TStatusBar* bar = new TStatusBar(form.get());
    TStatusProgress progress{bar};
    TMemoryDC dc;
    TGdiObject picture{CreateCompatibleBitmap(TWindowDC(nullptr), 40, 10)};
    TSelectedObject selected{dc, picture.Get()};

    TProgressBench() {
        bar->SetParent(form.get());
        form->HandleNeeded();
        PatBlt(dc, 0, 0, 40, 10, WHITENESS);
        // The panel's rectangle, as the owner-drawn panel reports it.
        auto canvas = MakeOwned<TCanvas>();
        TCanvasOnDC on(*canvas, dc);
        progress.DrawPanel(canvas.get(), Rect(0, 0, 40, 10));
    }
};

TEST(StatusProgress, GrowsTheBarOnTheStatusBarsContext) {
    TProgressBench bench;
    bench.progress.SetStatus(50);
    bench.progress.PaintMoreOn(bench.dc);
    EXPECT_EQ(GetPixel(bench.dc, 5, 5), RGB(0, 0, 128));
    EXPECT_EQ(GetPixel(bench.dc, 30, 5), RGB(255, 255, 255));
    EXPECT_FALSE(bench.bar->Canvas()->HandleAllocated());
}

TEST(StatusProgress, AThrowingDrawLeavesTheDeviceContextAsItWas) {
    TProgressBench bench;
    HGDIOBJ pen = GetCurrentObject(bench.dc, OBJ_PEN);
    HGDIOBJ brush = GetCurrentObject(bench.dc, OBJ_BRUSH);
    HGDIOBJ font = GetCurrentObject(bench.dc, OBJ_FONT);
    bench.bar->Canvas()->OnChange = [](TObject*) { throw Exception("drawing failed"); };
    EXPECT_THROW(bench.progress.PaintMoreOn(bench.dc), Exception);
    EXPECT_EQ(GetCurrentObject(bench.dc, OBJ_PEN), pen);
    EXPECT_EQ(GetCurrentObject(bench.dc, OBJ_BRUSH), brush);
    EXPECT_EQ(GetCurrentObject(bench.dc, OBJ_FONT), font);
    EXPECT_FALSE(bench.bar->Canvas()->HandleAllocated());

    // Afterwards the bar draws again.
    bench.bar->Canvas()->OnChange = nullptr;
    bench.progress.SetStatus(60);
    EXPECT_EQ(bench.progress.Percent(), 60);
}

}  // namespace
