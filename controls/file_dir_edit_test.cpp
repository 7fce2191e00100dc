#include "controls/file_dir_edit.h"

#include <gtest/gtest.h>

#include <commdlg.h>
#include <shellapi.h>
#include <shlobj.h>

#include <cstring>

#include "classlib/core/current_dir_keeper.h"
#include "classlib/core/filer.h"
#include "classlib/core/fileutils.h"
#include "classlib/core/paths.h"
#include "classlib/core/resstrings.h"
#include "classlib/core/scratch_folder_test.h"
#include "classlib/stdctrls/test_support.h"
#include "classlib/testing/window_typing.h"
#include "controls/control_strings.h"
#include "classlib/gui/scoped_win32.h"
#include "controls/path_utils.h"
#include "controls/register_controls.h"

namespace {

// A drop of these names as the shell hands it over: a DROPFILES block the
// receiver frees with DragFinish.
HDROP MakeDrop(const std::vector<std::string>& names) {
    size_t size = sizeof(DROPFILES) + 2;
    for (const auto& name : names) size += name.size() + 1;
    TGlobalMemory block(GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, size));
    {
        TGlobalLock<DROPFILES> drop(block.Get());
        drop.Get()->pFiles = sizeof(DROPFILES);
        char* next = reinterpret_cast<char*>(drop.Get()) + sizeof(DROPFILES);
        for (const auto& name : names) {
            memcpy(next, name.c_str(), name.size() + 1);
            next += name.size() + 1;
        }
    }
    return static_cast<HDROP>(block.Release());
}

LRESULT Drop(TWinControl* box, const std::vector<std::string>& names) {
    return SendMessageA(box->Handle(), WM_DROPFILES, reinterpret_cast<WPARAM>(MakeDrop(names)), 0);
}

// A click on the box's button, delivered straight to its window.
void PressButton(TCustomComboEdit* box) {
    box->ButtonHolder()->HandleNeeded();
    MouseDownAt(box->Button(), 8, 8);
    MouseUpAt(box->Button(), 8, 8);
}

bool AcceptsFiles(TWinControl* control) {
    return (GetWindowLongA(control->Handle(), GWL_EXSTYLE) & WS_EX_ACCEPTFILES) != 0;
}

struct FileNameBoxes : ScratchFolderTest {
    TOwned<TForm> form = MakeForm();
    TFilenameEdit* box = AddControl<TFilenameEdit>(form.get(), 10, 10, 300, 21);
};

TEST_F(FileNameBoxes, AFreshBoxShowsTheFileGlyphAndStoresNoDefaults) {
    EXPECT_EQ(box->GlyphKind(), gkDefault);
    EXPECT_EQ(box->Glyph()->Width(), 14);
    EXPECT_EQ(box->Glyph()->Height(), 12);
    EXPECT_EQ(box->ButtonWidth(), 21);
    EXPECT_EQ(box->DialogTitle(), "Browse");
    EXPECT_EQ(box->Filter(), "All files (*.*)|*.*");
    EXPECT_EQ(box->DialogOptions(), TOpenOptions{ofHideReadOnly});
    const TClassInfo& info = TFilenameEdit::StaticClass();
    for (const char* name : {"Filter", "DialogTitle", "FileName", "Glyph", "ButtonWidth"})
        EXPECT_FALSE(info.FindProp(name)->IsStored(*box)) << name;
    box->SetFilter("Programs (*.exe)|*.exe");
    box->SetDialogTitle("Target");
    box->SetText("C:\\some.exe");
    EXPECT_TRUE(info.FindProp("Filter")->IsStored(*box));
    EXPECT_TRUE(info.FindProp("DialogTitle")->IsStored(*box));
    EXPECT_FALSE(info.FindProp("FileName")->IsStored(*box));
}

TEST_F(FileNameBoxes, FileNamesAreQuotedAndReadBackWhole) {
    box->SetFileName("D:\\My Files\\a.txt");
    EXPECT_EQ(box->Text(), "\"D:\\My Files\\a.txt\"");
    EXPECT_EQ(box->FileName(), "D:\\My Files\\a.txt");
    // A stored relative path with a blank, as the entry dialog fills it.
    box->SetFileName("docs\\read me.txt");
    EXPECT_EQ(box->FileName(), "docs\\read me.txt");
    // Typed without quotes, a missing file is read as a command line.
    box->SetText("D:\\Program Files\\app.exe -x");
    EXPECT_EQ(box->FileName(), "D:\\Program");
    const std::string existing = MakeFile("with blank.txt");
    box->SetText(existing);
    EXPECT_EQ(box->FileName(), existing);

    try {
        box->SetFileName("a|b.txt");
        ADD_FAILURE() << "no exception";
    } catch (const EComboEditError& e) {
        EXPECT_EQ(e.Message(), Format(LoadStr(SInvalidFileName), {std::string("a|b.txt")}));
        EXPECT_EQ(std::string(e.Message()), "Ung\xFCltiger Dateiname - a|b.txt");
    }
    EXPECT_EQ(box->Text(), existing);
    box->SetFileName("");
    EXPECT_EQ(box->Text(), "");
}

// Replaces the box's text by typing, as a person does after selecting it.
void Retype(TFilenameEdit* box, const std::string& text) {
    SendMessageA(box->Handle(), EM_SETSEL, 0, -1);
    TypeIntoWindow(box->Handle(), text);
}

TEST_F(FileNameBoxes, ASaveBoxTakesATypedTargetWithBlanksWhole) {
    ASSERT_TRUE(CreateDir(scratch.Path("My CD")));
    const std::string target = scratch.Path("My CD\\menu.exe");
    Retype(box, target);
    ASSERT_EQ(box->Text(), target);
    EXPECT_EQ(box->FileName(), scratch.Path("My"));  // an open box reads a command line
    box->SetDialogKind(dkSave);
    EXPECT_EQ(box->FileName(), target);
    // A target is a name to write, never a program with parameters: also
    // where its folder is still missing (writing it then fails and says so).
    Retype(box, scratch.Path("No CD\\menu.exe"));
    EXPECT_EQ(box->FileName(), scratch.Path("No CD\\menu.exe"));
    box->SetDialogKind(dkSavePicture);
    EXPECT_EQ(box->FileName(), scratch.Path("No CD\\menu.exe"));
    // Quoted as the box shows a chosen name: the quotes go.
    Retype(box, "\"" + target + "\"");
    EXPECT_EQ(box->FileName(), target);
}

TEST_F(FileNameBoxes, TheButtonOpensADialogOfTheBoxKind) {
    TScriptedInteraction seam;
    const std::pair<TFileDialogKind, TCommonDialogKind> kinds[] = {
        {dkSave, cdkSave}, {dkOpen, cdkOpen}, {dkSavePicture, cdkSave}, {dkOpenPicture, cdkOpen}};
    std::vector<TCommonDialogKind> expected;
    for (const auto& [kind, dialog] : kinds) {
        box->SetDialogKind(kind);
        PressButton(box);
        expected.push_back(dialog);
        EXPECT_EQ(seam.Dialogs, expected) << "after the button of a " << TypeInfo<TFileDialogKind>()->EnumName(kind);
    }
}

TEST_F(FileNameBoxes, BrowsingElsewhereLeavesTheCurrentFolderAsItWas) {
    TScriptedInteraction seam;
    ASSERT_TRUE(CreateDir(scratch.Path("elsewhere")));
    TCurrentDirKeeper restoreAfterTheTest;
    const std::string start = GetCurrentDir();
    const std::string chosen = scratch.Path("elsewhere\\chosen.txt");
    for (bool confirm : {false, true}) {
        // As the system's dialog does: each folder opened becomes current.
        seam.DialogAnswers.push_back([&, confirm](TCommonDialogKind, void* data) {
            EXPECT_TRUE(SetCurrentDir(scratch.Path("elsewhere")));
            strcpy(static_cast<OPENFILENAMEA*>(data)->lpstrFile, chosen.c_str());
            return confirm;
        });
        PressButton(box);
        EXPECT_EQ(GetCurrentDir(), start) << (confirm ? "confirmed" : "cancelled");
    }
    EXPECT_EQ(box->FileName(), chosen);
}

TEST_F(FileNameBoxes, ADialogKindChangeKeepsTheDialogsSettings) {
    box->SetDialogKind(dkSave);
    box->SetDefaultExt("exe");
    box->SetFilter("Programs (*.exe)|*.exe");
    box->SetFilterIndex(2);
    box->SetDialogOptions(TOpenOptions{ofOverwritePrompt, ofHideReadOnly});
    EXPECT_TRUE(dynamic_cast<TSaveDialog*>(box->Dialog()));
    box->SetDialogKind(dkOpenPicture);
    EXPECT_TRUE(dynamic_cast<TOpenPictureDialog*>(box->Dialog()));
    EXPECT_EQ(box->DefaultExt(), "exe");
    EXPECT_EQ(box->Filter(), "Programs (*.exe)|*.exe");
    EXPECT_EQ(box->FilterIndex(), 2);
    EXPECT_EQ(box->DialogTitle(), "Browse");
    EXPECT_EQ(box->DialogOptions(), (TOpenOptions{ofOverwritePrompt, ofHideReadOnly}));
    int dialogs = 0;
    // The box owns its one dialog; the old one is gone.
    for (int i = 0; i < box->ComponentCount(); ++i) dialogs += dynamic_cast<TOpenDialog*>(box->Components(i)) != nullptr;
    EXPECT_EQ(dialogs, 1);
}

TEST_F(FileNameBoxes, TheButtonRunsTheDialogWithErrorBoxesOffAndTakesItsAnswer) {
    TScriptedInteraction seam;
    const std::string current = MakeFile("current file.txt");
    const std::string chosen = scratch.Path("other folder\\chosen one.txt");
    box->SetFileName(current);
    box->SetFilter("Text (*.txt)|*.txt");
    std::vector<std::string> events;
    box->OnButtonClick = [&](TObject*) { events.push_back("button"); };
    box->OnBeforeDialog = [&](TObject*, std::string& name, bool&) { events.push_back("before " + name); };
    box->OnAfterDialog = [&](TObject*, std::string& name, bool& action) {
        events.push_back("after " + name + (action ? " +" : " -"));
    };
    UINT modeInDialog = 0;
    seam.DialogAnswers.push_back([&](TCommonDialogKind kind, void* data) {
        auto* ofn = static_cast<OPENFILENAMEA*>(data);
        EXPECT_EQ(kind, cdkOpen);
        EXPECT_STREQ(ofn->lpstrInitialDir, scratch.Folder().c_str());
        EXPECT_STREQ(ofn->lpstrFile, current.c_str());
        EXPECT_STREQ(ofn->lpstrTitle, "Browse");
        modeInDialog = SetErrorMode(0);
        SetErrorMode(modeInDialog);
        strcpy(ofn->lpstrFile, chosen.c_str());
        return true;
    });
    const UINT before = SetErrorMode(0);
    SetErrorMode(before);
    PressButton(box);
    EXPECT_EQ(modeInDialog & 0x8001u, 0x8001u);
    const UINT after = SetErrorMode(0);
    SetErrorMode(after);
    EXPECT_EQ(after, before);
    EXPECT_EQ(events, (std::vector<std::string>{"button", "before " + current, "after " + chosen + " +"}));
    EXPECT_EQ(box->Text(), "\"" + chosen + "\"");
    EXPECT_EQ(box->InitialDir(), scratch.Path("other folder\\"));

    // A handler that says no keeps the dialog shut.
    box->OnBeforeDialog = [&](TObject*, std::string&, bool& action) { action = false; };
    PressButton(box);
    EXPECT_EQ(seam.Dialogs.size(), 1u);
}

TEST_F(FileNameBoxes, DropsTakeTheFirstNameUnlessManyAreAllowed) {
    EXPECT_FALSE(AcceptsFiles(box));
    box->SetAcceptFiles(true);
    EXPECT_TRUE(AcceptsFiles(box));
    int drops = 0;
    box->OnDropFiles = [&](TObject*) { ++drops; };
    const std::string a = MakeFile("a one.txt"), b = MakeFile("b.txt"), c = MakeFile("c.txt");
    EXPECT_EQ(Drop(box, {a, b, c}), 0);
    EXPECT_EQ(box->FileName(), a);
    EXPECT_EQ(box->DialogFiles()->Count(), 0);
    box->SetDialogOptions(TOpenOptions{ofHideReadOnly, ofAllowMultiSelect});
    box->SetText("");
    Drop(box, {c, b, a});
    EXPECT_EQ(box->FileName(), c);
    ASSERT_EQ(box->DialogFiles()->Count(), 3);
    EXPECT_EQ(box->DialogFiles()->Strings(2), a);
    EXPECT_EQ(drops, 2);
    // A name longer than the classic path limit arrives whole.
    const std::string longName = "C:\\" + std::string(300, 'x') + "\\file.txt";
    box->SetDialogOptions(TOpenOptions{ofHideReadOnly});
    Drop(box, {longName});
    EXPECT_EQ(box->FileName(), longName);
    // An empty drop changes nothing.
    Drop(box, {});
    EXPECT_EQ(box->FileName(), longName);

    box->SetAcceptFiles(false);
    EXPECT_FALSE(AcceptsFiles(box));
}

TEST(FileNameBoxLayout, AStoredAcceptFilesWaitsForTheWindow) {
    RegisterControlClasses();
    auto form = MakeForm();
    form->SetName("Host");
    auto* box = AddControl<TFilenameEdit>(form.get(), 10, 10, 300, 21);
    box->SetName("FilenameEdit1");
    box->SetAcceptFiles(true);
    box->SetFilter("Programs (*.exe)|*.exe");
    box->SetDialogKind(dkSave);
    box->SetDefaultExt("exe");
    const std::string text = WriteComponentToText(form.get());
    EXPECT_NE(text.find("AcceptFiles = True"), std::string::npos) << text;
    EXPECT_EQ(text.find("DialogTitle"), std::string::npos) << text;

    auto copy = MakeForm();
    ReadComponentFromText(copy.get(), text);
    auto* read = dynamic_cast<TFilenameEdit*>(copy->FindComponent("FilenameEdit1"));
    ASSERT_NE(read, nullptr);
    EXPECT_FALSE(read->HandleAllocated());
    EXPECT_TRUE(read->AcceptFiles());
    EXPECT_EQ(read->DialogKind(), dkSave);
    EXPECT_EQ(read->DefaultExt(), "exe");
    EXPECT_EQ(read->Filter(), "Programs (*.exe)|*.exe");
    EXPECT_TRUE(AcceptsFiles(read));
}

struct FolderBoxes : ScratchFolderTest {
    TOwned<TForm> form = MakeForm();
    TDirectoryEdit* box = AddControl<TDirectoryEdit>(form.get(), 10, 10, 300, 21);
};

TEST_F(FolderBoxes, DropsGiveTheFolderOfAFileOrTheFolderItself) {
    const std::string file = MakeFile("inside.txt");
    ASSERT_TRUE(CreateDir(scratch.Path("sub")));
    Drop(box, {file, scratch.Path("sub")});
    EXPECT_EQ(box->Text(), scratch.Folder());
    Drop(box, {scratch.Path("sub")});
    EXPECT_EQ(box->Text(), scratch.Path("sub"));
    box->SetMultipleDirs(true);
    Drop(box, {file, scratch.Path("sub")});
    EXPECT_EQ(box->Text(), scratch.Path("sub") + ";" + scratch.Folder() + ";" + scratch.Path("sub"));
}

TEST_F(FolderBoxes, LongNamesOfEachListedFolder) {
    ASSERT_TRUE(CreateDir(scratch.Path("Long Name Folder")));
    char shortPath[MAX_PATH] = {};
    GetShortPathNameA(scratch.Path("Long Name Folder").c_str(), shortPath, MAX_PATH);
    box->SetText(shortPath);
    EXPECT_TRUE(SameText(box->LongName(), ExpandToLongPath(shortPath)));
    box->SetMultipleDirs(true);
    box->SetText(std::string(shortPath) + ";;" + shortPath);
    const std::string one = ExpandToLongPath(shortPath);
    EXPECT_EQ(box->LongName(), one + ";" + one);
}

// The folder a folder dialog was told to select first.
std::string g_selected;
WNDPROC g_static_proc = nullptr;

LRESULT CALLBACK RecordSelection(HWND window, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == BFFM_SETSELECTIONA) g_selected = reinterpret_cast<const char*>(lParam);
    return CallWindowProcA(g_static_proc, window, msg, wParam, lParam);
}

// The folder dialog of the class library, answered through the seam with
// the item of `folder` (nothing: cancelled) after its start-up callback
// ran on a stand-in window.
std::function<void*(void*)> AnswerFolder(const std::string& folder) {
    return [folder](void* browseInfo) -> void* {
        auto* info = static_cast<BROWSEINFOA*>(browseInfo);
        TOwnedWindow standIn(
            CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr));
        g_static_proc = reinterpret_cast<WNDPROC>(
            SetWindowLongPtrA(standIn.Get(), GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&RecordSelection)));
        g_selected.clear();
        info->lpfn(standIn.Get(), BFFM_INITIALIZED, 0, info->lParam);
        standIn.Reset();
        return folder.empty() ? nullptr : ILCreateFromPathA(folder.c_str());
    };
}

TEST_F(FolderBoxes, BrowsingElsewhereLeavesTheCurrentFolderAsItWas) {
    TScriptedInteraction seam;
    ASSERT_TRUE(CreateDir(scratch.Path("A")));
    ASSERT_TRUE(CreateDir(scratch.Path("elsewhere")));
    TCurrentDirKeeper restoreAfterTheTest;
    const std::string start = GetCurrentDir();
    for (TDirDialogKind kind : {dkLibrary, dkWin32}) {
        box->SetDialogKind(kind);
        for (const std::string& answer : {std::string(), scratch.Path("A")}) {
            auto answerFolder = AnswerFolder(answer);
            seam.FolderAnswers.push_back([&, answerFolder](void* browseInfo) {
                EXPECT_TRUE(SetCurrentDir(scratch.Path("elsewhere")));
                return answerFolder(browseInfo);
            });
            PressButton(box);
            EXPECT_EQ(GetCurrentDir(), start) << (kind == dkWin32 ? "shell dialog " : "library dialog ") << answer;
        }
    }
    EXPECT_EQ(box->Text(), scratch.Path("A"));
}

TEST_F(FolderBoxes, TheButtonAsksForAFolderAndAppendsWithMultipleDirs) {
    TScriptedInteraction seam;
    ASSERT_TRUE(CreateDir(scratch.Path("A")));
    ASSERT_TRUE(CreateDir(scratch.Path("B")));
    seam.FolderAnswers.push_back(AnswerFolder(scratch.Path("A")));
    PressButton(box);
    EXPECT_EQ(g_selected, "\\");  // an empty box starts at the root
    EXPECT_EQ(box->Text(), scratch.Path("A"));
    EXPECT_EQ(box->InitialDir(), scratch.Path("A"));

    box->SetMultipleDirs(true);
    box->SetSelStart(0);
    seam.FolderAnswers.push_back(AnswerFolder(scratch.Path("B")));
    PressButton(box);
    EXPECT_EQ(g_selected, scratch.Path("A"));
    EXPECT_EQ(box->Text(), scratch.Path("A") + ";" + scratch.Path("B"));
    // A whole selection is replaced.
    box->SelectAll();
    seam.FolderAnswers.push_back(AnswerFolder(scratch.Path("B")));
    PressButton(box);
    EXPECT_EQ(box->Text(), scratch.Path("B"));
    // Cancelled: unchanged.
    PressButton(box);
    EXPECT_EQ(box->Text(), scratch.Path("B"));
    EXPECT_EQ(seam.Dialogs, std::vector<TCommonDialogKind>(4, cdkBrowseFolder));

    // The shell's own dialog kind goes the same way.
    box->SetMultipleDirs(false);
    box->SetDialogKind(dkWin32);
    box->SetText(scratch.Path("missing"));
    seam.FolderAnswers.push_back(AnswerFolder(scratch.Path("A")));
    PressButton(box);
    EXPECT_EQ(box->Text(), scratch.Path("A"));
}

}  // namespace

namespace {

TEST(FileDirEditLook, BothBoxesOnAFormForTheScreenshot) {
    auto form = MakeForm(340, 110);
    form->SetCaption("File and folder boxes");
    auto* file = AddControl<TFilenameEdit>(form.get(), 10, 10, 300, 21);
    auto* folder = AddControl<TDirectoryEdit>(form.get(), 10, 45, 300, 21);
    file->SetFileName("C:\\Program Files\\Menu\\read me.txt");
    folder->SetText("C:\\windows");
    folder->SetEnabled(false);
    ShowAndWait(form.get());
    TWindowPixels pixels(form->Handle(), true);
    pixels.SavePng(ScreenshotFolder() + "file_dir_edits.png");
    // The button's picture sits inside the box's right end: the glyph's
    // yellow folder is on screen.
    TWindowPixels client(file->ButtonHolder()->Handle());
    int yellow = 0;
    for (int y = 0; y < client.Height(); ++y)
        for (int x = 0; x < client.Width(); ++x) yellow += client.At(x, y) == RGB(255, 255, 0);
    EXPECT_GT(yellow, 20);
}

}  // namespace
