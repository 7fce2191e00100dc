#include "classlib/stdctrls/paintbox.h"

#include <gtest/gtest.h>

#include "classlib/stdctrls/test_support.h"

namespace {

using PaintBoxOnForm = SharedFormTest;

TEST_F(PaintBoxOnForm, OnPaintGetsACanvasWithTheControlsColourAndFont) {
    auto* box = AddControl<TPaintBox>(form, 20, 20, 60, 40);
    box->SetColor(clYellow);
    box->Font()->SetColor(clRed);
    int paints = 0;
    box->OnPaint = [&](TObject*) {
        ++paints;
        TCanvas* canvas = box->Canvas();
        EXPECT_EQ(canvas->Font().Color(), clRed);
        canvas->FillRect(Rect(0, 0, 30, 40));  // with the prepared brush
        canvas->Brush().SetColor(clBlue);
        canvas->FillRect(Rect(30, 0, 200, 40));  // clipped to the box
    };
    box->Invalidate();
    DrainMessages();
    EXPECT_GT(paints, 0);
    TWindowPixels pixels(form->Handle());
    EXPECT_EQ(pixels.At(25, 25), Rgb(clYellow));
    EXPECT_EQ(pixels.At(75, 25), Rgb(clBlue));
    EXPECT_EQ(pixels.At(85, 25), Rgb(clBtnFace));

    // Aligned to the parent's client area.
    box->SetAlign(alBottom);
    EXPECT_EQ(box->Width(), form->ClientWidth());
    EXPECT_EQ(box->Top() + box->Height(), form->ClientHeight());
}

}  // namespace
