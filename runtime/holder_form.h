// The runtime's hidden document holder: at creation it checks the document
// marker, reads the document attached to its own program file into its
// tree and settings controls, and pushes it into the player window. It is
// never shown.
#pragma once
#include <string>

#include "document_holder.h"
#include "forms.h"
#include "settings_controls.h"

class TPanel;
class TTreeView;
class TTreeNode;
class TLabel;
class TEdit;
class TBitBtn;
class TCheckBox;
class TImageList;
class TOpenDialog;
class TSaveDialog;
class TOlderColorComboBox;

class TMainForm : public TForm, public TMenuDocumentHolder {
    DECLARE_CLASS(TMainForm, TForm)
public:
    explicit TMainForm(TComponent* owner) : TForm(owner) {}

    TPanel* Panel1 = nullptr;
    TTreeView* TreeView1 = nullptr;
    TPanel* Panel10 = nullptr;
    TLabel* Label1 = nullptr;
    TLabel* Label2 = nullptr;
    TLabel* Label3 = nullptr;
    TLabel* Label4 = nullptr;
    TEdit* CaptionEd = nullptr;
    TOlderColorComboBox* PrismColorComboBox1 = nullptr;
    TOlderColorComboBox* PrismColorComboBox2 = nullptr;
    TOlderColorComboBox* PrismColorComboBox3 = nullptr;
    TBitBtn* CapFontBtn = nullptr;
    TBitBtn* MainFontBtn = nullptr;
    TCheckBox* StatusCheck = nullptr;
    TCheckBox* ButtonCheck = nullptr;
    TCheckBox* InstallCheck = nullptr;
    TCheckBox* CopyCheck = nullptr;
    TCheckBox* QuitCheck = nullptr;
    TCheckBox* TabsCheck = nullptr;
    TCheckBox* bordercheck = nullptr;
    TImageList* ImageList1 = nullptr;
    TImageList* TaBImages = nullptr;
    TOpenDialog* OpenDialog1 = nullptr;
    TSaveDialog* SaveDialog1 = nullptr;

    TTreeNodes& MenuTree() override;
    TMenuSettings MenuSettings() const override;
    void SetMenuSettings(const TMenuSettings& settings) override;
    TFont& CaptionFont() override;
    TFont& MainTextFont() override;
    TSettingsControls SettingsControls() const;

    void FormCreate(TObject* sender);
    void openfile(const std::string& fileName);
    void TreeView1Deletion(TObject* sender, TTreeNode* node);
    void PreViewBtnClick(TObject* sender);

    const std::string& ProgramDir() const { return program_dir_; }

private:
    std::string program_dir_;
};

extern TMainForm* MainForm;
