#include "editor/forms/main_form.h"

#include "classlib/core/class_builder.h"
#include "editor/forms/about_box.h"
#include "classlib/gui/application.h"
#include "controls/prism_color_combo_box.h"
#include "classlib/comctrls/comctrls.h"
#include "classlib/dialogs/dialogs.h"
#include "editor/document/document_binding.h"
#include "editor/document/entry_data.h"
#include "editor/builder/exe_builder.h"
#include "classlib/core/exceptions.h"
#include "classlib/core/fileutils.h"
#include "classlib/graphics/image.h"
#include "classlib/platform/interaction.h"
#include "editor/document/menu_document.h"
#include "editor/forms/new_server_form.h"
#include "classlib/core/paths.h"
#include "pixwell/pixwell.h"
#include "player/play_form.h"
#include "classlib/core/random.h"
#include "player/settings_controls.h"
#include "classlib/stdctrls/buttons.h"
#include "classlib/stdctrls/extctrls.h"
#include "classlib/stdctrls/stdctrls.h"
#include "classlib/core/treenodes.h"
#include "controls/ex_label.h"
#include "controls/file_dir_edit.h"
#include "controls/image_btn.h"
#include "controls/themed_bitbtn.h"

TMainForm* MainForm = nullptr;

namespace {

constexpr unsigned kConfirmFlags = MB_OKCANCEL | MB_ICONINFORMATION;

bool IsCategory(const TTreeNode* node) {
    return node->ImageIndex() == 0;
}

// Removes the temporary document and clears the build flag on every path.
class TBuildScope {
public:
    TBuildScope(bool& building, std::string document) : building_(building), document_(std::move(document)) {}
    ~TBuildScope() {
        building_ = false;
        DeleteFile(document_);
    }

private:
    bool& building_;
    std::string document_;
};

}  // namespace

std::string EditorTitle(const std::string& savedFileName) {
    std::string name = savedFileName.empty() ? "noname.qbx" : ExtractFileName(savedFileName);
    return "Vortel Quillory 1.1 - [" + name + "]";
}

const TClassInfo& TMainForm::StaticClass() {
    static const TClassInfo info = DefineClass<TMainForm>("TMainForm", &TDocumentHolderForm::StaticClass(), [](auto& c) {
        FIELD(c, Panel25);
        FIELD(c, NewMenuBtn);
        FIELD(c, OpenBtn);
        FIELD(c, SaveBtn);
        FIELD(c, SaveAsBtn);
        FIELD(c, Panel7);
        FIELD(c, wwwBtn);
        FIELD(c, Panel8);
        FIELD(c, endebtn);
        FIELD(c, ueberbtn);
        FIELD(c, PageControl2);
        FIELD(c, TabSheet1);
        FIELD(c, TabSheet2);
        FIELD(c, TabSheet3);
        FIELD(c, NewBtn);
        FIELD(c, DelBtn);
        FIELD(c, EditBtn);
        FIELD(c, NewFolderBtn);
        FIELD(c, PreViewBtn);
        FIELD(c, MoveUp);
        FIELD(c, MoveDown);
        FIELD(c, CapFontBtn);
        FIELD(c, MainFontBtn);
        FIELD(c, EXENameEdit);
        FIELD(c, MakeEXEBtn);
        FIELD(c, ExecBtn);
        FIELD(c, AutoRunBtn);
        FIELD(c, RealativCheck);
        FIELD(c, CopyDLLCheck);
        FIELD(c, StatusBar1);
        FIELD(c, OpenDialog1);
        FIELD(c, SaveDialog1);
        FIELD(c, ImageList1);
        FIELD(c, TaBImages);
        METHOD(c, StatusBar1DrawPanel);
        METHOD(c, wwwBtnClick);
        METHOD(c, EndeBtnClick);
        METHOD(c, ueberbtnClick);
        METHOD(c, FormCreate);
        METHOD(c, FormDestroy);
        METHOD(c, FormCloseQuery);
        METHOD(c, NewBtnClick);
        METHOD(c, NewFolderBtnClick);
        METHOD(c, DelBtnClick);
        METHOD(c, EditBtnClick);
        METHOD(c, OkBtnClick);
        METHOD(c, savefile);
        METHOD(c, openfile);
        METHOD(c, TreeView1Edited);
        METHOD(c, TreeView1Change);
        METHOD(c, TreeView1DblClick);
        METHOD(c, PreViewBtnClick);
        METHOD(c, NewMenuBtnClick);
        METHOD(c, OpenBtnClick);
        METHOD(c, SaveBtnClick);
        METHOD(c, SaveAsBtnClick);
        METHOD(c, Setsavedfilename);
        METHOD(c, FormShow);
        METHOD(c, CapFontBtnClick);
        METHOD(c, MainFontBtnClick);
        METHOD(c, MakeEXEBtnClick);
        METHOD(c, ExecBtnClick);
        METHOD(c, AutoRunBtnClick);
        METHOD(c, MoveUpClick);
        METHOD(c, MoveDownClick);
    });
    return info;
}

TMainForm::TMainForm(TComponent* owner) : TDocumentHolderForm(owner), progress_(StatusBar1) {}

TMainForm::~TMainForm() = default;

// --- the document --------------------------------------------------------------

TTreeNode* TMainForm::Root() const {
    return TreeView1->Items()->GetFirstNode();
}

TTreeNode* TMainForm::ParentCategory(TTreeNode* node) {
    return IsCategory(node) ? node : node->Parent();
}

int TMainForm::ConfirmBox(const char* text, const char* caption) {
    return Interaction().MessageBox(Handle(), text, caption, kConfirmFlags);
}

// --- start and end -------------------------------------------------------------------

void TMainForm::FormCreate(TObject*) {
    program_dir_ = IncludeTrailingBackslash(ExtractFilePath(ParamStr(0)));
    Application->SetHelpFile(program_dir_ + Application->HelpFile());
    Randomize();
    if (TTreeNode* selected = TreeView1->Selected()) selected->MakeVisible();
    Setsavedfilename("");
}

void TMainForm::FormShow(TObject*) {
    if (first_show_done_) return;
    first_show_done_ = true;
    if (ParamCount() >= 1) openfile(ParamStr(1));
}

void TMainForm::FormCloseQuery(TObject*, bool& canClose) {
    canClose = ConfirmBox("Hereby you quit the program! All data not saved will be lost!", "Quit program") == IDOK;
}

void TMainForm::FormDestroy(TObject*) {
    Application->HelpCommand(HELP_QUIT, 0);
}

void TMainForm::EndeBtnClick(TObject*) {
    Close();
}

void TMainForm::ueberbtnClick(TObject*) {
    TOwned<TAboutBox> about(New<TAboutBox>(Application));
    about->ShowModal();
}

void TMainForm::wwwBtnClick(TObject*) {
    Interaction().ShellExecute(Handle(), "open", MakerWebAddress, "", "", SW_SHOW);
}

// --- tree editing -----------------------------------------------------------------------

void TMainForm::TreeView1Change(TObject*, TTreeNode*) {
    if (ComponentState().Contains(csLoading)) return;  // the buttons may not exist yet
    TTreeNode* s = TreeView1->Selected();
    TTreeNode* root = Root();
    bool isEntry = s && !IsCategory(s);
    EditBtn->SetEnabled(isEntry);
    DelBtn->SetEnabled(s && s != root);
    TTreeNode* prev = s && s != root ? s->getPrevSibling() : nullptr;
    TTreeNode* next = s && s != root ? s->getNextSibling() : nullptr;
    MoveUp->SetEnabled(prev && IsCategory(prev) == IsCategory(s));
    MoveDown->SetEnabled(next && IsCategory(next) == IsCategory(s));
    NewBtn->SetEnabled(!(s && ParentCategory(s) == root));
}

void TMainForm::PrepareEntryDialog(const std::string& caption, const std::string& text, const std::string& file,
                                   const std::string& picture) {
    NewServerForm->Edit1->SetText(caption);
    NewServerForm->Memo1->SetText(text);
    NewServerForm->ShowLinkedNames(file, picture);
    NewServerForm->FilenameEdit2->SetFilter(GetDIBOpenFilter());
}

void TMainForm::NewBtnClick(TObject*) {
    TTreeNode* s = TreeView1->Selected();
    if (!s) return;
    TTreeNode* parent = ParentCategory(s);
    if (parent == Root()) return;
    PrepareEntryDialog("", "", "", "");
    if (NewServerForm->ShowModal() != mrOk) return;
    TTreeNode* node = TreeView1->Items()->AddChild(parent, NewServerForm->Edit1->Text());
    CurrentEntry =
        NewEntryData(NewServerForm->Memo1->Text(), NewServerForm->LinkedFile(), NewServerForm->LinkedPicture());
    node->SetData(CurrentEntry);
    node->SetImageIndex(1);
    node->SetSelectedIndex(3);
    node->MakeVisible();
    TreeView1->SetSelected(node);
}

void TMainForm::NewFolderBtnClick(TObject*) {
    TTreeNode* s = TreeView1->Selected();
    if (!s) return;
    TTreeNode* node = TreeView1->Items()->AddChild(ParentCategory(s), "New category");
    node->SetImageIndex(0);
    node->SetSelectedIndex(2);
    node->MakeVisible();
    if (TreeView1->CanFocus()) TreeView1->SetFocus();
    TreeView1->SetSelected(node);
    node->EditText();
}

void TMainForm::TreeView1Edited(TObject*, TTreeNode*, std::string&) {
    // Any text is accepted as typed, the empty one included.
}

void TMainForm::EditBtnClick(TObject*) {
    TTreeNode* s = TreeView1->Selected();
    if (!s || IsCategory(s)) return;
    CurrentEntry = static_cast<TEntryData*>(s->Data());
    if (!CurrentEntry) return;
    PrepareEntryDialog(s->Text(), CurrentEntry->Text, CurrentEntry->LinkedFile, CurrentEntry->LinkedPicture);
    if (NewServerForm->ShowModal() != mrOk) return;
    s->SetText(NewServerForm->Edit1->Text());
    EditEntryData(CurrentEntry, NewServerForm->Memo1->Text(), NewServerForm->LinkedFile(),
                  NewServerForm->LinkedPicture());
    s->MakeVisible();
    TreeView1->SetSelected(s);
}

void TMainForm::TreeView1DblClick(TObject* sender) {
    EditBtnClick(sender);
}

void TMainForm::DelBtnClick(TObject*) {
    TTreeNode* s = TreeView1->Selected();
    if (!s || s == Root()) return;
    std::string text, caption;
    if (!IsCategory(s)) {
        text = "Hereby you delete the entry for the server \"" + s->Text() + "\"!";
        caption = "Delete server";
    } else {
        text = "Hereby you delete the folder \"" + s->Text() + "\" with all subfolders and all server entries!";
        caption = "Delete folder";
    }
    if (ConfirmBox(text.c_str(), caption.c_str()) == IDOK) s->Delete();
}

void TMainForm::MoveUpClick(TObject* sender) {
    TTreeNode* s = TreeView1->Selected();
    if (!s || s == Root()) return;
    TTreeNode* prev = s->getPrevSibling();
    if (!prev || IsCategory(prev) != IsCategory(s)) return;
    s->MoveTo(prev, naInsert);
    TreeView1Change(sender, s);
}

void TMainForm::MoveDownClick(TObject* sender) {
    TTreeNode* s = TreeView1->Selected();
    if (!s || s == Root()) return;
    TTreeNode* next = s->getNextSibling();
    if (!next || IsCategory(next) != IsCategory(s)) return;
    next->MoveTo(s, naInsert);
    TreeView1Change(sender, s);
}

void TMainForm::OkBtnClick(TObject*) {
    TTreeNode* s = TreeView1->Selected();
    if (s && !IsCategory(s)) SetModalResult(mrOk);
}

// --- settings and preview ------------------------------------------------------------------

void TMainForm::CapFontBtnClick(TObject*) {
    PlayForm->FontDialog1->Execute();
}

void TMainForm::MainFontBtnClick(TObject*) {
    PlayForm->FontDialog2->Execute();
}

void TMainForm::PreViewBtnClick(TObject*) {
    PlayForm->ApplyDocument(*this);
    PlayForm->ShowModal();
}

// --- file commands ---------------------------------------------------------------------------

void TMainForm::Setsavedfilename(const std::string& name) {
    saved_file_name_ = name;
    SetCaption(EditorTitle(name));
}

void TMainForm::savefile(const std::string& fileName) {
    if (building_exe_) {
        // Failures go to the builder: false when nothing could be created,
        // EInOutError when the document could not be written.
        WriteMenuDocument(*this, fileName, RealativCheck->Checked() ? TargetExe() : std::string());
        return;
    }
    std::string reason;
    bool saved = false;
    try {
        saved = WriteMenuDocument(*this, fileName);
    } catch (const EInOutError& e) {
        reason = e.what();
    }
    if (!saved) {
        // The file on disk is as it was, and so are the name and the title.
        std::string text = "Could not save file \"" + fileName + "\"!";
        if (!reason.empty()) text += "\r\n" + reason;
        Interaction().MessageBox(Handle(), text.c_str(), nullptr, MB_ICONERROR);
        return;
    }
    TakeDocumentName(fileName);
}

void TMainForm::openfile(const std::string& fileName) {
    if (ReadMenuDocument(*this, fileName)) TakeDocumentName(fileName);
}

void TMainForm::TakeDocumentName(const std::string& fileName) {
    // Relative links and pictures name files beside the document, so its
    // folder becomes the current one (dialogs put that back after browsing)
    // and the name is kept whole, as the folder it was relative to is left.
    const std::string fullName = ExpandFileName(fileName);
    Setsavedfilename(fullName);
    SetCurrentDir(ExtractFilePath(fullName));
}

void TMainForm::NewMenuBtnClick(TObject*) {
    if (ConfirmBox("You will lost all not saved information!", "File/New") != IDOK) return;
    // The root is the window's own, not the document's: made anew as designed.
    TTreeNodes* items = TreeView1->Items();
    items->Clear();
    TTreeNode* root = items->Add(nullptr, "Themes");
    root->SetImageIndex(0);
    root->SetSelectedIndex(0);
    ApplyMenuDocument(*this, NewMenuDocument());
    Setsavedfilename("");
}

void TMainForm::OpenBtnClick(TObject*) {
    if (ConfirmBox("You will lost all not saved information!", "File/Open") != IDOK) return;
    OpenDialog1->SetFileName("");
    if (OpenDialog1->Execute()) openfile(OpenDialog1->FileName());
}

void TMainForm::SaveBtnClick(TObject* sender) {
    if (!saved_file_name_.empty()) savefile(saved_file_name_);
    else SaveAsBtnClick(sender);
}

void TMainForm::SaveAsBtnClick(TObject*) {
    SaveDialog1->SetFileName("");
    if (SaveDialog1->Execute()) savefile(SaveDialog1->FileName());
}

// --- distribution --------------------------------------------------------------------------

std::string TMainForm::TargetExe() const {
    // A save box takes its text as one name (blanks included, quotes
    // dropped), whether or not the folder exists yet.
    return EXENameEdit->FileName();
}

void TMainForm::ReportBuildFailure(const char* text) {
    Interaction().MessageBox(Handle(), text, nullptr, MB_TASKMODAL | MB_ICONINFORMATION);
}

void TMainForm::MakeEXEBtnClick(TObject*) {
    std::string name = TargetExe();
    if (name.empty()) {
        Interaction().MessageBox(Handle(), "You have to choose a name for the exe file first!", nullptr, MB_ICONERROR);
        return;
    }
    // Every file of the build lands beside the target, which the system
    // must still be able to name.
    if (ExpandFileName(name).size() >= MAX_PATH) {
        Interaction().MessageBox(Handle(), "The name of the exe file is too long!", nullptr, MB_ICONERROR);
        return;
    }
    std::string folder = ExtractFilePath(name);
    if (!folder.empty() && !DirectoryExists(folder)) {
        Interaction().MessageBox(Handle(), "The folder for the exe file does not exist!", nullptr, MB_ICONERROR);
        return;
    }
    if (FileExists(name) &&
        Interaction().MessageBox(Handle(), "The exe file still exists! Would you like to overwrite the file?",
                                 "Overwrite file?", MB_YESNOCANCEL | MB_ICONQUESTION) != IDYES)
        return;
    std::string templatePath = program_dir_ + "Playstub.dat";
    std::string temporaryFolder = TemporaryFolder();
    if (temporaryFolder.empty() || SameFile(name, templatePath)) {
        ReportBuildFailure("Could not create file!");
        return;
    }
    std::string document = FreeTemporaryDocument(temporaryFolder);
    {
        TBuildScope scope(building_exe_, document);
        building_exe_ = true;
        savefile(document);
        building_exe_ = false;
        // The name was free: without a file there the save failed, and the
        // build stops before the target is touched.
        if (!FileExists(document)) {
            ReportBuildFailure("Could not save the temporary QBX file!");
            return;
        }
        if (!CreateExeFromTemplate(templatePath, document, name, Handle())) return;
    }
    if (!folder.empty()) folder = IncludeTrailingBackslash(folder);
    if (CopyDLLCheck->Checked() && !FileExists(folder + "Pixwell.dll"))
        CopyFileWithProgress(program_dir_ + "Pixwell.dll", folder + "Pixwell.dll", *this);
}

void TMainForm::ExecBtnClick(TObject*) {
    std::string name = TargetExe();
    if (name.empty()) {
        Interaction().MessageBox(Handle(), "You have to choose a name for the exe file first!", nullptr, MB_ICONERROR);
        return;
    }
    // Started in its own folder, so relative links resolve as on the CD.
    std::string folder = ExtractFilePath(name);
    Interaction().ShellExecute(Handle(), "open", name.c_str(), nullptr, folder.empty() ? nullptr : folder.c_str(),
                               SW_SHOW);
}

void TMainForm::AutoRunBtnClick(TObject*) {
    std::string name = TargetExe();
    if (name.empty()) {
        Interaction().MessageBox(Handle(), "You have to choose a name for the exe file first!", nullptr, MB_ICONERROR);
        return;
    }
    std::string folder = ExtractFilePath(name);
    if (!folder.empty()) folder = IncludeTrailingBackslash(folder);
    if (!WriteAutorunFile(folder, ExtractFileName(name))) {
        ReportBuildFailure("Could not create file!");
        return;
    }
    Interaction().MessageBox(Handle(), "File successfully created!", "autorun.inf", MB_ICONINFORMATION);
}

// --- progress ----------------------------------------------------------------------------------

void TMainForm::StatusBar1DrawPanel(TStatusBar*, TStatusPanel*, const TRect& rect) {
    progress_.DrawPanel(StatusBar1->Canvas(), rect);
}

void TMainForm::SetProStatus(int percent) {
    progress_.SetStatus(percent);
}

void TMainForm::SBarPaintMore() {
    progress_.PaintMore();
}

void TMainForm::Dispatch(TMessage& m) {
    if (m.Msg == WM_USER) {
        SetProStatus(static_cast<int>(m.WParam));
        return;
    }
    TDocumentHolderForm::Dispatch(m);
}
