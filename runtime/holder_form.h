// The runtime's hidden document holder: at creation it checks the document
// marker, reads the document attached to its own program file into its
// tree and settings controls, and pushes it into the player window. It is
// never shown.
#pragma once
#include <string>

#include "player/document_holder_form.h"

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

class TMainForm : public TDocumentHolderForm {
    DECLARE_CLASS(TMainForm, TDocumentHolderForm)
public:
    explicit TMainForm(TComponent* owner) : TDocumentHolderForm(owner) {}

    TPanel* Panel1 = nullptr;
    TPanel* Panel10 = nullptr;
    TLabel* Label1 = nullptr;
    TLabel* Label2 = nullptr;
    TLabel* Label3 = nullptr;
    TLabel* Label4 = nullptr;
    TBitBtn* CapFontBtn = nullptr;
    TBitBtn* MainFontBtn = nullptr;
    TImageList* ImageList1 = nullptr;
    TImageList* TaBImages = nullptr;
    TOpenDialog* OpenDialog1 = nullptr;
    TSaveDialog* SaveDialog1 = nullptr;


    void FormCreate(TObject* sender);
    void openfile(const std::string& fileName);
    void PreViewBtnClick(TObject* sender);

    const std::string& ProgramDir() const { return program_dir_; }

private:
    std::string program_dir_;
};

extern TMainForm* MainForm;
