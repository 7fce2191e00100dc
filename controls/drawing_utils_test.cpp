#include "controls/drawing_utils.h"

#include <gtest/gtest.h>

#include "classlib/comctrls/imglist.h"
#include "classlib/graphics/bitmap.h"
#include "classlib/gui/forms.h"
#include "classlib/stdctrls/paintbox.h"
#include "classlib/stdctrls/panel.h"
#include "classlib/testing/gui_testing.h"
#include "controls/bitmap_test_support.h"

namespace {

TEST(DisabledLook, HighlightMovedByOneThenShadowOverTheOutline) {
    auto glyph = FilledBitmap(8, 8, clWhite);
    glyph->Canvas()->SetPixel(2, 2, clBlack);
    glyph->Canvas()->SetPixel(5, 2, clRed);  // not the outline colour: left out
    TOwned<TBitmap> disabled(MakeDisabledBitmap(*glyph, clBlack));
    ASSERT_EQ(disabled->Width(), 8);
    EXPECT_EQ(At(*disabled, 2, 2), Pixel(clBtnShadow));
    EXPECT_EQ(At(*disabled, 3, 3), Pixel(clBtnHighlight));
    EXPECT_EQ(At(*disabled, 0, 0), Pixel(clBtnFace));
    EXPECT_EQ(At(*disabled, 5, 2), Pixel(clBtnFace));

    TOwned<TBitmap> flat(CreateDisabledImage(*glyph, clBlack, clWhite, clRed, clBlue, false));
    EXPECT_EQ(At(*flat, 2, 2), Pixel(clBlue));
    EXPECT_EQ(At(*flat, 3, 3), Pixel(clWhite));
}

TEST(DisabledLook, ImageListItemsAreEmbossedFromTheirMask) {
    TOwned<TImageList> images(New<TImageList>(nullptr));
    images->SetWidth(8);
    images->SetHeight(8);
    auto picture = FilledBitmap(8, 8, clFuchsia);
    picture->Canvas()->SetPixel(1, 1, clGreen);
    images->AddMasked(picture->Handle(), clFuchsia);
    auto target = FilledBitmap(12, 12, clWhite);
    DrawImageListItem(*images, *target->Canvas(), 2, 2, 0, clRed, clBlue, true);
    EXPECT_EQ(At(*target, 3, 3), Pixel(clBlue));
    EXPECT_EQ(At(*target, 4, 4), Pixel(clRed));
    EXPECT_EQ(At(*target, 2, 2), Pixel(clWhite));
    EXPECT_EQ(target->Canvas()->Brush().Color(), clWhite);  // the brush is given back
}

TEST(TransparentBitmaps, TheTransparentColourLeavesTheDestinationVisible) {
    auto picture = FilledBitmap(4, 4, clFuchsia);
    picture->Canvas()->SetPixel(1, 1, clRed);
    int changes = 0;
    picture->OnChange = [&](TObject*) { ++changes; };
    auto target = FilledBitmap(8, 8, clBlue);
    // clDefault: the bottom-left pixel's colour.
    DrawBitmapTransparent(*target->Canvas(), *picture, clDefault, 2, 2, 0, 0);
    EXPECT_EQ(At(*target, 3, 3), Pixel(clRed));
    EXPECT_EQ(At(*target, 2, 2), Pixel(clBlue));
    EXPECT_EQ(changes, 0);
    EXPECT_TRUE(picture->OnChange);  // given back

    auto opaque = FilledBitmap(8, 8, clBlue);
    DrawBitmapTransparent(*opaque->Canvas(), *picture, clNone, 0, 0, 0, 0);
    EXPECT_EQ(At(*opaque, 0, 0), Pixel(clFuchsia));

    // A part of the bitmap, stretched to twice its size.
    auto stretched = FilledBitmap(8, 8, clBlue);
    DrawBitmapRectTransparent(*stretched->Canvas(), 0, 0, 4, 4, Rect(0, 0, 2, 2), *picture, clFuchsia);
    EXPECT_EQ(At(*stretched, 2, 2), Pixel(clRed));
    EXPECT_EQ(At(*stretched, 3, 3), Pixel(clRed));
    EXPECT_EQ(At(*stretched, 1, 1), Pixel(clBlue));
    EXPECT_EQ(At(*stretched, 4, 4), Pixel(clBlue));
}

TEST(ParentBackground, OnlyWindowlessSiblingsBeforeTheControlArePainted) {
    auto form = MakeOwned<TForm>(nullptr);
    form->SetBounds(20, 20, 200, 150);
    form->SetColor(clYellow);
    auto addBox = [&](int left, int top, TColor color) {
        auto* box = New<TPaintBox>(form.get());
        box->SetParent(form.get());
        box->SetBounds(left, top, 20, 20);
        box->OnPaint = [box, color](TObject*) {
            box->Canvas()->Brush().SetColor(color);
            box->Canvas()->FillRect(Rect(0, 0, 20, 20));
        };
        return box;
    };
    addBox(40, 40, clGreen);                     // before, overlapping
    addBox(100, 100, clRed);                     // before, elsewhere
    auto* control = addBox(50, 50, clBlack);     // the control itself
    addBox(55, 55, clBlue);                      // after it: not painted
    auto* panel = New<TPanel>(form.get());       // windowed: not painted
    panel->SetBounds(60, 30, 20, 40);
    panel->SetColor(clAqua);
    panel->SetParent(form.get());
    form->HandleNeeded();

    auto face = FilledBitmap(20, 20, clWhite);
    DrawParentBackground(control, *face->Canvas());
    EXPECT_EQ(At(*face, 0, 0), Pixel(clGreen));    // (50, 50) on the form
    EXPECT_EQ(At(*face, 9, 9), Pixel(clGreen));
    EXPECT_EQ(At(*face, 10, 10), Pixel(clYellow));
    EXPECT_EQ(At(*face, 15, 15), Pixel(clYellow)); // under the later sibling
    EXPECT_EQ(At(*face, 12, 1), Pixel(clYellow));  // under the panel
    EXPECT_FALSE(form->ControlState().Contains(csPaintCopy));
    DrawParentBackground(nullptr, *face->Canvas());  // nothing
}

}  // namespace
