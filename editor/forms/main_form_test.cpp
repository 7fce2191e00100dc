#include "editor/forms/main_form.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <fstream>
#include <iterator>

#include "classlib/gui/application.h"
#include "editor/forms/editor_classes.h"
#include "classlib/comctrls/comctrls.h"
#include "classlib/dialogs/dialogs.h"
#include "editor/document/document_binding.h"
#include "editor/document/entry_data.h"
#include "editor/document/menu_document.h"
#include "editor/document/test_holder_test.h"
#include "classlib/core/current_dir_keeper.h"
#include "classlib/core/fileutils.h"
#include "classlib/testing/caption_ink.h"
#include "classlib/core/scratch_folder_test.h"
#include "classlib/core/scope_exit.h"
#include "classlib/gui/graphics_objects.h"
#include "classlib/gui/scoped_win32.h"
#include "controls/bitmap_test_support.h"
#include "classlib/testing/gui_testing.h"
#include "classlib/testing/tree_item_recorder.h"
#include "classlib/testing/window_typing.h"
#include "classlib/core/exceptions.h"
#include "classlib/core/file_backend.h"
#include "classlib/core/paths.h"
#include "editor/builder/exe_builder.h"
#include "classlib/core/streams.h"
#include "classlib/core/strutils.h"
#include "classlib/gui/win32.h"
#include <commdlg.h>
#include "editor/forms/new_server_form.h"
#include "player/play_form.h"
#include "controls/file_dir_edit.h"
#include "controls/image_btn.h"
#include "controls/themed_bitbtn.h"
#include "controls/prism_color_combo_box.h"
#include "pixwell/pixwell.h"
#include "shell/shell_namespace.h"
#include "classlib/stdctrls/buttons.h"
#include "classlib/stdctrls/extctrls.h"
#include "classlib/stdctrls/stdctrls.h"
#include "classlib/core/treenodes.h"

namespace {

std::string ReadAll(const std::string& name) {
    std::ifstream in(name, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

// Types into an edit box as a person does, key by key: key down, the
// character, key up.
void TypeInto(TWinControl* edit, const std::string& text) {
    HWND window = edit->Handle();
    for (char ch : text) {
        SHORT scan = VkKeyScanA(ch);
        WPARAM key = scan == -1 ? 0 : LOBYTE(scan);
        SendMessageA(window, WM_KEYDOWN, key, 1);
        SendMessageA(window, WM_CHAR, static_cast<unsigned char>(ch), 1);
        SendMessageA(window, WM_KEYUP, key, 0xC0000001);
    }
    DrainMessages();
}

// The temporary folder pointed elsewhere for a scope.
class TTemporaryFolderAt {
public:
    explicit TTemporaryFolderAt(const std::string& folder) {
        char value[MAX_PATH] = {};
        had_ = GetEnvironmentVariableA("TMP", value, MAX_PATH) != 0;
        old_ = value;
        SetEnvironmentVariableA("TMP", folder.c_str());
    }
    ~TTemporaryFolderAt() { SetEnvironmentVariableA("TMP", had_ ? old_.c_str() : nullptr); }

private:
    bool had_;
    std::string old_;
};

// The editor's windows, created once as the program creates them.
class EditorTest : public testing::Test {
protected:
    static void SetUpTestSuite() {
        RegisterEditorClasses();
        if (!MainForm) {
            Application->CreateForm(MainForm);
            Application->CreateForm(NewServerForm);
            Application->CreateForm(PlayForm);
            Application->CreateForm(CopyFileForm);
            started = CaptureMenuDocument(*MainForm);
        }
    }

    // The document the windows held as created, before any test.
    static inline TMenuDocument started;

    void SetUp() override {
        seam.BoxAnswers.push_back(IDOK);
        MainForm->NewMenuBtnClick(nullptr);
        seam.Boxes.clear();
    }

    TTreeNode* Root() { return MainForm->TreeView1->Items()->GetFirstNode(); }
    void Select(TTreeNode* node) { MainForm->TreeView1->SetSelected(node); }

    TTreeNode* AddCategory(TTreeNode* parent, const std::string& text) {
        Select(parent);
        MainForm->NewFolderBtnClick(nullptr);
        TTreeNode* node = MainForm->TreeView1->Selected();
        node->SetText(text);
        return node;
    }

    // Answers the entry dialog as a person filling it in would.
    TTreeNode* AddEntry(TTreeNode* category, const std::string& caption, const std::string& text = "body",
                        const std::string& file = "", const std::string& picture = "") {
        Select(category);
        seam.ModalAnswers.push_back([=](TObject*) {
            NewServerForm->Edit1->SetText(caption);
            NewServerForm->Memo1->SetText(text);
            NewServerForm->FilenameEdit1->SetText(file);
            NewServerForm->FilenameEdit2->SetText(picture);
            return mrOk;
        });
        MainForm->NewBtnClick(nullptr);
        return MainForm->TreeView1->Selected();
    }

    // Shows the preview as a person opens it and returns the colour it
    // shows inside the picture of the page's entry, below its caption.
    COLORREF PreviewPictureColour(const std::string& caption) {
        SIZE extent{};
        {
            TWindowDC dc(nullptr);
            TSelectedObject font(dc, FontHandle(*PlayForm->FontDialog1->Font()));
            GetTextExtentPoint32A(dc, caption.c_str(), static_cast<int>(caption.size()), &extent);
        }
        COLORREF shown = CLR_INVALID;
        seam.ModalAnswers.push_back([&](TObject*) {
            PlayForm->Show();
            DrainMessages();
            shown = TWindowPixels(PlayForm->ScrollBox1->Handle()).At(20, extent.cy * 2 + 10 + 5);
            PlayForm->Hide();
            return mrCancel;
        });
        MainForm->PreViewBtnClick(nullptr);
        return shown;
    }

    struct Buttons {
        bool New, Del, Edit, Up, Down;
        bool operator==(const Buttons&) const = default;
    };
    Buttons Enabled() {
        MainForm->TreeView1Change(nullptr, nullptr);
        return {MainForm->NewBtn->Enabled(), MainForm->DelBtn->Enabled(), MainForm->EditBtn->Enabled(),
                MainForm->MoveUp->Enabled(), MainForm->MoveDown->Enabled()};
    }

    TScriptedInteraction seam;
};

TEST_F(EditorTest, StartsWithTheStartUpDocumentAndFileNewMakesTheEmptyOne) {
    // The layouts hold the start-up document, window colour $D8E9EC.
    EXPECT_EQ(started, TMenuDocument{});
    EXPECT_EQ(TMenuDocument{}.Settings.WindowColor, 0xD8E9EC);

    // File/New (run before each test): the root alone, the empty document's
    // settings (window colour clBtnFace) and the fonts the player keeps for it.
    EXPECT_EQ(MainForm->Caption(), "Vortel Quillory 1.1 - [noname.qbx]");
    EXPECT_EQ(Root()->Text(), "Themes");
    EXPECT_EQ(MainForm->TreeView1->Items()->Count(), 1);
    EXPECT_EQ(MainForm->TreeView1->Selected(), nullptr);
    EXPECT_EQ(CaptureMenuDocument(*MainForm), NewMenuDocument());
    EXPECT_EQ(MainForm->PrismColorComboBox3->ColorValue(), clBtnFace);
    EXPECT_EQ(FontRecordOf(*PlayForm->FontDialog3->Font()), NewMenuDocument().CaptionFont);
    EXPECT_EQ(FontRecordOf(*PlayForm->FontDialog4->Font()), NewMenuDocument().MainTextFont);
    EXPECT_EQ(PlayForm->FontDialog1->Font()->Height(), -24);
    EXPECT_EQ(PlayForm->FontDialog2->Font()->Height(), -15);
    EXPECT_EQ(EditorTitle("C:\\docs\\menu.qbx"), "Vortel Quillory 1.1 - [menu.qbx]");
}

TEST_F(EditorTest, ThePlayerCarriesTheShellComponentOnMyComputer) {
    auto* shell = dynamic_cast<TShellNamespace*>(PlayForm->FindComponent("ShellNamespace1"));
    ASSERT_NE(shell, nullptr);
    EXPECT_EQ(shell->Filter(), L"*");
    EXPECT_EQ(shell->SpecialFolder(), SF_DRIVES);
    EXPECT_EQ(shell->Folder(), L"");
    // Loaded on the player: shell dialogs belong to the player's window.
    EXPECT_EQ(shell->OwnerWindow(), PlayForm->Handle());
}

TEST_F(EditorTest, ButtonsFollowTheSelection) {
    TTreeNode* software = AddCategory(Root(), "Software");
    TTreeNode* tools = AddCategory(software, "Tools");
    TTreeNode* editor = AddEntry(software, "Editor");
    TTreeNode* viewer = AddEntry(software, "Viewer");
    TTreeNode* docs = AddCategory(Root(), "Docs");

    Select(nullptr);
    EXPECT_EQ(Enabled(), (Buttons{true, false, false, false, false}));
    Select(Root());
    EXPECT_EQ(Enabled(), (Buttons{false, false, false, false, false}));
    Select(software);  // a category below the root takes entries
    EXPECT_EQ(Enabled(), (Buttons{true, true, false, false, true}));
    Select(docs);
    EXPECT_EQ(Enabled(), (Buttons{true, true, false, true, false}));
    Select(tools);  // nested: its previous sibling is none, the next an entry
    EXPECT_EQ(Enabled(), (Buttons{true, true, false, false, false}));
    Select(editor);  // an entry after a category, before an entry
    EXPECT_EQ(Enabled(), (Buttons{true, true, true, false, true}));

    // Moves stay among siblings of one kind.
    MainForm->MoveUpClick(nullptr);
    EXPECT_EQ(editor->Index(), 1);
    MainForm->MoveDownClick(nullptr);
    EXPECT_EQ(editor->Index(), 2);
    EXPECT_EQ(viewer->Index(), 1);
    EXPECT_EQ(MainForm->TreeView1->Selected(), editor);
    EXPECT_EQ(Enabled(), (Buttons{true, true, true, true, false}));
}

TEST_F(EditorTest, NewEntriesAndCategoriesGoWhereTheSelectionSays) {
    TTreeNode* software = AddCategory(Root(), "Software");
    TTreeNode* entry = AddEntry(software, "Editor", "Text\r\nmore", "setup.exe", "pic.bmp");
    EXPECT_EQ(entry->Parent(), software);
    EXPECT_EQ(entry->ImageIndex(), 1);
    EXPECT_EQ(entry->SelectedIndex(), 3);
    auto* data = static_cast<TEntryData*>(entry->Data());
    EXPECT_STREQ(data->Text, "Text\r\nmore");
    EXPECT_STREQ(data->LinkedFile, "setup.exe");
    EXPECT_STREQ(data->LinkedPicture, "pic.bmp");

    // With an entry selected, a new entry is its sibling; a new category
    // goes into the entry's category.
    TTreeNode* second = AddEntry(entry, "Second");
    EXPECT_EQ(second->Parent(), software);
    TTreeNode* category = AddCategory(second, "New");
    EXPECT_EQ(category->Parent(), software);
    EXPECT_EQ(category->ImageIndex(), 0);
    EXPECT_EQ(category->SelectedIndex(), 2);

    // Nothing below the root directly; a cancelled dialog adds nothing.
    Select(Root());
    MainForm->NewBtnClick(nullptr);
    Select(software);
    seam.ModalAnswers.push_back([](TObject*) { return mrCancel; });
    int before = MainForm->TreeView1->Items()->Count();
    MainForm->NewBtnClick(nullptr);
    EXPECT_EQ(MainForm->TreeView1->Items()->Count(), before);
}

TEST_F(EditorTest, EditingAnEntryRewritesItsRecord) {
    TTreeNode* entry = AddEntry(AddCategory(Root(), "Software"), "Editor", "old", "a.exe", "a.bmp");
    seam.ModalAnswers.push_back([](TObject*) {
        EXPECT_EQ(NewServerForm->Edit1->Text(), "Editor");
        EXPECT_TRUE(NewServerForm->OkBtn->Enabled());
        NewServerForm->Edit1->SetText("Renamed");
        NewServerForm->Memo1->SetText("a much longer body text");
        NewServerForm->FilenameEdit1->SetText("");
        return mrOk;
    });
    MainForm->EditBtnClick(nullptr);
    EXPECT_EQ(entry->Text(), "Renamed");
    auto* data = static_cast<TEntryData*>(entry->Data());
    EXPECT_STREQ(data->Text, "a much longer body text");
    EXPECT_STREQ(data->LinkedFile, "");
    EXPECT_STREQ(data->LinkedPicture, "a.bmp");
}

// Replaces an edit's text by typing, as a person does after selecting it.
void Retype(TWinControl* edit, const std::string& text) {
    SendMessageA(edit->Handle(), EM_SETSEL, 0, -1);
    TypeIntoWindow(edit->Handle(), text);
}

// A click on a file box's button.
void PressBoxButton(TFilenameEdit* box) {
    box->ButtonHolder()->HandleNeeded();
    MouseDownAt(box->Button(), 8, 8);
    MouseUpAt(box->Button(), 8, 8);
}

TEST_F(EditorTest, TypedFileNamesWithBlanksReachTheEntryWhole) {
    // Names relative to the CD, which do not exist as seen from here.
    Select(AddCategory(Root(), "Docs"));
    seam.ModalAnswers.push_back([](TObject*) {
        Retype(NewServerForm->Edit1, "Manual");
        Retype(NewServerForm->FilenameEdit2, "pics\\my picture.bmp");
        Retype(NewServerForm->FilenameEdit1, "My Files\\doc page.html");
        return NewServerForm->OkBtn->Enabled() ? mrOk : mrCancel;
    });
    MainForm->NewBtnClick(nullptr);
    TTreeNode* entry = MainForm->TreeView1->Selected();
    ASSERT_EQ(entry->Text(), "Manual");
    auto* data = static_cast<TEntryData*>(entry->Data());
    EXPECT_STREQ(data->LinkedFile, "My Files\\doc page.html");
    EXPECT_STREQ(data->LinkedPicture, "pics\\my picture.bmp");

    // Shown again quoted, as the boxes show a chosen name; a name left alone
    // comes back unchanged, one typed with its quotes is stored without.
    std::string shownFile, shownPicture, pictureFilter, fileFilter;
    seam.ModalAnswers.push_back([&](TObject*) {
        shownFile = NewServerForm->FilenameEdit1->Text();
        shownPicture = NewServerForm->FilenameEdit2->Text();
        pictureFilter = NewServerForm->FilenameEdit2->Filter();
        fileFilter = NewServerForm->FilenameEdit1->Filter();
        Retype(NewServerForm->FilenameEdit2, "\"pics\\other picture.bmp\"");
        return mrOk;
    });
    MainForm->EditBtnClick(nullptr);
    EXPECT_EQ(shownFile, "\"My Files\\doc page.html\"");
    EXPECT_EQ(shownPicture, "\"pics\\my picture.bmp\"");
    EXPECT_EQ(pictureFilter, GetDIBOpenFilter()) << "the picture box offers the image library's formats";
    EXPECT_EQ(fileFilter, "All files (*.*)|*.*");
    EXPECT_STREQ(data->LinkedFile, "My Files\\doc page.html");
    EXPECT_STREQ(data->LinkedPicture, "pics\\other picture.bmp");

    // The saved document holds them whole.
    MainForm->savefile("editor_typed_names.qbx");
    seam.BoxAnswers.push_back(IDOK);
    MainForm->NewMenuBtnClick(nullptr);
    MainForm->openfile("editor_typed_names.qbx");
    std::remove("editor_typed_names.qbx");
    TTreeNode* read = Root()->getFirstChild()->getFirstChild();
    ASSERT_NE(read, nullptr);
    auto* readData = static_cast<TEntryData*>(read->Data());
    EXPECT_STREQ(readData->LinkedFile, "My Files\\doc page.html");
    EXPECT_STREQ(readData->LinkedPicture, "pics\\other picture.bmp");
}

TEST_F(EditorTest, DestinationBoxTakesATargetWithBlanksWhole) {
    EXPECT_EQ(MainForm->EXENameEdit->DialogKind(), dkSave);
    EXPECT_EQ(MainForm->EXENameEdit->DefaultExt(), "exe");
    EXPECT_EQ(MainForm->EXENameEdit->Filter(), "EXE-Dateien (*.exe)|*.exe");
    CreateDir("build out");
    Retype(MainForm->EXENameEdit, "build out\\my menu.exe");
    EXPECT_EQ(MainForm->EXENameEdit->FileName(), "build out\\my menu.exe");
    // A target is never read as a program with parameters, also where its
    // folder is still missing.
    Retype(MainForm->EXENameEdit, "no such folder\\my menu.exe");
    EXPECT_EQ(MainForm->EXENameEdit->FileName(), "no such folder\\my menu.exe");
    MainForm->EXENameEdit->SetText("");
    RemoveDirectoryA("build out");
}

TEST_F(EditorTest, TheTargetIsTheWholeNameAsTyped) {
    EXPECT_EQ(MainForm->EXENameEdit->DialogKind(), dkSave);
    EXPECT_EQ(MainForm->EXENameEdit->DefaultExt(), "exe");
    EXPECT_EQ(MainForm->EXENameEdit->Filter(), "EXE-Dateien (*.exe)|*.exe");
    AddEntry(AddCategory(Root(), "Software"), "Editor");
    MainForm->CopyDLLCheck->SetChecked(false);
    const std::string here = IncludeTrailingBackslash(GetCurrentDir());

    // A folder that is not there is named, and nothing is written anywhere.
    RemoveDirectoryA((here + "My CD").c_str());
    std::remove((here + "My").c_str());
    MainForm->EXENameEdit->SetText("");
    TypeInto(MainForm->EXENameEdit, here + "My CD\\menu.exe");
    MainForm->MakeEXEBtnClick(nullptr);
    ASSERT_EQ(seam.Boxes.size(), 1u);
    EXPECT_EQ(seam.Boxes[0].Text, "The folder for the exe file does not exist!");
    EXPECT_FALSE(seam.Boxes[0].HasCaption);
    EXPECT_EQ(seam.Boxes[0].Flags, unsigned(MB_ICONERROR));
    EXPECT_EQ(seam.Boxes[0].Owner, MainForm->Handle());
    EXPECT_FALSE(FileExists(here + "My")) << "no file at another place";
    EXPECT_FALSE(DirectoryExists(here + "My CD"));

    // Where the folder is there, blanks belong to the name as well; the
    // autorun file quotes such a name so that it is read whole.
    CreateDir("build out");
    std::remove("build out\\my menu.exe");
    MainForm->EXENameEdit->SetText("");
    TypeInto(MainForm->EXENameEdit, "build out\\my menu.exe");
    seam.Boxes.clear();
    MainForm->MakeEXEBtnClick(nullptr);
    ASSERT_FALSE(seam.Boxes.empty());
    EXPECT_EQ(seam.Boxes.back().Text, "The exe file could be successfully created.");
    EXPECT_TRUE(FileExists("build out\\my menu.exe"));
    EXPECT_FALSE(FileExists("build out\\my"));
    MainForm->AutoRunBtnClick(nullptr);
    EXPECT_EQ(seam.Boxes.back().Text, "File successfully created!");
    EXPECT_EQ(ReadAll("build out\\autorun.inf"), "[autorun]\r\nopen=\"my menu.exe\"\r\n");

    // A name the box's dialog put in double quotes is taken without them.
    MainForm->EXENameEdit->SetFileName("build out\\my menu.exe");
    EXPECT_EQ(MainForm->EXENameEdit->Text(), "\"build out\\my menu.exe\"");
    seam.Boxes.clear();
    seam.BoxAnswers.push_back(IDYES);
    MainForm->MakeEXEBtnClick(nullptr);
    ASSERT_EQ(seam.Boxes.size(), 2u);
    EXPECT_EQ(seam.Boxes[0].Text, "The exe file still exists! Would you like to overwrite the file?");
    EXPECT_EQ(seam.Boxes[1].Text, "The exe file could be successfully created.");

    MainForm->CopyDLLCheck->SetChecked(true);
    MainForm->EXENameEdit->SetText("");
    for (const char* file : {"build out\\my menu.exe", "build out\\autorun.inf"}) std::remove(file);
    RemoveDirectoryA("build out");
}

// The names in a folder, sorted.
std::vector<std::string> FolderContents(const std::string& folder) {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

TEST_F(EditorTest, ATargetTypedWithForwardSlashesGetsEveryFileBesideIt) {
    const std::string here = IncludeTrailingBackslash(GetCurrentDir());
    std::filesystem::remove_all("slashes");
    std::filesystem::create_directories("slashes\\cds\\cd2\\docs");
    AddEntry(AddCategory(Root(), "Software"), "Editor", "body", here + "slashes\\cds\\cd2\\docs\\readme.txt",
             here + "slashes/cds/cd2/docs/red.bmp");
    MainForm->RealativCheck->SetChecked(true);
    MainForm->CopyDLLCheck->SetChecked(true);
    Retype(MainForm->EXENameEdit, here + "slashes\\cds/cd2/menu.exe");
    MainForm->MakeEXEBtnClick(nullptr);
    MainForm->AutoRunBtnClick(nullptr);
    ASSERT_EQ(seam.Boxes.size(), 2u);
    EXPECT_EQ(seam.Boxes[0].Text, "The exe file could be successfully created.");
    EXPECT_EQ(seam.Boxes[1].Text, "File successfully created!");

    EXPECT_EQ(FolderContents("slashes"), std::vector<std::string>{"cds"});
    EXPECT_EQ(FolderContents("slashes\\cds"), std::vector<std::string>{"cd2"});
    EXPECT_EQ(FolderContents("slashes\\cds\\cd2"),
              (std::vector<std::string>{"Pixwell.dll", "autorun.inf", "docs", "menu.exe"}));
    EXPECT_EQ(ReadAll("slashes\\cds\\cd2\\autorun.inf"), "[autorun]\r\nopen=menu.exe\r\n");
    EXPECT_TRUE(ReadAll("slashes\\cds\\cd2\\Pixwell.dll") == ReadAll(MainForm->ProgramDir() + "Pixwell.dll"));

    // The menu carries its links relative to the folder it landed in.
    TTestHolder carried;
    const auto templateSize = static_cast<int64_t>(ReadAll(MainForm->ProgramDir() + "Playstub.dat").size());
    ASSERT_TRUE(ReadMenuDocument(carried, "slashes\\cds\\cd2\\menu.exe", templateSize));
    TTreeNode* category = carried.Root()->getFirstChild();
    ASSERT_NE(category, nullptr);
    TTreeNode* entry = category->getFirstChild();
    ASSERT_NE(entry, nullptr);
    auto* data = static_cast<TEntryData*>(entry->Data());
    EXPECT_STREQ(data->LinkedFile, "docs\\readme.txt");
    EXPECT_STREQ(data->LinkedPicture, "docs\\red.bmp");

    MainForm->RealativCheck->SetChecked(false);
    MainForm->EXENameEdit->SetText("");
    std::filesystem::remove_all("slashes");
}

TEST_F(EditorTest, ATargetLongerThanTheSystemNamesIsCalledTooLong) {
    AddEntry(AddCategory(Root(), "Software"), "Editor");
    MainForm->CopyDLLCheck->SetChecked(false);
    const std::string here = IncludeTrailingBackslash(GetCurrentDir());
    // The longest name the system takes is one short of its limit.
    auto target = [&](size_t length) {
        const std::string name = "\\menu.exe";
        return here + std::string(length - here.size() - name.size(), 'f') + name;
    };
    for (size_t length : {size_t(MAX_PATH), size_t(MAX_PATH) + 40}) {
        seam.Boxes.clear();
        MainForm->EXENameEdit->SetText("");
        TypeInto(MainForm->EXENameEdit, target(length));
        ASSERT_EQ(MainForm->EXENameEdit->FileName().size(), length);
        MainForm->MakeEXEBtnClick(nullptr);
        ASSERT_EQ(seam.Boxes.size(), 1u) << length;
        EXPECT_EQ(seam.Boxes[0].Text, "The name of the exe file is too long!");
        EXPECT_FALSE(seam.Boxes[0].HasCaption);
        EXPECT_EQ(seam.Boxes[0].Flags, unsigned(MB_ICONERROR));
        EXPECT_EQ(seam.Boxes[0].Owner, MainForm->Handle());
    }
    // One shorter, the name is taken, and only the missing folder is told.
    seam.Boxes.clear();
    MainForm->EXENameEdit->SetText("");
    TypeInto(MainForm->EXENameEdit, target(MAX_PATH - 1));
    MainForm->MakeEXEBtnClick(nullptr);
    ASSERT_EQ(seam.Boxes.size(), 1u);
    EXPECT_EQ(seam.Boxes[0].Text, "The folder for the exe file does not exist!");
    MainForm->CopyDLLCheck->SetChecked(true);
    MainForm->EXENameEdit->SetText("");
}

TEST_F(EditorTest, ThePreviewFindsRelativePicturesAfterAnyFileDialog) {
    // The editor runs in the CD's folder; its dialogs browse elsewhere (the
    // system's dialogs make each folder visited the current one) and are
    // cancelled; the preview still shows the entry's relative picture.
    TScratchFolder cd;
    ASSERT_TRUE(CreateDir(cd.Path("pics")));
    ASSERT_TRUE(CreateDir(cd.Path("elsewhere")));
    TCurrentDirKeeper restoreAfterTheTest;
    ASSERT_TRUE(SetCurrentDir(cd.Folder()));
    TTreeNode* entry = AddEntry(AddCategory(Root(), "Pictures"), "Shot");
    auto* data = static_cast<TEntryData*>(entry->Data());
    auto browseElsewhereAndCancel = [&](TCommonDialogKind, void*) {
        EXPECT_TRUE(SetCurrentDir(cd.Path("elsewhere")));
        return false;
    };

    const std::vector<std::pair<std::string, std::function<void()>>> steps = {
        {"no dialog", [] {}},
        {"Open", [&] {
             seam.BoxAnswers.push_back(IDOK);
             seam.DialogAnswers.push_back(browseElsewhereAndCancel);
             MainForm->OpenBtnClick(nullptr);
         }},
        {"Save as", [&] {
             seam.DialogAnswers.push_back(browseElsewhereAndCancel);
             MainForm->SaveAsBtnClick(nullptr);
         }},
        {"destination box", [&] {
             seam.DialogAnswers.push_back(browseElsewhereAndCancel);
             PressBoxButton(MainForm->EXENameEdit);
         }},
        {"entry boxes", [&] {
             seam.DialogAnswers.push_back(browseElsewhereAndCancel);
             seam.DialogAnswers.push_back(browseElsewhereAndCancel);
             seam.ModalAnswers.push_back([](TObject*) {
                 PressBoxButton(NewServerForm->FilenameEdit2);
                 PressBoxButton(NewServerForm->FilenameEdit1);
                 return mrCancel;
             });
             MainForm->EditBtnClick(nullptr);
         }},
    };
    int shot = 0;
    for (const auto& [name, runDialog] : steps) {
        // A picture of its own for each step, so none comes from the cache.
        const std::string picture = "pics\\shot " + std::to_string(++shot) + ".bmp";
        {
            TFileStream file(cd.Path(picture), fmCreate);
            FilledBitmap(40, 30, clRed)->SaveToStream(file);
        }
        EditEntryData(data, "body", "", picture);
        ASSERT_TRUE(SetCurrentDir(cd.Folder()));
        runDialog();
        EXPECT_EQ(PreviewPictureColour("Shot"), RGB(255, 0, 0)) << "after " << name;
        EXPECT_TRUE(PlayForm->CachedPictureName() == picture && PlayForm->CachedPicture().Bits) << "after " << name;
    }
    // Each box opens the dialog of its kind.
    EXPECT_EQ(seam.Dialogs, (std::vector<TCommonDialogKind>{cdkOpen, cdkSave, cdkSave, cdkOpen, cdkOpen}));
}

TEST_F(EditorTest, AnOpenedDocumentsRelativePicturesAreThoseBesideIt) {
    // The editor runs in another folder, which has pictures of the same
    // names (blue); those beside the document are red. Every dialog browses
    // elsewhere before it is answered, as a person's does.
    TScratchFolder scratch;
    for (const char* folder : {"start", "start\\pics", "cd", "cd\\pics", "copy", "copy\\pics", "elsewhere"})
        ASSERT_TRUE(CreateDir(scratch.Path(folder)));
    // Red in the document's folder, blue in the others.
    auto putPicture = [&](const std::string& name, const std::string& documentFolder) {
        for (const std::string folder : {"start", "cd", "copy"}) {
            TFileStream file(scratch.Path(folder + "\\" + name), fmCreate);
            FilledBitmap(40, 30, folder == documentFolder ? clRed : clBlue)->SaveToStream(file);
        }
    };
    auto browseElsewhere = [&](const std::string& chosen) {
        return [&scratch, chosen](TCommonDialogKind, void* data) {
            EXPECT_TRUE(SetCurrentDir(scratch.Path("elsewhere")));
            if (chosen.empty()) return false;
            lstrcpyA(static_cast<OPENFILENAMEA*>(data)->lpstrFile, scratch.Path(chosen).c_str());
            return true;
        };
    };
    TCurrentDirKeeper restoreAfterTheTest;
    AddEntry(AddCategory(Root(), "Pictures"), "Shot", "body", "", "pics\\opened.bmp");
    ASSERT_TRUE(WriteMenuDocument(*MainForm, scratch.Path("cd\\menu.qbx")));
    putPicture("pics\\opened.bmp", "cd");
    seam.BoxAnswers.push_back(IDOK);
    MainForm->NewMenuBtnClick(nullptr);
    ASSERT_TRUE(SetCurrentDir(scratch.Path("start")));

    seam.BoxAnswers.push_back(IDOK);
    seam.DialogAnswers.push_back(browseElsewhere("cd\\menu.qbx"));
    MainForm->OpenBtnClick(nullptr);
    ASSERT_EQ(MainForm->TreeView1->Items()->Count(), 3);
    EXPECT_EQ(PreviewPictureColour("Shot"), RGB(255, 0, 0)) << "opened";

    // Dialogs cancelled afterwards, and the entry box's browsing, leave it
    // so: a picture named then is found beside the document as well.
    seam.BoxAnswers.push_back(IDOK);
    seam.DialogAnswers.push_back(browseElsewhere(""));
    MainForm->OpenBtnClick(nullptr);
    seam.DialogAnswers.push_back(browseElsewhere(""));
    MainForm->SaveAsBtnClick(nullptr);
    putPicture("pics\\named later.bmp", "cd");
    Select(Root()->getFirstChild()->getFirstChild());
    seam.DialogAnswers.push_back(browseElsewhere(""));
    seam.ModalAnswers.push_back([](TObject*) {
        PressBoxButton(NewServerForm->FilenameEdit2);
        NewServerForm->FilenameEdit2->SetText("pics\\named later.bmp");
        return mrOk;
    });
    MainForm->EditBtnClick(nullptr);
    EXPECT_EQ(PreviewPictureColour("Shot"), RGB(255, 0, 0)) << "named after the dialogs";

    // Saved as another document: its pictures are those beside that one.
    putPicture("pics\\saved.bmp", "copy");
    EditEntryData(static_cast<TEntryData*>(Root()->getFirstChild()->getFirstChild()->Data()), "body", "",
                  "pics\\saved.bmp");
    seam.DialogAnswers.push_back(browseElsewhere("copy\\menu.qbx"));
    MainForm->SaveAsBtnClick(nullptr);
    ASSERT_TRUE(FileExists(scratch.Path("copy\\menu.qbx")));
    EXPECT_EQ(PreviewPictureColour("Shot"), RGB(255, 0, 0)) << "saved as";
}

// Run as an administrator (as the tests are), the system would let the
// editor write these files anyway: the read-only mark alone must keep them.
TEST_F(EditorTest, FilesMarkedReadOnlyAreKeptAndOtherMarksCarriedOver) {
    TScratchFolder cd;
    TCurrentDirKeeper restoreAfterTheTest;
    const std::string autorun = cd.Path("autorun.inf"), document = cd.Path("menu.qbx");
    auto marks = [](const std::string& name) { return GetFileAttributesA(name.c_str()); };
    TScopeExit unmark([&] {
        for (const std::string& name : {autorun, document}) SetFileAttributesA(name.c_str(), FILE_ATTRIBUTE_NORMAL);
    });

    std::ofstream(autorun, std::ios::binary) << "[autorun]\r\nopen=old.exe\r\n";
    ASSERT_TRUE(SetFileAttributesA(autorun.c_str(), FILE_ATTRIBUTE_READONLY));
    MainForm->EXENameEdit->SetText(cd.Path("menu.exe"));
    MainForm->AutoRunBtnClick(nullptr);
    ASSERT_EQ(seam.Boxes.size(), 1u);
    EXPECT_EQ(seam.Boxes[0].Text, "Could not create file!");
    EXPECT_EQ(seam.Boxes[0].Owner, MainForm->Handle());
    EXPECT_EQ(ReadAll(autorun), "[autorun]\r\nopen=old.exe\r\n");
    EXPECT_NE(marks(autorun) & FILE_ATTRIBUTE_READONLY, 0u);

    // A hidden one is written anew and stays hidden.
    ASSERT_TRUE(SetFileAttributesA(autorun.c_str(), FILE_ATTRIBUTE_HIDDEN));
    seam.Boxes.clear();
    MainForm->AutoRunBtnClick(nullptr);
    ASSERT_EQ(seam.Boxes.size(), 1u);
    EXPECT_EQ(seam.Boxes[0].Text, "File successfully created!");
    EXPECT_EQ(ReadAll(autorun), "[autorun]\r\nopen=menu.exe\r\n");
    EXPECT_NE(marks(autorun) & FILE_ATTRIBUTE_HIDDEN, 0u);
    MainForm->EXENameEdit->SetText("");

    // The document, saved under its name.
    AddCategory(Root(), "Software");
    MainForm->savefile(document);
    const std::string saved = ReadAll(document);
    ASSERT_TRUE(SetFileAttributesA(document.c_str(), FILE_ATTRIBUTE_READONLY));
    AddCategory(Root(), "More");
    seam.Boxes.clear();
    MainForm->SaveBtnClick(nullptr);
    ASSERT_EQ(seam.Boxes.size(), 1u);
    EXPECT_EQ(seam.Boxes[0].Text, "Could not save file \"" + document + "\"!");
    EXPECT_EQ(ReadAll(document), saved);
    EXPECT_NE(marks(document) & FILE_ATTRIBUTE_READONLY, 0u);
}

TEST_F(EditorTest, ThePreviewAndItsCopyDialogCarryThemedButtonsWithGlyphs) {
    AddEntry(AddCategory(Root(), "Software"), "Editor", "A small text editor.");
    seam.ModalAnswers.push_back([](TObject*) { return mrCancel; });
    MainForm->PreViewBtnClick(nullptr);
    for (TButton* button : {PlayForm->InstallBtn, PlayForm->CopyBtn, PlayForm->QuitBtn}) {
        auto* themed = dynamic_cast<TThemedBitBtn*>(button);
        ASSERT_NE(themed, nullptr) << button->Name();
        EXPECT_FALSE(themed->Glyph()->Empty()) << button->Name();
    }
    for (TButton* button : {CopyFileForm->BitBtn1, CopyFileForm->BitBtn2})
        EXPECT_NE(dynamic_cast<TThemedBitBtn*>(button), nullptr) << button->Name();
    ASSERT_NE(CopyFileForm->DirectoryEdit1, nullptr);

    PlayForm->Show();
    DrainMessages();
    TWindowPixels player(PlayForm->Handle());
    player.SavePng(ScreenshotFolder() + "editor_player.png");
    EXPECT_TRUE(ShowsWholeCaption(player, PlayForm->Handle(), PlayForm->InstallBtn, "Install/execute"));
    EXPECT_TRUE(ShowsWholeCaption(player, PlayForm->Handle(), PlayForm->CopyBtn, "Copy"));
    EXPECT_TRUE(ShowsWholeCaption(player, PlayForm->Handle(), PlayForm->QuitBtn, "Quit"));
    PlayForm->Hide();
    CopyFileForm->DirectoryEdit1->SetText("c:\\");
    CopyFileForm->Show();
    DrainMessages();
    TWindowPixels copy(CopyFileForm->Handle());
    copy.SavePng(ScreenshotFolder() + "editor_copy_dialog.png");
    EXPECT_TRUE(ShowsWholeCaption(copy, CopyFileForm->Handle(), CopyFileForm->BitBtn1, "OK"));
    EXPECT_TRUE(ShowsWholeCaption(copy, CopyFileForm->Handle(), CopyFileForm->BitBtn2, "&Cancel"));
    // OK is offered only while the box names a folder.
    Retype(CopyFileForm->DirectoryEdit1, "\b");
    EXPECT_EQ(CopyFileForm->DirectoryEdit1->Text(), "");
    EXPECT_FALSE(CopyFileForm->BitBtn1->Enabled());
    Retype(CopyFileForm->DirectoryEdit1, "d:/cd");
    EXPECT_TRUE(CopyFileForm->BitBtn1->Enabled());
    CopyFileForm->Hide();
}

TEST_F(EditorTest, PictureButtonsHaveTheirPressedPictures) {
    for (TImageBtn* button : {MainForm->endebtn, MainForm->ueberbtn, MainForm->MakeEXEBtn}) {
        ASSERT_NE(button->Picture2()->Graphic(), nullptr) << button->Name();
        EXPECT_EQ(button->Picture2()->Width(), button->Picture()->Width()) << button->Name();
        TMemoryStream normal, pressed;
        button->Picture()->Graphic()->SaveToStream(normal);
        button->Picture2()->Graphic()->SaveToStream(pressed);
        EXPECT_NE(normal.Bytes(), pressed.Bytes()) << button->Name();
    }
}

TEST_F(EditorTest, DeletingAsksWithItsOwnTexts) {
    TTreeNode* software = AddCategory(Root(), "Software");
    TTreeNode* entry = AddEntry(software, "Editor");
    seam.BoxAnswers.push_back(IDCANCEL);
    MainForm->DelBtnClick(nullptr);
    ASSERT_EQ(seam.Boxes.size(), 1u);
    EXPECT_EQ(seam.Boxes[0].Text, "Hereby you delete the entry for the server \"Editor\"!");
    EXPECT_EQ(seam.Boxes[0].Caption, "Delete server");
    EXPECT_EQ(seam.Boxes[0].Flags, 65u);
    EXPECT_EQ(MainForm->TreeView1->Items()->Count(), 3);

    Select(software);
    seam.BoxAnswers.push_back(IDOK);
    MainForm->DelBtnClick(nullptr);
    EXPECT_EQ(seam.Boxes[1].Text,
              "Hereby you delete the folder \"Software\" with all subfolders and all server entries!");
    EXPECT_EQ(seam.Boxes[1].Caption, "Delete folder");
    EXPECT_EQ(MainForm->TreeView1->Items()->Count(), 1);
    (void)entry;
}

TEST_F(EditorTest, FileNewAsksAndRestoresItsValues) {
    MainForm->CaptionEd->SetText("Changed");
    MainForm->PrismColorComboBox3->SetColorValue(0x123456);
    MainForm->StatusCheck->SetChecked(false);
    AddCategory(Root(), "Software");
    seam.BoxAnswers.push_back(IDCANCEL);
    MainForm->NewMenuBtnClick(nullptr);
    EXPECT_EQ(seam.Boxes.back().Text, "You will lost all not saved information!");
    EXPECT_EQ(seam.Boxes.back().Caption, "File/New");
    EXPECT_EQ(MainForm->CaptionEd->Text(), "Changed");
    EXPECT_EQ(MainForm->TreeView1->Items()->Count(), 2);

    seam.BoxAnswers.push_back(IDOK);
    MainForm->NewMenuBtnClick(nullptr);
    EXPECT_EQ(MainForm->CaptionEd->Text(), "Quillory");
    EXPECT_EQ(MainForm->PrismColorComboBox3->ColorValue(), clBtnFace);
    EXPECT_TRUE(MainForm->StatusCheck->Checked());
    EXPECT_EQ(MainForm->TreeView1->Items()->Count(), 1);
    EXPECT_EQ(MainForm->SavedFileName(), "");
}

TEST_F(EditorTest, SavingAnUnnamedDocumentAsksForAName) {
    AddCategory(Root(), "Software");
    MainForm->SaveBtnClick(nullptr);  // the dialog is cancelled
    ASSERT_EQ(seam.Dialogs.size(), 1u);
    EXPECT_EQ(seam.Dialogs[0], cdkSave);
    EXPECT_EQ(MainForm->SavedFileName(), "");

    seam.DialogAnswers.push_back([](TCommonDialogKind, void* data) {
        auto* ofn = static_cast<OPENFILENAMEA*>(data);
        lstrcpyA(ofn->lpstrFile, "editor_saved.qbx");
        return true;
    });
    const std::string saved = IncludeTrailingBackslash(GetCurrentDir()) + "editor_saved.qbx";
    MainForm->SaveBtnClick(nullptr);
    EXPECT_EQ(MainForm->SavedFileName(), saved) << "the whole name";
    EXPECT_EQ(MainForm->Caption(), "Vortel Quillory 1.1 - [editor_saved.qbx]");
    EXPECT_TRUE(FileExists("editor_saved.qbx"));

    // Named: Save writes without asking.
    MainForm->SaveBtnClick(nullptr);
    EXPECT_EQ(seam.Dialogs.size(), 2u);

    // Reopened, the document comes back.
    seam.BoxAnswers.push_back(IDOK);
    MainForm->NewMenuBtnClick(nullptr);
    MainForm->openfile("editor_saved.qbx");
    EXPECT_EQ(Root()->getFirstChild()->Text(), "Software");
    std::remove("editor_saved.qbx");
}

TEST_F(EditorTest, AFailedSaveSaysSoAndKeepsTheFileItsNameAndTitle) {
    std::filesystem::remove_all("save_fail");
    ASSERT_TRUE(CreateDir("save_fail"));
    AddCategory(Root(), "Software");
    // The saved document's folder becomes the current one; the test goes on
    // from its own.
    const std::string here = GetCurrentDir(), document = IncludeTrailingBackslash(here) + "save_fail\\doc.qbx";
    TCurrentDirKeeper restoreAfterTheTest;
    MainForm->savefile(document);
    ASSERT_TRUE(SetCurrentDir(here));
    ASSERT_EQ(MainForm->SavedFileName(), document);
    const std::string title = MainForm->Caption();
    const std::string saved = ReadAll("save_fail\\doc.qbx");
    AddCategory(Root(), "More");
    auto expectReported = [&](const std::string& name, bool withReason) {
        ASSERT_EQ(seam.Boxes.size(), 1u) << name;
        const auto& box = seam.Boxes[0];
        std::string text = "Could not save file \"" + name + "\"!";
        EXPECT_EQ(box.Text.substr(0, text.size()), text);
        if (withReason) {
            EXPECT_GT(box.Text.size(), text.size() + 2) << box.Text;  // the system's reason follows
        }
        EXPECT_FALSE(box.HasCaption);
        EXPECT_EQ(box.Flags, unsigned(MB_ICONERROR));
        EXPECT_EQ(box.Owner, MainForm->Handle());
        EXPECT_EQ(MainForm->SavedFileName(), document);
        EXPECT_EQ(MainForm->Caption(), title);
        seam.Boxes.clear();
    };

    // Save as a name that is a folder's: nothing can be created there.
    ASSERT_TRUE(CreateDir("save_fail\\folder.qbx"));
    seam.DialogAnswers.push_back([](TCommonDialogKind, void* data) {
        lstrcpyA(static_cast<OPENFILENAMEA*>(data)->lpstrFile, "save_fail\\folder.qbx");
        return true;
    });
    MainForm->SaveAsBtnClick(nullptr);
    expectReported("save_fail\\folder.qbx", false);
    EXPECT_TRUE(DirectoryExists("save_fail\\folder.qbx"));

    // Held open by a program that lets others write it but not replace it:
    // the new document is written whole, then replacing the old one fails.
    TKernelHandle holder(CreateFileA("save_fail\\doc.qbx", GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                     OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    ASSERT_TRUE(holder);
    MainForm->SaveBtnClick(nullptr);
    holder.Reset();
    expectReported(document, true);
    EXPECT_EQ(ReadAll("save_fail\\doc.qbx"), saved);
    std::vector<std::string> names;
    for (const auto& item : std::filesystem::directory_iterator("save_fail"))
        names.push_back(item.path().filename().string());
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::string>{"doc.qbx", "folder.qbx"}));

    // The folder is gone.
    std::filesystem::remove_all("save_fail");
    MainForm->SaveBtnClick(nullptr);
    expectReported(document, false);
    EXPECT_FALSE(DirectoryExists("save_fail"));

    // Once it can be written again, the document is saved under its name.
    ASSERT_TRUE(CreateDir("save_fail"));
    MainForm->SaveBtnClick(nullptr);
    ASSERT_TRUE(SetCurrentDir(here));
    EXPECT_TRUE(seam.Boxes.empty());
    EXPECT_NE(ReadAll("save_fail\\doc.qbx").find("More"), std::string::npos);
    std::filesystem::remove_all("save_fail");
}

TEST_F(EditorTest, BuildingAnExecutableCleansUpAndCopiesTheLibraryOnce) {
    // Temporary documents already there are left alone; the next free
    // number is used, and that document is what the executable carries.
    std::string temp = GetTempDirectory();
    std::ofstream(temp + "tf0.qbx") << "zero";
    std::ofstream(temp + "tf1.qbx") << "one";
    std::remove((temp + "tf2.qbx").c_str());
    AddEntry(AddCategory(Root(), "Software"), "Editor", "body", "C:\\CD\\setup.exe", "");
    CreateDir("build_out");
    std::remove("build_out\\Pixwell.dll");
    std::remove("build_out\\menu.exe");
    MainForm->EXENameEdit->SetText("build_out\\menu.exe");
    std::string carried;
    bool temporaryThere = false;
    seam.OnBox = [&](const TScriptedInteraction::Box& box) {
        if (box.Text != "The exe file could be successfully created.") return;
        temporaryThere = FileExists(temp + "tf2.qbx");
        carried = ReadAll(temp + "tf2.qbx");
    };
    MainForm->MakeEXEBtnClick(nullptr);
    seam.OnBox = nullptr;
    EXPECT_TRUE(temporaryThere) << "the document was written to tf2.qbx";
    std::string built = ReadAll("build_out\\menu.exe");
    std::string templateBytes = ReadAll(MainForm->ProgramDir() + "Playstub.dat");
    EXPECT_EQ(built.size(), templateBytes.size() + carried.size());
    EXPECT_FALSE(carried.empty());
    EXPECT_EQ(built.substr(templateBytes.size()), carried);
    EXPECT_EQ(ReadAll(temp + "tf0.qbx"), "zero");
    EXPECT_EQ(ReadAll(temp + "tf1.qbx"), "one");
    EXPECT_FALSE(FileExists(temp + "tf2.qbx"));
    EXPECT_FALSE(MainForm->BuildingExe());
    EXPECT_TRUE(ReadAll("build_out\\Pixwell.dll") == ReadAll(MainForm->ProgramDir() + "Pixwell.dll"))
        << MainForm->ProgramDir();
    ASSERT_EQ(seam.Boxes.size(), 1u);
    EXPECT_EQ(seam.Boxes[0].Text, "The exe file could be successfully created.");
    EXPECT_EQ(seam.Boxes[0].Owner, MainForm->Handle()) << "the editor gets its activation back";

    // The library is not copied again; declining the overwrite question
    // leaves the executable as it is.
    std::ofstream("build_out\\Pixwell.dll", std::ios::trunc) << "mine";
    seam.BoxAnswers.push_back(IDNO);
    MainForm->MakeEXEBtnClick(nullptr);
    EXPECT_EQ(seam.Boxes.back().Text, "The exe file still exists! Would you like to overwrite the file?");
    EXPECT_EQ(ReadAll("build_out\\menu.exe"), built);
    seam.BoxAnswers.push_back(IDYES);
    MainForm->MakeEXEBtnClick(nullptr);
    EXPECT_EQ(ReadAll("build_out\\Pixwell.dll"), "mine");
    std::remove((temp + "tf0.qbx").c_str());
    std::remove((temp + "tf1.qbx").c_str());
}

TEST_F(EditorTest, AFailedTemporaryDocumentStopsTheBuildBeforeTheTarget) {
    AddEntry(AddCategory(Root(), "Software"), "Editor", "a body text long enough to reach past the limit");
    CreateDir("build_tmp");
    std::ofstream("build_tmp\\menu.exe", std::ios::binary) << "precious";
    std::remove("build_tmp\\Pixwell.dll");
    MainForm->EXENameEdit->SetText("build_tmp\\menu.exe");
    auto buildBoxes = [&] {
        int count = 0;
        for (const auto& box : seam.Boxes)
            if (box.Text == "Could not open QBX file!" || box.Text == "Could not create file!" ||
                box.Text == "The exe file could be successfully created.")
                ++count;
        return count;
    };

    // The temporary document cannot be created.
    {
        TTemporaryFolderAt elsewhere(IncludeTrailingBackslash(GetCurrentDir()) + "no such temp\\");
        ASSERT_EQ(TemporaryFolder(), IncludeTrailingBackslash(GetCurrentDir()) + "no such temp\\");
        seam.BoxAnswers.push_back(IDYES);
        MainForm->MakeEXEBtnClick(nullptr);
    }
    ASSERT_EQ(seam.Boxes.size(), 2u);
    EXPECT_EQ(seam.Boxes[1].Text, "Could not save the temporary QBX file!");
    EXPECT_FALSE(seam.Boxes[1].HasCaption);
    EXPECT_EQ(seam.Boxes[1].Owner, MainForm->Handle());
    EXPECT_EQ(ReadAll("build_tmp\\menu.exe"), "precious");
    EXPECT_FALSE(FileExists("build_tmp\\Pixwell.dll"));
    EXPECT_FALSE(MainForm->BuildingExe());

    // Its writing fails midway: the command ends with the error before the
    // target is touched, and the partial document is removed.
    std::string document = FreeTemporaryDocument(TemporaryFolder());
    seam.Boxes.clear();
    bool raised = false;
    {
        FileBackend::TFileSizeLimitForTesting medium(40);
        seam.BoxAnswers.push_back(IDYES);
        try {
            MainForm->MakeEXEBtnClick(nullptr);
        } catch (const EInOutError&) {
            raised = true;
        }
    }
    EXPECT_TRUE(raised || seam.Boxes.size() > 1u) << "the failure is told";
    EXPECT_EQ(buildBoxes(), 0);
    EXPECT_FALSE(FileExists(document));
    EXPECT_EQ(ReadAll("build_tmp\\menu.exe"), "precious");
    EXPECT_FALSE(FileExists("build_tmp\\Pixwell.dll"));
    EXPECT_FALSE(MainForm->BuildingExe());

    // The template itself as target is refused before anything is touched.
    std::string templatePath = MainForm->ProgramDir() + "Playstub.dat";
    std::string before = ReadAll(templatePath);
    MainForm->EXENameEdit->SetText(templatePath);
    seam.Boxes.clear();
    seam.BoxAnswers.push_back(IDYES);
    MainForm->MakeEXEBtnClick(nullptr);
    EXPECT_EQ(ReadAll(templatePath), before);
    EXPECT_EQ(seam.Boxes.back().Text, "Could not create file!");
    EXPECT_EQ(seam.Boxes.back().Owner, MainForm->Handle());
    EXPECT_FALSE(MainForm->BuildingExe());
    std::remove("build_tmp\\menu.exe");
    RemoveDirectoryA("build_tmp");
}

TEST_F(EditorTest, AFailedBuildStopsWithOneBox) {
    // A medium that ends in the middle of the executable: the build fails,
    // and the library is not copied to it.
    AddEntry(AddCategory(Root(), "Software"), "Editor");
    CreateDir("build_full");
    for (const char* file : {"build_full\\menu.exe", "build_full\\Pixwell.dll"}) std::remove(file);
    MainForm->EXENameEdit->SetText("build_full\\menu.exe");
    const int64_t limit = 33 * 1024;
    ASSERT_GT(ReadAll(MainForm->ProgramDir() + "Playstub.dat").size(), size_t(limit));
    {
        FileBackend::TFileSizeLimitForTesting medium(limit);
        MainForm->MakeEXEBtnClick(nullptr);
    }
    ASSERT_EQ(seam.Boxes.size(), 1u);
    EXPECT_EQ(seam.Boxes[0].Text, "Could not create file!");
    EXPECT_EQ(seam.Boxes[0].Owner, MainForm->Handle());
    EXPECT_FALSE(FileExists("build_full\\menu.exe"));
    EXPECT_FALSE(FileExists("build_full\\Pixwell.dll"));

    // A library copy that fails after a good build says so, in a box the
    // editor owns.
    CreateDir("build_full\\Pixwell.dll");  // a folder: the copy cannot take its place
    seam.Boxes.clear();
    MainForm->MakeEXEBtnClick(nullptr);
    ASSERT_EQ(seam.Boxes.size(), 2u);
    EXPECT_EQ(seam.Boxes[0].Text, "The exe file could be successfully created.");
    EXPECT_EQ(seam.Boxes[1].Text, "Could not copy file!");
    for (const auto& box : seam.Boxes) EXPECT_EQ(box.Owner, MainForm->Handle()) << box.Text;
    RemoveDirectoryA("build_full\\Pixwell.dll");
    std::remove("build_full\\menu.exe");
    RemoveDirectoryA("build_full");
}

TEST_F(EditorTest, DistributionCommandsNeedANameAndReportTheirOutcome) {
    MainForm->EXENameEdit->SetText("");
    MainForm->MakeEXEBtnClick(nullptr);
    MainForm->ExecBtnClick(nullptr);
    MainForm->AutoRunBtnClick(nullptr);
    ASSERT_EQ(seam.Boxes.size(), 3u);
    for (const auto& box : seam.Boxes) {
        EXPECT_EQ(box.Text, "You have to choose a name for the exe file first!");
        EXPECT_FALSE(box.HasCaption);
        EXPECT_EQ(box.Flags, unsigned(MB_ICONERROR));
    }

    CreateDir("build_out");
    MainForm->EXENameEdit->SetText("build_out\\menu.exe");
    MainForm->AutoRunBtnClick(nullptr);
    EXPECT_EQ(seam.Boxes.back().Text, "File successfully created!");
    EXPECT_EQ(ReadAll("build_out\\autorun.inf"), "[autorun]\r\nopen=menu.exe\r\n");
    MainForm->EXENameEdit->SetText("no-such-folder\\menu.exe");
    MainForm->AutoRunBtnClick(nullptr);
    EXPECT_EQ(seam.Boxes.back().Text, "Could not create file!");
    EXPECT_EQ(seam.Boxes.back().Owner, MainForm->Handle());

    MainForm->EXENameEdit->SetText("build_out\\menu.exe");
    MainForm->ExecBtnClick(nullptr);
    ASSERT_EQ(seam.ShellCalls.size(), 1u);
    EXPECT_EQ(seam.ShellCalls[0].File, "build_out\\menu.exe");
    EXPECT_EQ(seam.ShellCalls[0].Directory, "build_out\\");
}

TEST_F(EditorTest, TheDocumentNamedOnTheCommandLineOpensAtTheFirstShowOnly) {
    AddCategory(Root(), "From file");
    MainForm->savefile("editor_argument.qbx");
    seam.BoxAnswers.push_back(IDOK);
    MainForm->NewMenuBtnClick(nullptr);
    SetCommandLineForTesting(std::string("Quillory.exe editor_argument.qbx"));
    MainForm->FormShow(nullptr);
    EXPECT_EQ(MainForm->SavedFileName(), IncludeTrailingBackslash(GetCurrentDir()) + "editor_argument.qbx");
    EXPECT_EQ(Root()->getFirstChild()->Text(), "From file");
    seam.BoxAnswers.push_back(IDOK);
    MainForm->NewMenuBtnClick(nullptr);
    MainForm->FormShow(nullptr);
    EXPECT_EQ(MainForm->TreeView1->Items()->Count(), 1);
    SetCommandLineForTesting(std::nullopt);
    std::remove("editor_argument.qbx");
}

// The tree's window looks up every item handle it is given among all its
// items: opening a document gives each item whole in one message, at the
// end of its siblings, or large documents open in quadratic time.
TEST_F(EditorTest, OpeningADocumentGivesEachTreeItemWholeInOneMessage) {
    TTreeNode* first = AddCategory(Root(), "First");
    AddEntry(first, "One", "text one", "one.exe");
    AddEntry(first, "Two");
    TTreeNode* second = AddCategory(Root(), "Second");
    TTreeNode* inner = AddCategory(second, "Inner");
    AddEntry(inner, "Three");
    Select(inner);
    MainForm->savefile("editor_items.qbx");
    seam.BoxAnswers.push_back(IDOK);
    MainForm->NewMenuBtnClick(nullptr);

    TTreeView* tree = MainForm->TreeView1;
    TTreeItemRecorder recorder;
    // A new window reports to the recorder.
    tree->SetBorderStyle(bsNone);
    tree->SetBorderStyle(bsSingle);
    tree->HandleNeeded();
    DrainMessages();
    recorder.Clear();
    MainForm->openfile("editor_items.qbx");
    std::remove("editor_items.qbx");

    EXPECT_EQ(recorder.Changes, 0);
    ASSERT_EQ(recorder.Inserts.size(), 6u);
    // Level by level, each item with its node and images.
    std::string items;
    for (const TTreeItemRecorder::TInsert& insert : recorder.Inserts) {
        auto* node = reinterpret_cast<TTreeNode*>(insert.Param);
        ASSERT_TRUE(node && node->Owner() == tree->Items());
        EXPECT_EQ(insert.After, TVI_LAST) << insert.Text;
        EXPECT_EQ(insert.Text, node->Text());
        items += insert.Text + ":" + std::to_string(insert.Image) + "/" + std::to_string(insert.SelectedImage) + " ";
    }
    EXPECT_EQ(items, "First:0/2 Second:0/2 One:1/3 Two:1/3 Inner:0/2 Three:1/3 ");
    // The window shows them in the document's order.
    HWND window = tree->Handle();
    auto next = [window](UINT relation, HTREEITEM item) {
        return reinterpret_cast<HTREEITEM>(
            SendMessageA(window, TVM_GETNEXTITEM, relation, reinterpret_cast<LPARAM>(item)));
    };
    std::function<std::string(HTREEITEM)> list = [&](HTREEITEM item) {
        std::string out;
        for (; item; item = next(TVGN_NEXT, item)) {
            char text[64] = {};
            TVITEMA tv{};
            tv.mask = TVIF_TEXT;
            tv.hItem = item;
            tv.pszText = text;
            tv.cchTextMax = sizeof text;
            SendMessageA(window, TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&tv));
            out += std::string(text) + " " + list(next(TVGN_CHILD, item));
        }
        return out;
    };
    EXPECT_EQ(list(next(TVGN_ROOT, nullptr)), "Themes First One Two Second Inner Three ");
    auto* one = static_cast<TEntryData*>(Root()->getFirstChild()->getFirstChild()->Data());
    ASSERT_NE(one, nullptr);
    EXPECT_STREQ(one->LinkedFile, "one.exe");
    EXPECT_EQ(tree->Selected()->Text(), "Inner");
    auto caret = reinterpret_cast<HTREEITEM>(SendMessageA(tree->Handle(), TVM_GETNEXTITEM, TVGN_CARET, 0));
    TVITEMA shown{};
    shown.mask = TVIF_PARAM;
    shown.hItem = caret;
    ASSERT_TRUE(SendMessageA(tree->Handle(), TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&shown)));
    EXPECT_EQ(shown.lParam, reinterpret_cast<LPARAM>(tree->Selected()));
}

TEST_F(EditorTest, ClosingAsksEveryTime) {
    bool canClose = true;
    seam.BoxAnswers.push_back(IDCANCEL);
    MainForm->FormCloseQuery(nullptr, canClose);
    EXPECT_FALSE(canClose);
    EXPECT_EQ(seam.Boxes.back().Text, "Hereby you quit the program! All data not saved will be lost!");
    EXPECT_EQ(seam.Boxes.back().Caption, "Quit program");
}

TEST_F(EditorTest, TheEntryDialogOffersOkOnlyWithACaption) {
    NewServerForm->Edit1->SetText("");
    EXPECT_FALSE(NewServerForm->OkBtn->Enabled());
    NewServerForm->Edit1->SetText("x");
    EXPECT_TRUE(NewServerForm->OkBtn->Enabled());
    NewServerForm->Edit1->SetText("");
    EXPECT_FALSE(NewServerForm->OkBtn->Enabled());
}

}  // namespace

// Last: showing the window takes its first show. Each page shows its
// headings, labels and buttons with their captions whole; the file commands
// and the web address show on every page.
TEST_F(EditorTest, WindowsShowTheirControls) {
    MainForm->Show();
    struct Shown {
        TControl* Control;
        std::string Caption;
    };
    auto named = [](const char* name) { return dynamic_cast<TControl*>(MainForm->FindComponent(name)); };
    const std::vector<Shown> always = {{MainForm->NewMenuBtn, "&New"},
                                       {MainForm->OpenBtn, "Open..."},
                                       {MainForm->SaveBtn, "Save"},
                                       {MainForm->SaveAsBtn, "Save as..."},
                                       {MainForm->wwwBtn, "http://www.vortel.example/quillory/"}};
    const std::vector<Shown> pages[3] = {
        {{named("Label1"), "Categories and entries - arrange the CD contents (categories and entries)"},
         {MainForm->NewBtn, "&New entry"},
         {MainForm->DelBtn, "Delete"},
         {MainForm->EditBtn, "&Properties"},
         {MainForm->NewFolderBtn, "New &category"},
         {MainForm->PreViewBtn, "Preview..."},
         {MainForm->MoveUp, "Move up"},
         {MainForm->MoveDown, "Move down"}},
        {{named("Label3"), "Settings - change some design settings etc."},
         {named("Label5"), "Windows title:"},
         {named("Label6"), "Background color of window:"},
         {named("Label7"), "Background color theme overview (left):"},
         {named("Label8"), "Background color actual theme (right):"},
         {MainForm->CapFontBtn, "&Font of caption"},
         {MainForm->MainFontBtn, "Font of &main text"}},
        {{named("Label9"), "Distribute - create an EXE file which you can put on the CD"},
         {named("Label11"), "Destination file:"},
         {MainForm->ExecBtn, "&Execute EXE file..."},
         {MainForm->AutoRunBtn, "Create autorun.inf...."}}};
    for (int page = 0; page < 3; ++page) {
        MainForm->PageControl2->SetActivePageIndex(page);
        DrainMessages();
        TWindowPixels pixels(MainForm->Handle());
        pixels.SavePng(ScreenshotFolder() + "editor_page" + std::to_string(page + 1) + ".png");
        std::vector<Shown> shown = pages[page];
        shown.insert(shown.end(), always.begin(), always.end());
        for (const Shown& s : shown) {
            ASSERT_NE(s.Control, nullptr) << s.Caption;
            EXPECT_TRUE(ShowsWholeCaption(pixels, MainForm->Handle(), s.Control, s.Caption)) << "page " << page + 1;
        }
    }
    MainForm->PageControl2->SetActivePageIndex(0);
    MainForm->Hide();
}
