#include "classlib/stdctrls/panel.h"

#include <gtest/gtest.h>

#include "classlib/stdctrls/bevel.h"
#include "classlib/stdctrls/test_support.h"

namespace {

struct Colors {
    COLORREF face = Rgb(clBtnFace), light = Rgb(clBtnHighlight), shadow = Rgb(clBtnShadow);
    Colors() {
        // The checks below tell the three apart.
        EXPECT_NE(face, light);
        EXPECT_NE(face, shadow);
        EXPECT_NE(light, shadow);
    }
};

using PanelOnForm = SharedFormTest;

TEST_F(PanelOnForm, RaisedOuterBevel) {
    Colors c;
    auto* panel = AddControl<TPanel>(form, 20, 20, 100, 60);
    DrainMessages();
    TWindowPixels pixels(panel->Handle());
    EXPECT_EQ(pixels.At(0, 0), c.light);
    EXPECT_EQ(pixels.At(98, 0), c.light);
    EXPECT_EQ(pixels.At(0, 58), c.light);
    EXPECT_EQ(pixels.At(99, 0), c.shadow);
    EXPECT_EQ(pixels.At(0, 59), c.shadow);
    EXPECT_EQ(pixels.At(99, 59), c.shadow);
    EXPECT_EQ(pixels.At(1, 1), c.face);
    EXPECT_EQ(pixels.At(98, 58), c.face);
}

TEST_F(PanelOnForm, BevelsAndBorderNestAndShrinkTheClientArea) {
    Colors c;
    auto* panel = AddControl<TPanel>(form, 20, 20, 100, 60);
    panel->SetBevelWidth(2);
    panel->SetBorderWidth(3);
    panel->SetBevelInner(bvLowered);
    auto* child = AddControl<TPanel>(panel, 0, 0, 10, 10);
    child->SetBevelOuter(bvNone);
    child->SetColor(clRed);
    child->SetAlign(alClient);
    EXPECT_EQ(child->BoundsRect(), Rect(7, 7, 93, 53));
    child->SetVisible(false);
    DrainMessages();
    TWindowPixels pixels(panel->Handle());
    pixels.SavePng(ScreenshotFolder() + "panel_bevels.png");
    EXPECT_EQ(pixels.At(1, 1), c.light);    // outer, raised
    EXPECT_EQ(pixels.At(98, 58), c.shadow);
    EXPECT_EQ(pixels.At(3, 3), c.face);     // border
    EXPECT_EQ(pixels.At(5, 5), c.shadow);   // inner, lowered
    EXPECT_EQ(pixels.At(6, 30), c.shadow);
    EXPECT_EQ(pixels.At(94, 54), c.light);
    EXPECT_EQ(pixels.At(93, 30), c.light);
    EXPECT_EQ(pixels.At(7, 7), c.face);

    panel->SetBevelOuter(bvLowered);
    panel->SetBevelInner(bvNone);
    child->SetVisible(true);
    EXPECT_EQ(child->BoundsRect(), Rect(5, 5, 95, 55));
    DrainMessages();
    TWindowPixels lowered(panel->Handle());
    EXPECT_EQ(lowered.At(0, 0), c.shadow);
    EXPECT_EQ(lowered.At(99, 59), c.light);
    EXPECT_EQ(lowered.At(5, 5), Rgb(clRed));
}

TEST_F(PanelOnForm, CaptionIsDrawnCentred) {
    Colors c;
    auto* panel = AddControl<TPanel>(form, 20, 20, 200, 40);
    panel->SetCaption("WWWW");
    DrainMessages();
    TWindowPixels pixels(panel->Handle());
    auto inked = [&](int x0, int x1) {
        int n = 0;
        for (int x = x0; x < x1; ++x)
            for (int y = 2; y < 38; ++y) n += pixels.At(x, y) != c.face;
        return n;
    };
    EXPECT_GT(inked(80, 120), 20);
    EXPECT_EQ(inked(2, 40), 0);
    EXPECT_EQ(inked(160, 198), 0);
}

TEST_F(PanelOnForm, BevelShapesAndStyles) {
    Colors c;
    AddControl<TBevel>(form, 200, 20, 50, 40);  // a lowered box
    auto* top = AddControl<TBevel>(form, 200, 80, 50, 10);
    top->SetShape(bsTopLine);
    top->SetStyle(bsRaised);
    auto* frame = AddControl<TBevel>(form, 200, 100, 50, 40);
    frame->SetShape(bsFrame);
    auto* right = AddControl<TBevel>(form, 270, 20, 10, 40);
    right->SetShape(bsRightLine);
    DrainMessages();
    TWindowPixels pixels(form->Handle());
    EXPECT_EQ(pixels.At(200, 20), c.shadow);   // lowered box
    EXPECT_EQ(pixels.At(200, 58), c.shadow);
    EXPECT_EQ(pixels.At(249, 20), c.light);
    EXPECT_EQ(pixels.At(249, 59), c.light);
    EXPECT_EQ(pixels.At(225, 40), c.face);
    EXPECT_EQ(pixels.At(210, 80), c.light);    // raised top line
    EXPECT_EQ(pixels.At(210, 81), c.shadow);
    EXPECT_EQ(pixels.At(210, 82), c.face);
    EXPECT_EQ(pixels.At(200, 100), c.shadow);  // etched frame
    EXPECT_EQ(pixels.At(201, 101), c.light);
    EXPECT_EQ(pixels.At(248, 138), c.shadow);
    EXPECT_EQ(pixels.At(249, 139), c.light);
    EXPECT_EQ(pixels.At(278, 30), c.shadow);   // lowered right line
    EXPECT_EQ(pixels.At(279, 30), c.light);
    EXPECT_EQ(pixels.At(277, 30), c.face);
}

}  // namespace
