// The real path: system dialogs shown through the real interaction seam,
// driven by key presses while their own modal loops run.
#include <gtest/gtest.h>

#include <memory>
#include <set>

#include "classlib/core/current_dir_keeper.h"
#include "classlib/core/fileutils.h"
#include "classlib/core/scratch_folder_test.h"
#include "classlib/dialogs/dialog_test_support.h"
#include "classlib/dialogs/file_dialogs.h"
#include "classlib/dialogs/font_dialog.h"
#include "classlib/gui/scoped_win32.h"

namespace {

// Drives a real system dialog from a timer while its own modal loop runs:
// once it is up and painted, takes a picture of it and presses the key.
struct TRealDialogDriver {
    static inline WORD key = VK_ESCAPE;
    static inline HWND dialog = nullptr;
    static inline HWND owner = nullptr;
    static inline int ticks = 0;
    static inline bool pressed = false;
    static inline bool forced = false;
    static inline std::unique_ptr<TWindowPixels> picture;

    static void Reset(WORD keyToPress) {
        key = keyToPress;
        dialog = owner = nullptr;
        ticks = 0;
        pressed = forced = false;
        picture.reset();
    }

    static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD) {
        ++ticks;
        HWND found = FindThreadDialog();
        if (!found) return;
        if (!dialog) {
            dialog = found;
            owner = GetWindow(found, GW_OWNER);
            return;  // let it paint first
        }
        if (!pressed) {
            RedrawWindow(found, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
            picture = std::make_unique<TWindowPixels>(found);
            SetForegroundWindow(found);
            INPUT keys[2] = {};
            for (INPUT& input : keys) {
                input.type = INPUT_KEYBOARD;
                input.ki.wVk = key;
                input.ki.wScan = static_cast<WORD>(MapVirtualKeyA(key, 0));
            }
            keys[1].ki.dwFlags = KEYEVENTF_KEYUP;
            SendInput(2, keys, sizeof(INPUT));
            pressed = true;
        } else if (ticks > 300) {
            forced = true;  // the key did not close it; end the test anyway
            PostMessageA(found, WM_COMMAND, IDCANCEL, 0);
        }
    }

    // Runs the dialog with the driver's timer; returns Execute's result.
    static bool Run(TCommonDialog& common, WORD keyToPress) {
        Reset(keyToPress);
        UINT_PTR timer = SetTimer(nullptr, 0, 20, &Tick);
        bool confirmed = common.Execute();
        KillTimer(nullptr, timer);
        return confirmed;
    }

    static void ExpectClosedByTheKey(const std::string& pictureName) {
        ASSERT_NE(dialog, nullptr) << "no dialog appeared";
        EXPECT_TRUE(pressed);
        EXPECT_FALSE(forced) << "the key did not close the dialog";
        EXPECT_FALSE(IsWindow(dialog));
        ASSERT_NE(picture, nullptr);
        picture->SavePng(ScreenshotFolder() + pictureName);
        EXPECT_GT(picture->Width(), 200);
        EXPECT_GT(picture->Height(), 150);
        std::set<COLORREF> colors;
        for (int y = 0; y < picture->Height(); y += 3)
            for (int x = 0; x < picture->Width(); x += 3) colors.insert(picture->At(x, y));
        EXPECT_GT(colors.size(), 4u) << "the dialog was painted";
    }
};

TEST(RealDialogs, AnOpenDialogShowsAndEscapeCancelsIt) {
    auto form = ShowActiveForm();
    auto dialog = MakeOwned<TOpenDialog>(nullptr);
    dialog->SetFilter("Menus (*.qmf)|*.qmf|All files|*.*");
    dialog->SetTitle("Open a menu");
    dialog->SetFileName("keep.qmf");

    EXPECT_FALSE(TRealDialogDriver::Run(*dialog, VK_ESCAPE));
    TRealDialogDriver::ExpectClosedByTheKey("dialogs_open_dialog.png");
    EXPECT_EQ(TRealDialogDriver::owner, form->Handle());
    EXPECT_EQ(dialog->FileName(), "keep.qmf");
    EXPECT_TRUE(IsWindowEnabled(form->Handle()));
}

TEST(RealDialogs, AnOpenDialogShownElsewhereLeavesTheCurrentFolder) {
    TScratchFolder scratch;
    ASSERT_TRUE(CreateDir(scratch.Path("elsewhere")));
    TCurrentDirKeeper restoreAfterTheTest;
    const std::string start = GetCurrentDir();
    auto form = ShowActiveForm();
    auto dialog = MakeOwned<TOpenDialog>(nullptr);
    dialog->SetInitialDir(scratch.Path("elsewhere"));

    EXPECT_FALSE(TRealDialogDriver::Run(*dialog, VK_ESCAPE));
    TRealDialogDriver::ExpectClosedByTheKey("dialogs_open_dialog_elsewhere.png");
    EXPECT_EQ(GetCurrentDir(), start);
}

int CALLBACK NoteFace(const LOGFONTA* font, const TEXTMETRICA*, DWORD, LPARAM found) {
    *reinterpret_cast<bool*>(found) = font != nullptr;
    return 0;
}

// A TrueType face with a bold style installed here (fonts differ by system).
std::string InstalledFace() {
    for (const char* face : {"Tahoma", "Arial", "DejaVu Sans", "Liberation Sans"}) {
        LOGFONTA wanted{};
        wanted.lfCharSet = DEFAULT_CHARSET;
        strcpy(wanted.lfFaceName, face);
        bool found = false;
        EnumFontFamiliesExA(TWindowDC(nullptr), &wanted, NoteFace, reinterpret_cast<LPARAM>(&found), 0);
        if (found) return face;
    }
    return {};
}

TEST(RealDialogs, AFontDialogConfirmedAsShownKeepsTheFont) {
    const std::string face = InstalledFace();
    if (face.empty()) GTEST_SKIP() << "no known TrueType face installed";
    auto dialog = MakeOwned<TFontDialog>(nullptr);
    dialog->Font()->SetName(face);
    dialog->Font()->SetSize(12);
    dialog->Font()->SetStyle({fsBold});
    dialog->Font()->SetColor(clWindowText);

    EXPECT_TRUE(TRealDialogDriver::Run(*dialog, VK_RETURN));
    TRealDialogDriver::ExpectClosedByTheKey("dialogs_font_dialog.png");
    EXPECT_EQ(dialog->Font()->Name(), face);
    EXPECT_EQ(dialog->Font()->Size(), 12);
    EXPECT_EQ(dialog->Font()->Style(), TFontStyles{fsBold});
    EXPECT_EQ(dialog->Font()->Color(), clWindowText);
}

}  // namespace
