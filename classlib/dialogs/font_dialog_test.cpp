#include "classlib/dialogs/font_dialog.h"

#include <gtest/gtest.h>

#include <commdlg.h>

#include <cstring>

#include "classlib/dialogs/dialog_test_support.h"

namespace {

// What the font dialog was handed, copied while it was up.
struct TSeenFont {
    CHOOSEFONTA cf{};
    LOGFONTA lf{};
};

std::function<bool(TCommonDialogKind, void*)> Record(TSeenFont& seen, bool confirm = false) {
    return [&seen, confirm](TCommonDialogKind, void* data) {
        auto* cf = static_cast<CHOOSEFONTA*>(data);
        seen.cf = *cf;
        seen.lf = *cf->lpLogFont;
        return confirm;
    };
}

TEST(FontDialog, RoundTripThroughTheLogicalFontAt96Dpi) {
    ASSERT_EQ(Screen->PixelsPerInch(), 96) << "the heights below are those of 96 pixels per inch";
    TScriptedInteraction seam;
    auto dialog = MakeOwned<TFontDialog>(nullptr);
    TFont* font = dialog->Font();
    font->SetName("Arial");
    font->SetSize(12);
    font->SetStyle({fsBold});
    font->SetColor(clNavy);
    int changes = 0;
    font->OnChange = [&](TObject*) { ++changes; };

    TSeenFont seen;
    seam.DialogAnswers.push_back([&](TCommonDialogKind kind, void* data) {
        Record(seen)(kind, data);
        auto* cf = static_cast<CHOOSEFONTA*>(data);
        LOGFONTA& lf = *cf->lpLogFont;
        strcpy(lf.lfFaceName, "Courier New");
        lf.lfHeight = -21;
        lf.lfWeight = FW_NORMAL;
        lf.lfItalic = TRUE;
        lf.lfUnderline = TRUE;
        lf.lfCharSet = EASTEUROPE_CHARSET;
        lf.lfPitchAndFamily = FIXED_PITCH | FF_MODERN;
        cf->rgbColors = RGB(255, 0, 0);
        return true;
    });
    ASSERT_TRUE(dialog->Execute());
    EXPECT_EQ(seam.Dialogs, std::vector<TCommonDialogKind>{cdkFont});
    EXPECT_EQ(seen.cf.lStructSize, sizeof(CHOOSEFONTA));
    EXPECT_EQ(seen.cf.Flags, static_cast<DWORD>(CF_INITTOLOGFONTSTRUCT | CF_SCREENFONTS | CF_EFFECTS));
    EXPECT_EQ(seen.cf.rgbColors, RGB(0, 0, 0x80));
    EXPECT_STREQ(seen.lf.lfFaceName, "Arial");
    EXPECT_EQ(seen.lf.lfHeight, -16);  // 12 points
    EXPECT_EQ(seen.lf.lfWeight, FW_BOLD);
    EXPECT_FALSE(seen.lf.lfItalic);

    EXPECT_EQ(changes, 1);
    EXPECT_EQ(font->Name(), "Courier New");
    EXPECT_EQ(font->Height(), -21);
    EXPECT_EQ(font->Size(), 16);
    EXPECT_EQ(font->Style(), (TFontStyles{fsItalic, fsUnderline}));
    EXPECT_EQ(font->Charset(), EASTEUROPE_CHARSET);
    EXPECT_EQ(font->Pitch(), fpFixed);
    EXPECT_EQ(font->Color(), clRed);
}

TEST(FontDialog, AFontOfOtherPixelsPerInchIsShownAndTakenAtTheScreens) {
    TScriptedInteraction seam;
    auto dialog = MakeOwned<TFontDialog>(nullptr);
    TFont* font = dialog->Font();
    font->SetPixelsPerInch(Screen->PixelsPerInch() * 2);
    font->SetSize(10);
    TSeenFont seen;
    seam.DialogAnswers.push_back([&](TCommonDialogKind kind, void* data) {
        Record(seen)(kind, data);
        static_cast<CHOOSEFONTA*>(data)->lpLogFont->lfHeight = -MulDiv(14, Screen->PixelsPerInch(), 72);
        return true;
    });
    ASSERT_TRUE(dialog->Execute());
    EXPECT_EQ(seen.lf.lfHeight, -MulDiv(10, Screen->PixelsPerInch(), 72));
    EXPECT_EQ(font->Size(), 14);
    EXPECT_EQ(font->PixelsPerInch(), Screen->PixelsPerInch() * 2);
}

TEST(FontDialog, CancelAndUnchangedValuesKeepTheFont) {
    TScriptedInteraction seam;
    auto dialog = MakeOwned<TFontDialog>(nullptr);
    TFont* font = dialog->Font();
    font->SetName("Arial");
    font->SetColor(clWindowText);
    int changes = 0;
    font->OnChange = [&](TObject*) { ++changes; };
    seam.DialogAnswers.push_back([](TCommonDialogKind, void* data) {
        auto* cf = static_cast<CHOOSEFONTA*>(data);
        strcpy(cf->lpLogFont->lfFaceName, "Courier New");
        cf->rgbColors = RGB(1, 2, 3);
        return false;
    });
    EXPECT_FALSE(dialog->Execute());
    EXPECT_EQ(changes, 0);
    EXPECT_EQ(font->Name(), "Arial");

    // Confirmed without a change: the system colour stays a system colour.
    seam.DialogAnswers.push_back([](TCommonDialogKind, void*) { return true; });
    EXPECT_TRUE(dialog->Execute());
    EXPECT_EQ(font->Color(), clWindowText);
    EXPECT_EQ(font->Name(), "Arial");

    // Without fdEffects the dialog offers no colour, so none is taken.
    dialog->SetOptions({});
    seam.DialogAnswers.push_back([](TCommonDialogKind, void* data) {
        static_cast<CHOOSEFONTA*>(data)->rgbColors = RGB(1, 2, 3);
        return true;
    });
    EXPECT_TRUE(dialog->Execute());
    EXPECT_EQ(font->Color(), clWindowText);
}

TEST(FontDialog, SizeLimitsAndOptions) {
    TScriptedInteraction seam;
    auto dialog = MakeOwned<TFontDialog>(nullptr);
    TSeenFont seen;
    auto run = [&](int32_t minSize, int32_t maxSize) {
        dialog->SetMinFontSize(minSize);
        dialog->SetMaxFontSize(maxSize);
        seam.DialogAnswers.push_back(Record(seen));
        dialog->Execute();
    };
    dialog->SetOptions({fdLimitSize, fdTrueTypeOnly, fdNoStyleSel});
    run(8, 24);
    EXPECT_EQ(seen.cf.Flags,
              static_cast<DWORD>(CF_INITTOLOGFONTSTRUCT | CF_SCREENFONTS | CF_LIMITSIZE | CF_TTONLY | CF_NOSTYLESEL));
    EXPECT_EQ(seen.cf.nSizeMin, 8);
    EXPECT_EQ(seen.cf.nSizeMax, 24);
    // No maximum: no upper limit rather than no size at all.
    run(8, 0);
    EXPECT_TRUE(seen.cf.Flags & CF_LIMITSIZE);
    EXPECT_GT(seen.cf.nSizeMax, 1000);
    // Limits that exclude every size are dropped.
    run(30, 20);
    EXPECT_FALSE(seen.cf.Flags & CF_LIMITSIZE);
}

TEST(FontDialog, PrinterFontsNeedThePrinterOrFallBackToTheScreens) {
    TScriptedInteraction seam;
    auto dialog = MakeOwned<TFontDialog>(nullptr);
    dialog->SetDevice(fdBoth);
    dialog->SetOptions({fdWysiwyg, fdScalableOnly});
    TSeenFont seen;
    seam.DialogAnswers.push_back(Record(seen));
    dialog->Execute();
    if (seen.cf.hDC) {
        EXPECT_EQ(seen.cf.Flags & CF_BOTH, static_cast<DWORD>(CF_BOTH));
        EXPECT_TRUE(seen.cf.Flags & CF_WYSIWYG);
        EXPECT_EQ(GetObjectType(seen.cf.hDC), 0u) << "the printer's context is released";
    } else {
        EXPECT_EQ(seen.cf.Flags & CF_BOTH, static_cast<DWORD>(CF_SCREENFONTS));
        EXPECT_FALSE(seen.cf.Flags & CF_WYSIWYG);
    }
}

}  // namespace
