// The editor's main window: the menu tree with its commands, the options
// page with the document's settings, the distribution page that builds the
// menu executable, and the file commands. It holds the document.
#pragma once
#include <string>

#include "player/copy_with_progress.h"
#include "player/document_holder_form.h"
#include "player/status_progress.h"

struct TEntryData;
class TPanel;
class TSpeedButton;
class TImageBtn;
class TPageControl;
class TTabSheet;
class TTreeView;
class TTreeNode;
class TThemedBitBtn;
class TFilenameEdit;
class TLabel;
class TEdit;
class TCheckBox;
class TStatusBar;
class TStatusPanel;
class TOpenDialog;
class TSaveDialog;
class TImageList;
class TPrismColorComboBox;

class TMainForm : public TDocumentHolderForm, public TCopyProgress {
    DECLARE_CLASS(TMainForm, TDocumentHolderForm)
public:
    explicit TMainForm(TComponent* owner);
    ~TMainForm() override;

    TPanel* Panel25 = nullptr;
    TSpeedButton* NewMenuBtn = nullptr;
    TSpeedButton* OpenBtn = nullptr;
    TSpeedButton* SaveBtn = nullptr;
    TSpeedButton* SaveAsBtn = nullptr;
    TPanel* Panel7 = nullptr;
    TSpeedButton* wwwBtn = nullptr;
    TPanel* Panel8 = nullptr;
    TImageBtn* endebtn = nullptr;
    TImageBtn* ueberbtn = nullptr;
    TPageControl* PageControl2 = nullptr;
    TTabSheet* TabSheet1 = nullptr;
    TTabSheet* TabSheet2 = nullptr;
    TTabSheet* TabSheet3 = nullptr;
    TThemedBitBtn* NewBtn = nullptr;
    TThemedBitBtn* DelBtn = nullptr;
    TThemedBitBtn* EditBtn = nullptr;
    TThemedBitBtn* NewFolderBtn = nullptr;
    TThemedBitBtn* PreViewBtn = nullptr;
    TThemedBitBtn* MoveUp = nullptr;
    TThemedBitBtn* MoveDown = nullptr;
    TThemedBitBtn* CapFontBtn = nullptr;
    TThemedBitBtn* MainFontBtn = nullptr;
    TFilenameEdit* EXENameEdit = nullptr;
    TImageBtn* MakeEXEBtn = nullptr;
    TThemedBitBtn* ExecBtn = nullptr;
    TThemedBitBtn* AutoRunBtn = nullptr;
    TCheckBox* RealativCheck = nullptr;
    TCheckBox* CopyDLLCheck = nullptr;
    TStatusBar* StatusBar1 = nullptr;
    TOpenDialog* OpenDialog1 = nullptr;
    TSaveDialog* SaveDialog1 = nullptr;
    TImageList* ImageList1 = nullptr;
    TImageList* TaBImages = nullptr;

    // The document (see TMenuDocumentHolder).

    void StatusBar1DrawPanel(TStatusBar* statusBar, TStatusPanel* panel, const TRect& rect);
    void wwwBtnClick(TObject* sender);
    void EndeBtnClick(TObject* sender);
    void ueberbtnClick(TObject* sender);
    void FormCreate(TObject* sender);
    void FormDestroy(TObject* sender);
    void FormCloseQuery(TObject* sender, bool& canClose);
    void NewBtnClick(TObject* sender);
    void NewFolderBtnClick(TObject* sender);
    void DelBtnClick(TObject* sender);
    void EditBtnClick(TObject* sender);
    void OkBtnClick(TObject* sender);
    void savefile(const std::string& fileName);
    void openfile(const std::string& fileName);
    void TreeView1Edited(TObject* sender, TTreeNode* node, std::string& text);
    void TreeView1Change(TObject* sender, TTreeNode* node);
    void TreeView1DblClick(TObject* sender);
    void PreViewBtnClick(TObject* sender);
    void NewMenuBtnClick(TObject* sender);
    void OpenBtnClick(TObject* sender);
    void SaveBtnClick(TObject* sender);
    void SaveAsBtnClick(TObject* sender);
    void Setsavedfilename(const std::string& name);
    void FormShow(TObject* sender);
    void CapFontBtnClick(TObject* sender);
    void MainFontBtnClick(TObject* sender);
    void MakeEXEBtnClick(TObject* sender);
    void ExecBtnClick(TObject* sender);
    void AutoRunBtnClick(TObject* sender);
    void MoveUpClick(TObject* sender);
    void MoveDownClick(TObject* sender);

    void SetProStatus(int percent) override;
    void SBarPaintMore();
    HWND ProgressWindow() override { return Handle(); }
    void Dispatch(TMessage& message) override;

    const std::string& SavedFileName() const { return saved_file_name_; }
    const std::string& ProgramDir() const { return program_dir_; }
    bool BuildingExe() const { return building_exe_; }

private:
    int ConfirmBox(const char* text, const char* caption);
    TTreeNode* Root() const;
    // The selection itself when it is a category, else its parent.
    static TTreeNode* ParentCategory(TTreeNode* node);
    void PrepareEntryDialog(const std::string& caption, const std::string& text, const std::string& file,
                            const std::string& picture);
    // Names the document after the file it was opened from or saved to.
    void TakeDocumentName(const std::string& fileName);
    // The menu executable named on the distribution page.
    std::string TargetExe() const;
    // A failure of the distribution commands, in a box owned by this window.
    void ReportBuildFailure(const char* text);

    TStatusProgress progress_;
    std::string saved_file_name_;
    std::string program_dir_;
    TEntryData* CurrentEntry = nullptr;
    bool building_exe_ = false;
    bool first_show_done_ = false;
};

extern TMainForm* MainForm;

// The window title for a document file name ("" = unnamed).
std::string EditorTitle(const std::string& savedFileName);
