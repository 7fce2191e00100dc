#include "classlib/dialogs/file_dialogs.h"

#include <gtest/gtest.h>

#include <commdlg.h>

#include <cstring>

#include "classlib/core/current_dir_keeper.h"
#include "classlib/core/fileutils.h"
#include "classlib/core/scratch_folder_test.h"
#include "classlib/dialogs/dialog_test_support.h"
#include "classlib/dialogs/file_dialog_text.h"

namespace {

using namespace std::string_literals;

std::vector<std::string> Lines(const TStrings* strings) {
    std::vector<std::string> lines;
    for (int i = 0; i < strings->Count(); ++i) lines.push_back(strings->Strings(i));
    return lines;
}

TEST(FileDialogText, FilterAndDefaultExtension) {
    EXPECT_EQ(PlatformFilter("Pictures|*.bmp;*.jpg|"), "Pictures\0*.bmp;*.jpg\0\0\0"s);
    EXPECT_EQ(PlatformFilter(""), "");
    EXPECT_EQ(PlatformDefaultExt(".qmf"), "qmf");
    EXPECT_EQ(PlatformDefaultExt("."), "");
}

TEST(FileDialogText, SelectedFilesOfEveryAnswerFormStayInsideTheBuffer) {
    using Names = std::vector<std::string>;
    auto files = [](const std::string& buffer, bool multi, bool explorer = true, size_t size = std::string::npos) {
        return SelectedFiles(buffer.data(), std::min(size, buffer.size()), multi, explorer);
    };
    EXPECT_EQ(files("C:\\Menus\0a.qmf\0b.qmf\0\0"s, true), (Names{"C:\\Menus\\a.qmf", "C:\\Menus\\b.qmf"}));
    EXPECT_EQ(files("C:\\\0a.qmf\0D:\\b.qmf\0\0"s, true), (Names{"C:\\a.qmf", "D:\\b.qmf"}));
    EXPECT_EQ(files("C:\\Menus\\a.qmf\0\0"s, true), Names{"C:\\Menus\\a.qmf"});
    EXPECT_EQ(files("C:\\Menus\0a.qmf\0\0"s, false), Names{"C:\\Menus"});
    EXPECT_EQ(files("C:\\MENUS A.QMF B.QMF\0"s, true, false), (Names{"C:\\MENUS\\A.QMF", "C:\\MENUS\\B.QMF"}));
    EXPECT_EQ(files(std::string(4, '\0'), true), Names{});
    // Without any terminating zero.
    EXPECT_EQ(files("C:\\x\0abc"s, true), Names{"C:\\x\\abc"});
    EXPECT_EQ(files("C:\\x\0abc"s, false, true, 3), Names{"C:\\"});
}

TEST(OpenDialog, ExecuteHandsOverTheSettingsAndTakesTheAnswer) {
    TScriptedInteraction seam;
    auto form = ShowActiveForm();
    auto dialog = MakeOwned<TOpenDialog>(nullptr);
    dialog->SetFilter("Menus|*.qmf|Pictures|*.bmp;*.jpg");
    dialog->SetFilterIndex(1);
    dialog->SetDefaultExt("qmf");
    dialog->SetInitialDir("C:\\Start");
    dialog->SetTitle("Open menu");
    dialog->SetFileName("start.qmf");
    dialog->SetOptions(dialog->Options() + ofFileMustExist);

    OPENFILENAMEA seen{};
    std::string filter, file, defaultExt, initialDir, title;
    seam.DialogAnswers.push_back([&](TCommonDialogKind, void* data) {
        auto* ofn = static_cast<OPENFILENAMEA*>(data);
        seen = *ofn;
        filter = ZeroSeparated(ofn->lpstrFilter);
        file = ofn->lpstrFile;
        defaultExt = ofn->lpstrDefExt;
        initialDir = ofn->lpstrInitialDir;
        title = ofn->lpstrTitle;
        strcpy(ofn->lpstrFile, "C:\\Pictures\\photo.jpg");
        ofn->nFilterIndex = 2;
        ofn->Flags |= OFN_EXTENSIONDIFFERENT | OFN_READONLY;
        return true;
    });
    ASSERT_TRUE(dialog->Execute());
    ASSERT_EQ(seam.Dialogs, std::vector<TCommonDialogKind>{cdkOpen});
    EXPECT_EQ(seen.lStructSize, sizeof(OPENFILENAMEA));
    EXPECT_EQ(seen.hwndOwner, form->Handle());
    EXPECT_EQ(filter, "Menus\0*.qmf\0Pictures\0*.bmp;*.jpg\0\0"s);
    EXPECT_EQ(seen.nFilterIndex, 1u);
    EXPECT_EQ(defaultExt, "qmf");
    EXPECT_EQ(initialDir, "C:\\Start");
    EXPECT_EQ(title, "Open menu");
    EXPECT_EQ(file, "start.qmf");
    EXPECT_GE(seen.nMaxFile, static_cast<DWORD>(MAX_PATH));
    EXPECT_EQ(seen.Flags, static_cast<DWORD>(OFN_EXPLORER | OFN_HIDEREADONLY | OFN_ENABLESIZING | OFN_FILEMUSTEXIST));

    EXPECT_EQ(dialog->FileName(), "C:\\Pictures\\photo.jpg");
    EXPECT_EQ(Lines(dialog->Files()), std::vector<std::string>{"C:\\Pictures\\photo.jpg"});
    EXPECT_EQ(dialog->FilterIndex(), 2);
    EXPECT_TRUE(dialog->Options().Contains(ofExtensionDifferent));
    EXPECT_TRUE(dialog->Options().Contains(ofReadOnly));

    // The next answer clears the flags again.
    seam.DialogAnswers.push_back([](TCommonDialogKind, void* data) {
        static_cast<OPENFILENAMEA*>(data)->Flags &= ~static_cast<DWORD>(OFN_EXTENSIONDIFFERENT | OFN_READONLY);
        return true;
    });
    ASSERT_TRUE(dialog->Execute());
    EXPECT_FALSE(dialog->Options().Contains(ofExtensionDifferent));
    EXPECT_FALSE(dialog->Options().Contains(ofReadOnly));
}

TEST(OpenDialog, CancelKeepsEveryValue) {
    TScriptedInteraction seam;
    auto dialog = MakeOwned<TOpenDialog>(nullptr);
    dialog->SetFileName("keep.qmf");
    dialog->SetFilter("A|*.a|B|*.b");
    dialog->SetFilterIndex(2);
    dialog->Files()->Add("C:\\earlier.qmf");
    seam.DialogAnswers.push_back([](TCommonDialogKind, void* data) {
        auto* ofn = static_cast<OPENFILENAMEA*>(data);
        strcpy(ofn->lpstrFile, "C:\\other.qmf");
        ofn->nFilterIndex = 1;
        ofn->Flags |= OFN_READONLY;
        return false;
    });
    EXPECT_FALSE(dialog->Execute());
    EXPECT_EQ(dialog->FileName(), "keep.qmf");
    EXPECT_EQ(dialog->FilterIndex(), 2);
    EXPECT_EQ(Lines(dialog->Files()), std::vector<std::string>{"C:\\earlier.qmf"});
    EXPECT_EQ(dialog->Options(), DefaultOpenOptions);
}

TEST(OpenDialog, MultiSelectionFillsFilesFromALargeBuffer) {
    TScriptedInteraction seam;
    auto dialog = MakeOwned<TOpenDialog>(nullptr);
    dialog->SetOptions(dialog->Options() + ofAllowMultiSelect);
    DWORD room = 0;
    seam.DialogAnswers.push_back([&](TCommonDialogKind, void* data) {
        auto* ofn = static_cast<OPENFILENAMEA*>(data);
        room = ofn->nMaxFile;
        const std::string answer = "C:\\Menus\0one.qmf\0two.qmf\0\0"s;
        memcpy(ofn->lpstrFile, answer.data(), answer.size());
        return true;
    });
    ASSERT_TRUE(dialog->Execute());
    EXPECT_GE(room, 32u * 1024u);
    EXPECT_EQ(Lines(dialog->Files()), (std::vector<std::string>{"C:\\Menus\\one.qmf", "C:\\Menus\\two.qmf"}));
    EXPECT_EQ(dialog->FileName(), "C:\\Menus\\one.qmf");
}

TEST(OpenDialog, LongNamesFitAndAnAnswerFillingTheBufferStaysInside) {
    TScriptedInteraction seam;
    auto dialog = MakeOwned<TOpenDialog>(nullptr);
    const std::string longName = "C:\\" + std::string(40000, 'n') + ".qmf";
    dialog->SetFileName(longName);
    std::string handed;
    seam.DialogAnswers.push_back([&](TCommonDialogKind, void* data) {
        auto* ofn = static_cast<OPENFILENAMEA*>(data);
        handed = ofn->lpstrFile;
        // Everything the dialog may write, without a terminating zero.
        memset(ofn->lpstrFile, 'x', ofn->nMaxFile);
        return true;
    });
    ASSERT_TRUE(dialog->Execute());
    EXPECT_EQ(handed, longName);
    EXPECT_EQ(dialog->FileName(), std::string(longName.size() + 1, 'x'));
}

TEST(OpenDialog, AFailingDialogRaisesInsteadOfPassingForCancel) {
    // The real seam: the system refuses a structure of the wrong size
    // without showing anything and says why.
    TDialogWatchdog watchdog;
    TInteraction real;
    std::vector<char> buffer(MAX_PATH, '\0');
    OPENFILENAMEA broken{};
    broken.lStructSize = 3;
    broken.lpstrFile = buffer.data();
    broken.nMaxFile = MAX_PATH;
    EXPECT_THROW(real.ExecuteDialog(cdkOpen, &broken), EOSError);
    EXPECT_FALSE(TDialogWatchdog::Fired());

    TScriptedInteraction seam;
    auto dialog = MakeOwned<TOpenDialog>(nullptr);
    dialog->SetFileName("keep.qmf");
    seam.DialogAnswers.push_back([](TCommonDialogKind, void* data) -> bool {
        strcpy(static_cast<OPENFILENAMEA*>(data)->lpstrFile, "C:\\other.qmf");
        throw EOSError("The dialog could not be shown");
    });
    EXPECT_THROW(dialog->Execute(), EOSError);
    EXPECT_EQ(dialog->FileName(), "keep.qmf");
}

TEST(OpenDialog, EventsFrameTheDialogWhileOtherWindowsAreDisabled) {
    TScriptedInteraction seam;
    auto form = ShowActiveForm();
    auto other = MakeOwned<TForm>(nullptr);
    other->SetBounds(500, 120, 200, 100);
    other->Show();
    DrainMessages();
    Screen->SetActiveForm(form.get());

    auto dialog = MakeOwned<TOpenDialog>(nullptr);
    std::vector<std::string> events;
    dialog->OnShow = [&](TObject* sender) {
        EXPECT_EQ(sender, dialog.get());
        events.push_back("show");
    };
    dialog->OnClose = [&](TObject*) { events.push_back("close"); };
    seam.DialogAnswers.push_back([&](TCommonDialogKind, void*) {
        events.push_back("dialog");
        EXPECT_FALSE(IsWindowEnabled(other->Handle()));
        EXPECT_TRUE(IsWindowEnabled(form->Handle()));  // the owner; the dialog disables it itself
        return false;
    });
    EXPECT_FALSE(dialog->Execute());
    EXPECT_EQ(events, (std::vector<std::string>{"show", "dialog", "close"}));
    EXPECT_TRUE(IsWindowEnabled(other->Handle()));

    // Also when the dialog throws.
    seam.DialogAnswers.push_back([](TCommonDialogKind, void*) -> bool { throw Exception("broken"); });
    EXPECT_THROW(dialog->Execute(), Exception);
    EXPECT_TRUE(IsWindowEnabled(other->Handle()));
}

TEST(OpenDialog, BrowsingElsewhereLeavesTheCurrentFolderAsItWas) {
    TScriptedInteraction seam;
    TScratchFolder scratch;
    ASSERT_TRUE(CreateDir(scratch.Path("elsewhere")));
    TCurrentDirKeeper restoreAfterTheTest;
    const std::string start = GetCurrentDir();
    // The system's dialogs make each folder the user opens the current one.
    auto browseElsewhere = [&](bool confirm) {
        return [&, confirm](TCommonDialogKind, void* data) {
            EXPECT_TRUE(SetCurrentDir(scratch.Path("elsewhere")));
            strcpy(static_cast<OPENFILENAMEA*>(data)->lpstrFile, scratch.Path("elsewhere\\menu.qmf").c_str());
            return confirm;
        };
    };
    auto open = MakeOwned<TOpenDialog>(nullptr);
    auto save = MakeOwned<TSaveDialog>(nullptr);
    for (TOpenDialog* dialog : {open.get(), static_cast<TOpenDialog*>(save.get())}) {
        for (bool confirm : {false, true}) {
            seam.DialogAnswers.push_back(browseElsewhere(confirm));
            EXPECT_EQ(dialog->Execute(), confirm);
            EXPECT_EQ(GetCurrentDir(), start) << dialog->ClassName() << (confirm ? " confirmed" : " cancelled");
        }
        EXPECT_EQ(dialog->FileName(), scratch.Path("elsewhere\\menu.qmf"));
    }
    EXPECT_EQ(seam.Dialogs, (std::vector<TCommonDialogKind>{cdkOpen, cdkOpen, cdkSave, cdkSave}));
}

TEST(SaveDialog, RunsTheSaveDialogWithItsOptions) {
    TScriptedInteraction seam;
    auto dialog = MakeOwned<TSaveDialog>(nullptr);
    dialog->SetOptions(TOpenOptions{ofOverwritePrompt, ofOldStyleDialog, ofNoChangeDir, ofPathMustExist});
    OPENFILENAMEA seen{};
    seam.DialogAnswers.push_back([&](TCommonDialogKind, void* data) {
        auto* ofn = static_cast<OPENFILENAMEA*>(data);
        seen = *ofn;
        strcpy(ofn->lpstrFile, "C:\\saved.qmf");
        return true;
    });
    ASSERT_TRUE(dialog->Execute());
    EXPECT_EQ(seam.Dialogs, std::vector<TCommonDialogKind>{cdkSave});
    EXPECT_EQ(seen.Flags, static_cast<DWORD>(OFN_OVERWRITEPROMPT | OFN_NOCHANGEDIR | OFN_PATHMUSTEXIST));
    // Settings left empty are left to the system.
    EXPECT_EQ(seen.lpstrFilter, nullptr);
    EXPECT_EQ(seen.lpstrDefExt, nullptr);
    EXPECT_EQ(seen.lpstrInitialDir, nullptr);
    EXPECT_EQ(seen.lpstrTitle, nullptr);
    EXPECT_EQ(dialog->FileName(), "C:\\saved.qmf");
}

}  // namespace
