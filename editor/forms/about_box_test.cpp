#include "editor/forms/about_box.h"

#include <gtest/gtest.h>

#include "classlib/gui/application.h"
#include "player/classes_registration.h"
#include "classlib/testing/gui_testing.h"
#include "classlib/stdctrls/stdctrls.h"

TEST(AboutBox, ShowsTheYearWhereXXXXStood) {
    EXPECT_EQ(InsertYear("Copyright 2003-XXXX Vortel XXXX", 2031), "Copyright 2003-2031 Vortel XXXX");
    EXPECT_EQ(InsertYear("no placeholder", 2031), "no placeholder");
    RegisterProgramClasses();
    auto saved = TAboutBox::CurrentYear;
    TAboutBox::CurrentYear = [] { return 2031; };
    TOwned<TAboutBox> about(New<TAboutBox>(Application));
    TAboutBox::CurrentYear = saved;
    EXPECT_EQ(about->YearLabel->Caption(), "Copyright (C) 2003-2031 Vortel");

    TScriptedInteraction seam;
    about->ThemedBitBtn1Click(nullptr);
    ASSERT_EQ(seam.ShellCalls.size(), 1u);
    EXPECT_EQ(seam.ShellCalls[0].File, MakerWebAddress);
    about->Show();
    PumpMessages(150);
    TWindowPixels(about->Handle(), true).SavePng(ScreenshotFolder() + "about_box.png");
}
