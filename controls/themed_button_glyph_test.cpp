#include "controls/themed_button_glyph.h"

#include <gtest/gtest.h>

#include "controls/bitmap_test_support.h"
#include "controls/ex_button_glyph.h"

namespace {

using themed_buttons::GlyphCache;
using themed_buttons::TButtonGlyph;

using ThemedGlyph = TOwned<TButtonGlyph>;
ThemedGlyph NewThemedGlyph() { return ThemedGlyph(New<TButtonGlyph>()); }

// Cells of one colour each on olive, whose bottom-left pixel stays olive.
TOwned<TBitmap> ThemedCells(std::initializer_list<TColor> colors, int size = 16) {
    auto bitmap = FilledBitmap(size * static_cast<int>(colors.size()), size, clOlive);
    int x = 0;
    for (TColor color : colors) {
        bitmap->Canvas()->Brush().SetColor(color);
        bitmap->Canvas()->FillRect(Rect(x + 2, 2, x + size - 2, size - 2));
        x += size;
    }
    return bitmap;
}

// Glyph and caption drawn on a yellow bitmap.
TOwned<TBitmap> Drawn(TButtonGlyph& glyph, TButtonState state, int width = 100, int height = 30,
                      const std::string& caption = "", int margin = -1, int spacing = -1, TRect* captionRect = nullptr) {
    auto face = FilledBitmap(width, height, clYellow);
    TRect placed = glyph.Draw(*face->Canvas(), Rect(0, 0, width, height), caption, blGlyphLeft, margin, spacing,
                              state, DT_LEFT);
    if (captionRect) *captionRect = placed;
    return face;
}

int LeftmostOf(const TBitmap& bitmap, uint32_t pixel) {
    for (int x = 0; x < bitmap.Width(); ++x)
        for (int y = 0; y < bitmap.Height(); ++y)
            if (At(bitmap, x, y) == pixel) return x;
    return -1;
}

TEST(ThemedGlyph, TheCellCountFollowsTheBitmapsShape) {
    auto glyph = NewThemedGlyph();
    glyph->SetGlyph(FilledBitmap(36, 18, clRed).get());
    EXPECT_EQ(glyph->NumGlyphs(), 2);
    glyph->SetGlyph(FilledBitmap(40, 18, clRed).get());  // no whole multiple: kept
    EXPECT_EQ(glyph->NumGlyphs(), 2);
    glyph->SetGlyph(FilledBitmap(90, 18, clRed).get());  // five cells are too many: one picture
    EXPECT_EQ(glyph->NumGlyphs(), 1);
    glyph->SetNumGlyphs(0);
    EXPECT_EQ(glyph->NumGlyphs(), 1);
    EXPECT_EQ(glyph->TransparentColor(), clRed);  // the bottom-left pixel
}

TEST(ThemedGlyph, AZeroWideBitmapOrMoreCellsThanPixelsDrawNothing) {
    auto glyph = NewThemedGlyph();
    glyph->SetGlyph(ThemedCells({clRed, clBlue}).get());
    TOwned<TBitmap> empty(New<TBitmap>());
    empty->SetSize(0, 18);
    glyph->SetGlyph(empty.get());
    EXPECT_EQ(glyph->NumGlyphs(), 2);  // a count of 0 would divide by zero later
    EXPECT_EQ(glyph->BuildStateImage(bsUp), -1);
    EXPECT_EQ(LeftmostOf(*Drawn(*glyph, bsUp), Pixel(clRed)), -1);

    glyph->SetGlyph(FilledBitmap(3, 16, clRed).get());
    glyph->SetNumGlyphs(4);  // cells 0 pixels wide
    EXPECT_EQ(glyph->BuildStateImage(bsUp), -1);
    EXPECT_EQ(glyph->BuildStateImage(bsDisabled), -1);
    EXPECT_EQ(At(*Drawn(*glyph, bsUp), 50, 15), Pixel(clYellow));
}

TEST(ThemedGlyph, EachStateDrawsItsCellAndDownFallsBackToUp) {
    auto glyph = NewThemedGlyph();
    glyph->SetGlyph(ThemedCells({clRed, clSilver, clBlue, clGreen}).get());
    ASSERT_EQ(glyph->NumGlyphs(), 4);
    auto centre = [&](TButtonState state) { return At(*Drawn(*glyph, state, 16, 16, "", 0, 0), 8, 8); };
    EXPECT_EQ(centre(bsUp), Pixel(clRed));
    EXPECT_EQ(centre(bsDown), Pixel(clBlue));
    EXPECT_EQ(centre(bsExclusive), Pixel(clGreen));
    // The olive frame is transparent.
    EXPECT_EQ(At(*Drawn(*glyph, bsUp, 16, 16, "", 0, 0), 0, 0), Pixel(clYellow));

    glyph->SetGlyph(ThemedCells({clRed, clSilver}).get());
    EXPECT_EQ(glyph->BuildStateImage(bsDown), glyph->BuildStateImage(bsUp));
    EXPECT_EQ(glyph->ImageIndex(bsDown), -1);
    // Exclusive has no cell of its own: the first one.
    EXPECT_EQ(centre(bsExclusive), Pixel(clRed));
}

TEST(ThemedGlyph, TheDisabledCellIsRecolouredToTheSystemColours) {
    auto glyph = NewThemedGlyph();
    auto bitmap = ThemedCells({clRed, clWhite});
    bitmap->Canvas()->Brush().SetColor(clGray);
    bitmap->Canvas()->FillRect(Rect(16 + 6, 6, 16 + 10, 10));
    glyph->SetGlyph(bitmap.get());
    auto face = Drawn(*glyph, bsDisabled, 16, 16, "", 0, 0);
    EXPECT_EQ(At(*face, 3, 3), Pixel(clBtnHighlight));  // was white
    EXPECT_EQ(At(*face, 8, 8), Pixel(clBtnShadow));     // was grey
    EXPECT_EQ(At(*face, 0, 0), Pixel(clYellow));         // the transparent olive
}

TEST(ThemedGlyph, OneCellIsEmbossedForTheDisabledLook) {
    auto glyph = NewThemedGlyph();
    auto bitmap = FilledBitmap(16, 16, clOlive);
    bitmap->Canvas()->Brush().SetColor(clBlack);
    bitmap->Canvas()->FillRect(Rect(4, 4, 8, 8));
    glyph->SetGlyph(bitmap.get());
    auto face = Drawn(*glyph, bsDisabled, 16, 16, "", 0, 0);
    EXPECT_EQ(At(*face, 4, 4), Pixel(clBtnShadow));
    EXPECT_EQ(At(*face, 8, 8), Pixel(clBtnHighlight));  // moved by (1, 1)
    EXPECT_EQ(At(*face, 12, 12), Pixel(clYellow));
}

TEST(ThemedGlyph, ListsAreSharedPerCellSizeAndApartFromTheSpeedButtons) {
    EXPECT_EQ(GlyphCache(), nullptr);
    {
        auto first = NewThemedGlyph(), second = NewThemedGlyph(), other = NewThemedGlyph();
        TOwned<TExButtonGlyph> speed(New<TExButtonGlyph>());
        ASSERT_NE(GlyphCache(), nullptr);
        first->SetGlyph(ThemedCells({clRed, clBlue}).get());
        second->SetGlyph(ThemedCells({clGreen}).get());
        other->SetGlyph(ThemedCells({clRed}, 20).get());
        speed->SetGlyph(ThemedCells({clRed}).get());
        EXPECT_EQ(first->BuildStateImage(bsUp), 0);
        EXPECT_EQ(first->BuildStateImage(bsDisabled), 1);
        EXPECT_EQ(second->BuildStateImage(bsUp), 2);
        other->BuildStateImage(bsUp);
        speed->BuildStateImage(rgsUp);
        EXPECT_EQ(first->GlyphList(), second->GlyphList());
        EXPECT_NE(first->GlyphList(), other->GlyphList());
        EXPECT_EQ(GlyphCache()->ListCount(), 2);
        EXPECT_NE(static_cast<TObject*>(first->GlyphList()), static_cast<TObject*>(speed->GlyphList()));

        // A freed slot is taken again; the list keeps its images.
        first->ReleaseImages();
        EXPECT_EQ(second->GlyphList()->UsedCount(), 1);
        EXPECT_EQ(second->GlyphList()->Count(), 3);
        first->SetGlyph(ThemedCells({clBlue}).get());
        EXPECT_EQ(first->BuildStateImage(bsUp), 0);
        first->ReleaseImages();
        second->ReleaseImages();
        EXPECT_EQ(GlyphCache()->ListCount(), 1);  // the 16-pixel list went with its last image
    }
    EXPECT_EQ(GlyphCache(), nullptr);
}

TEST(ThemedGlyph, AutomaticMarginAndSpacingShareTheFreeWidth) {
    auto glyph = NewThemedGlyph();
    glyph->SetGlyph(ThemedCells({clRed}).get());
    auto face = FilledBitmap(100, 30, clWhite);
    face->Canvas()->Font().SetName("MS Sans Serif");
    const std::string caption = "Caption";
    const int textWidth = face->Canvas()->TextWidth(caption);
    const TRect placed = glyph->Draw(*face->Canvas(), Rect(0, 0, 100, 30), caption, blGlyphLeft, -1, -1, bsUp, 0);
    const int gap = (100 - (16 + textWidth)) / 3;
    EXPECT_EQ(LeftmostOf(*face, Pixel(clRed)), gap + 2);  // the cell's olive frame is 2 wide
    EXPECT_EQ(placed.left, gap + 16 + gap);
    EXPECT_EQ(RectWidth(placed), textWidth);

    // Without a caption there is no spacing: the glyph alone is centred.
    auto alone = Drawn(*glyph, bsUp, 100, 30, "", -1, 4);
    EXPECT_EQ(LeftmostOf(*alone, Pixel(clRed)), (100 - 16 + 1) / 2 + 2);
    // Right-to-left reading puts a left glyph on the right.
    auto mirrored = FilledBitmap(100, 30, clWhite);
    glyph->Draw(*mirrored->Canvas(), Rect(0, 0, 100, 30), "", blGlyphLeft, 5, 0, bsUp, DT_RIGHT);
    EXPECT_EQ(LeftmostOf(*mirrored, Pixel(clRed)), 100 - 5 - 16 + 2);
}

TEST(ThemedGlyph, ADisabledCaptionIsDrawnInHighlightThenShadow) {
    auto glyph = NewThemedGlyph();
    auto face = FilledBitmap(100, 30, clYellow);
    face->Canvas()->Font().SetName("MS Sans Serif");  // a bitmap font: no smoothing
    glyph->Draw(*face->Canvas(), Rect(0, 0, 100, 30), "Hill", blGlyphLeft, -1, -1, bsDisabled, 0);
    int shadows = 0, highlightsBelowRight = 0;
    for (int y = 0; y + 1 < 30; ++y)
        for (int x = 0; x + 1 < 100; ++x) {
            if (At(*face, x, y) != Pixel(clBtnShadow)) continue;
            ++shadows;
            const uint32_t beside = At(*face, x + 1, y + 1);
            highlightsBelowRight += beside == Pixel(clBtnHighlight) || beside == Pixel(clBtnShadow);
        }
    EXPECT_GT(shadows, 10);
    EXPECT_EQ(highlightsBelowRight, shadows);
}

}  // namespace
