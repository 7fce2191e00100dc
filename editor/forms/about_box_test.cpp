#include "editor/forms/about_box.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>

#include "classlib/gui/application.h"
#include "controls/themed_bitbtn.h"
#include "editor/forms/editor_classes.h"
#include "classlib/testing/caption_ink.h"
#include "classlib/testing/gui_testing.h"
#include "classlib/stdctrls/buttons.h"
#include "classlib/stdctrls/stdctrls.h"

TEST(AboutBox, ShowsTheYearWhereXXXXStood) {
    EXPECT_EQ(InsertYear("Copyright 2003-XXXX Vortel XXXX", 2031), "Copyright 2003-2031 Vortel XXXX");
    EXPECT_EQ(InsertYear("no placeholder", 2031), "no placeholder");
    RegisterEditorClasses();
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
    DrainMessages();
    TWindowPixels pixels(about->Handle(), true);
    pixels.SavePng(ScreenshotFolder() + "about_box.png");
    // The maker's texts and the web address show whole.
    const std::pair<TControl*, std::string> shown[] = {
        {about->ProductName, "Vortel Quillory 1.1"},
        {about->YearLabel, "Copyright (C) 2003-2031 Vortel"},
        {about->Label3, "Vortel - software for CD publishers"},
        {about->ThemedBitBtn1, "www.vortel.example"},
        {about->BitBtn1, "OK"}};
    for (const auto& [control, caption] : shown)
        EXPECT_TRUE(ShowsWholeCaption(pixels, about->Handle(), control, caption, true));
}

TEST(AboutBox, EnterClosesItWithoutOpeningTheWebSite) {
    RegisterEditorClasses();
    TOwned<TAboutBox> about(New<TAboutBox>(Application));
    TScriptedInteraction seam;
    // Once the box is up, Enter goes to whatever has the focus.
    bool pressed = false;
    about->OnShow = [&](TObject*) { PostMessageA(about->Handle(), WM_USER + 9, 0, 0); };
    Application->OnMessage = [&](MSG& msg, bool& handled) {
        if (msg.message != WM_USER + 9) return;
        handled = true;
        pressed = true;
        EXPECT_EQ(GetFocus(), about->BitBtn1->Handle()) << "the focus starts on the close button";
        DrainMessages();
        TWindowPixels pixels(about->Handle());
        pixels.SavePng(ScreenshotFolder() + "editor_about_box.png");
        EXPECT_TRUE(ShowsWholeCaption(pixels, about->Handle(), about->BitBtn1, "OK")) << "the focused close button";
        PressKey(VK_RETURN);
        // A box that stays open fails the test instead of waiting forever.
        if (!PumpUntil([&] { return about->ModalResult() != mrNone; })) about->SetModalResult(mrCancel);
    };
    TModalResult result = about->ShowModal();
    Application->OnMessage = nullptr;
    EXPECT_TRUE(pressed);
    EXPECT_EQ(result, mrOk);
    EXPECT_FALSE(about->Visible());
    EXPECT_TRUE(seam.ShellCalls.empty()) << "no web browser started";
}
