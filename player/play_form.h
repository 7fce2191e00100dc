// The player window: one tab per top-level category, the category's tree
// on the left, the chosen entry's page (caption, picture, text) on the
// right, and the buttons that open, copy or quit. The editor shows it as
// its preview, the runtime as its main window.
#pragma once
#include <string>

#include "player/copy_with_progress.h"
#include "classlib/gui/forms.h"
#include "pixwell/pixwell.h"
#include "player/status_progress.h"

class TMenuDocumentHolder;
struct TMenuSettings;
class TTabControl;
class TTreeView;
class TTreeNode;
class TSplitter;
class TPaintBox;
class TPanel;
class TButton;
class TDirectoryEdit;
class TStatusBar;
class TStatusPanel;
class TImageList;
class TFontDialog;
class TEdit;
class TBevel;
class TLabel;

class TPlayForm : public TForm, public TCopyProgress {
    DECLARE_CLASS(TPlayForm, TForm)
public:
    explicit TPlayForm(TComponent* owner);
    ~TPlayForm() override;

    TTabControl* TabControl1 = nullptr;
    TTreeView* TreeView1 = nullptr;
    TSplitter* Splitter1 = nullptr;
    TScrollBox* ScrollBox1 = nullptr;
    TPaintBox* PaintBox1 = nullptr;
    TPanel* Panel1 = nullptr;
    TButton* InstallBtn = nullptr;
    TButton* CopyBtn = nullptr;
    TPanel* Panel2 = nullptr;
    TButton* QuitBtn = nullptr;
    TStatusBar* StatusBar1 = nullptr;
    TImageList* ImageList1 = nullptr;
    TFontDialog* FontDialog1 = nullptr;
    TFontDialog* FontDialog2 = nullptr;
    TFontDialog* FontDialog3 = nullptr;
    TFontDialog* FontDialog4 = nullptr;

    // Pushes a document's settings into the window and fills the tabs from
    // the holder's top-level categories, then shows the first tab's tree.
    void ApplyDocument(TMenuDocumentHolder& holder);

    void StatusBar1DrawPanel(TStatusBar* statusBar, TStatusPanel* panel, const TRect& rect);
    void TabControl1Change(TObject* sender);
    void FormShow(TObject* sender);
    void TreeView1Change(TObject* sender, TTreeNode* node);
    void PaintBox1Paint(TObject* sender);
    void FormMouseWheelDown(TObject* sender, TShiftState shift, TPoint mousePos, bool& handled);
    void FormMouseWheelUp(TObject* sender, TShiftState shift, TPoint mousePos, bool& handled);
    void QuitBtnClick(TObject* sender);
    void InstallBtnClick(TObject* sender);
    void CopyBtnClick(TObject* sender);
    void FormDestroy(TObject* sender);

    void SetProStatus(int percent) override;
    void SBarPaintMore();
    HWND ProgressWindow() override { return Handle(); }
    void Dispatch(TMessage& message) override;

    const std::string& CurrentFile() const { return current_file_; }
    // The rectangle of the progress panel as last drawn.
    const TRect& ProgressRect() const { return progress_.PanelRect(); }
    // The picture cache: the last picture loaded and its file name.
    const TDIB& CachedPicture() const { return cached_picture_; }
    const std::string& CachedPictureName() const { return cached_picture_name_; }
    int PictureLoads() const { return picture_loads_; }

private:
    void CopySubtree(TTreeNode* category);
    int DrawPicture(const std::string& name, int y);
    void FreeCachedPicture();

    TMenuDocumentHolder* holder_ = nullptr;
    std::string current_file_;
    TStatusProgress progress_;
    TDIB cached_picture_{};
    std::string cached_picture_name_;
    int picture_loads_ = 0;
};

// The destination dialog of the Copy button.
class TCopyFileForm : public TForm {
    DECLARE_CLASS(TCopyFileForm, TForm)
public:
    explicit TCopyFileForm(TComponent* owner) : TForm(owner) {}

    TLabel* Label1 = nullptr;
    TEdit* Edit1 = nullptr;
    TLabel* Label2 = nullptr;
    TDirectoryEdit* DirectoryEdit1 = nullptr;
    TButton* BitBtn1 = nullptr;
    TButton* BitBtn2 = nullptr;
    TBevel* Bevel1 = nullptr;

    // OK is offered only while a folder is named.
    void DirectoryEdit1Change(TObject* sender);
};

extern TPlayForm* PlayForm;
extern TCopyFileForm* CopyFileForm;
