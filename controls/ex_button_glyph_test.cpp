#include "controls/ex_button_glyph.h"

#include <gtest/gtest.h>

#include <memory>

#include "controls/bitmap_test_support.h"

namespace {

using ex_ctrls::GlyphCache;

// Cells of one colour each, side by side, with a magenta corner.
TOwned<TBitmap> Cells(std::initializer_list<TColor> colors, int size = 16) {
    auto bitmap = FilledBitmap(size * static_cast<int>(colors.size()), size, clFuchsia);
    int x = 0;
    for (TColor color : colors) {
        bitmap->Canvas()->Brush().SetColor(color);
        bitmap->Canvas()->FillRect(Rect(x + 2, 2, x + size, size));  // row 0-1, column 0-1 stay magenta
        x += size;
    }
    return bitmap;
}

using Glyph = TOwned<TExButtonGlyph>;
Glyph NewGlyph() { return Glyph(New<TExButtonGlyph>()); }

// The face drawn on a white bitmap: only the picture (no caption).
TOwned<TBitmap> Face(TExButtonGlyph& glyph, TExGlyphState state, int size = 16) {
    auto face = FilledBitmap(size, size, clWhite);
    glyph.DrawFace(*face->Canvas(), Rect(0, 0, size, size), "", blGlyphTop, 0, 0, false, state, DT_CENTER);
    return face;
}

TEST(ExGlyph, TheCellCountFollowsTheBitmapsShape) {
    auto glyph = NewGlyph();
    int changes = 0;
    glyph->OnChange = [&](TObject*) { ++changes; };
    glyph->SetGlyph(FilledBitmap(64, 16, clRed).get());
    EXPECT_EQ(glyph->GlyphCount(), 4);
    EXPECT_EQ(changes, 1);
    glyph->SetGlyph(FilledBitmap(40, 16, clRed).get());  // no whole multiple: kept
    EXPECT_EQ(glyph->GlyphCount(), 4);
    glyph->SetGlyph(FilledBitmap(96, 16, clRed).get());  // six cells are too many: one picture
    EXPECT_EQ(glyph->GlyphCount(), 1);
    glyph->SetGlyphCount(0);
    EXPECT_EQ(glyph->GlyphCount(), 1);
    // The bitmap's own transparent colour: its bottom-left pixel.
    EXPECT_EQ(glyph->TransparentColor(), clRed);
    glyph->SetGlyph(Cells({clGreen}).get());
    EXPECT_EQ(glyph->TransparentColor(), clFuchsia);
}

TEST(ExGlyph, AZeroWideBitmapOrMoreCellsThanPixelsDrawNothing) {
    auto glyph = NewGlyph();
    TOwned<TBitmap> empty(New<TBitmap>());
    empty->SetSize(0, 16);
    glyph->SetGlyph(empty.get());
    EXPECT_EQ(glyph->GlyphCount(), 1);
    EXPECT_EQ(glyph->BuildStateImage(rgsUp), -1);
    EXPECT_EQ(At(*Face(*glyph, rgsUp), 8, 8), Pixel(clWhite));

    glyph->SetGlyph(FilledBitmap(4, 16, clRed).get());
    glyph->SetGlyphCount(5);  // cells 0 pixels wide
    EXPECT_EQ(glyph->BuildStateImage(rgsUp), -1);
    EXPECT_EQ(glyph->BuildStateImage(rgsInactive), -1);
    EXPECT_EQ(At(*Face(*glyph, rgsUp), 8, 8), Pixel(clWhite));
}

TEST(ExGlyph, EachStateDrawsItsCell) {
    auto glyph = NewGlyph();
    glyph->SetGlyph(Cells({clRed, clGreen, clBlue, clYellow, clAqua}).get());
    ASSERT_EQ(glyph->GlyphCount(), 5);
    const std::pair<TExGlyphState, TColor> expected[] = {
        {rgsUp, clRed}, {rgsDisabled, clGreen}, {rgsDown, clBlue}, {rgsExclusive, clYellow}, {rgsInactive, clAqua}};
    for (auto [state, color] : expected) {
        auto face = Face(*glyph, state);
        EXPECT_EQ(At(*face, 8, 8), Pixel(color)) << state;
        EXPECT_EQ(At(*face, 0, 0), Pixel(clWhite)) << state;  // magenta is transparent
    }
}

TEST(ExGlyph, WithFewCellsDownUsesUpAndTheOthersAreMade) {
    auto glyph = NewGlyph();
    auto picture = Cells({clRed});
    picture->Canvas()->SetPixel(4, 4, clBlack);
    glyph->SetGlyph(picture.get());
    const int up = glyph->BuildStateImage(rgsUp);
    EXPECT_EQ(glyph->BuildStateImage(rgsDown), up);
    EXPECT_EQ(glyph->ImageIndex(rgsDown), -1);  // the up slot serves
    // Inactive: the first cell in grey.
    const int grey = (255 * 77) >> 8;
    EXPECT_EQ(At(*Face(*glyph, rgsInactive), 8, 8), uint32_t(grey << 16 | grey << 8 | grey));
    // Disabled: the black outline embossed on the face colour.
    auto disabled = Face(*glyph, rgsDisabled);
    EXPECT_EQ(At(*disabled, 4, 4), Pixel(clBtnShadow));
    EXPECT_EQ(At(*disabled, 5, 5), Pixel(clBtnHighlight));

    glyph->SetGlyph(Cells({clRed, clGreen, clBlue}).get());
    EXPECT_EQ(At(*Face(*glyph, rgsDown), 8, 8), Pixel(clBlue));
}

TEST(ExGlyph, ListsAreSharedPerCellSizeAndSlotsReused) {
    ASSERT_EQ(GlyphCache(), nullptr);
    auto first = NewGlyph();
    auto second = NewGlyph();
    auto other = NewGlyph();
    first->SetGlyph(Cells({clRed}).get());
    second->SetGlyph(Cells({clGreen}).get());
    other->SetGlyph(Cells({clBlue}, 20).get());
    first->BuildStateImage(rgsUp);
    second->BuildStateImage(rgsUp);
    other->BuildStateImage(rgsUp);
    ASSERT_NE(first->GlyphList(), nullptr);
    EXPECT_EQ(first->GlyphList(), second->GlyphList());
    EXPECT_NE(first->GlyphList(), other->GlyphList());
    EXPECT_EQ(GlyphCache()->ListCount(), 2);

    ex_ctrls::TGlyphList* shared = first->GlyphList();
    const int images = shared->Count();
    first->SetGlyph(Cells({clYellow}).get());  // frees its slot
    EXPECT_EQ(shared->UsedCount(), 1);
    first->BuildStateImage(rgsUp);
    EXPECT_EQ(first->GlyphList(), shared);
    EXPECT_EQ(shared->Count(), images);  // the freed slot is used again
    EXPECT_EQ(At(*Face(*first, rgsUp), 8, 8), Pixel(clYellow));

    first.reset();
    EXPECT_EQ(GlyphCache()->ListCount(), 2);
    second.reset();
    EXPECT_EQ(GlyphCache()->ListCount(), 1);
    other.reset();
    EXPECT_EQ(GlyphCache(), nullptr);
}

TEST(ExGlyph, WithAutomaticMarginAndSpacingTheGapsAreEqual) {
    auto glyph = NewGlyph();
    glyph->SetGlyph(Cells({clRed}).get());
    auto face = FilledBitmap(100, 30, clWhite);
    TCanvas& canvas = *face->Canvas();
    const int textWidth = canvas.TextWidth("Ab");
    TRect caption = glyph->DrawFace(canvas, Rect(0, 0, 100, 30), "Ab", blGlyphLeft, -1, -1, false, rgsUp, DT_CENTER);
    const int gap = (100 - 16 - textWidth) / 3;
    // The cell's two left columns are transparent.
    EXPECT_EQ(At(*face, gap + 2, 15), Pixel(clRed));
    EXPECT_EQ(At(*face, gap + 1, 15), Pixel(clWhite));
    EXPECT_EQ(At(*face, gap + 15, 15), Pixel(clRed));
    EXPECT_EQ(At(*face, gap + 16, 15), Pixel(clWhite));
    EXPECT_EQ(caption.left, gap + 16 + gap);
    EXPECT_EQ(RectWidth(caption), textWidth);
}

TEST(ExGlyph, TheDropDownMarkWithoutPictureOrCaptionSitsInTheMiddle) {
    auto glyph = NewGlyph();
    auto face = FilledBitmap(40, 20, clWhite);
    glyph->DrawFace(*face->Canvas(), Rect(0, 0, 40, 20), "", blGlyphTop, -1, -1, true, rgsUp, DT_CENTER);
    const int x = (0 + 40 - 7) / 2;
    int top = -1;  // the mark's widest row
    for (int y = 0; y < 20 && top < 0; ++y)
        if (At(*face, x, y) == Pixel(clBtnText)) top = y;
    ASSERT_GE(top, 0);
    EXPECT_EQ(At(*face, x + 6, top), Pixel(clBtnText));
    EXPECT_EQ(At(*face, x - 1, top), Pixel(clWhite));
    EXPECT_EQ(At(*face, x + 3, top + 3), Pixel(clBtnText));
    EXPECT_EQ(At(*face, x + 2, top + 3), Pixel(clWhite));
}

TEST(ExGlyph, ButtonBordersFollowTheirTable) {
    auto face = FilledBitmap(20, 20, clWhite);
    TCanvas& canvas = *face->Canvas();
    TRect inner = ex_ctrls::DrawButtonBorder(canvas, Rect(0, 0, 20, 20), false, false, bsAutoDetect);
    EXPECT_EQ(inner.left, 3);
    EXPECT_EQ(inner.right, 17);
    EXPECT_EQ(At(*face, 0, 0), Pixel(clBtnHighlight));
    EXPECT_EQ(At(*face, 19, 19), Pixel(clWindowFrame));
    EXPECT_EQ(At(*face, 18, 18), Pixel(clBtnShadow));

    face = FilledBitmap(20, 20, clWhite);
    inner = ex_ctrls::DrawButtonBorder(*face->Canvas(), Rect(0, 0, 20, 20), true, true, bsNew);
    EXPECT_EQ(inner.left, 2);
    EXPECT_EQ(At(*face, 0, 0), Pixel(clWindowFrame));
    EXPECT_EQ(At(*face, 19, 19), Pixel(clBtnHighlight));
    EXPECT_EQ(At(*face, 1, 1), Pixel(clWhite));
}

}  // namespace
