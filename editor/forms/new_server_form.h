// The entry dialog: caption, body text, linked picture and linked file of
// an entry, used to create one and to edit one. OK is available exactly
// when the caption is not empty.
#pragma once
#include "classlib/gui/forms.h"

class TLabel;
class TEdit;
class TMemo;
class TThemedBitBtn;
class TFilenameEdit;
class TBevel;

class TNewServerForm : public TForm {
    DECLARE_CLASS(TNewServerForm, TForm)
public:
    explicit TNewServerForm(TComponent* owner) : TForm(owner) {}

    TLabel* Label1 = nullptr;
    TEdit* Edit1 = nullptr;
    TLabel* Label2 = nullptr;
    TMemo* Memo1 = nullptr;
    TLabel* Label3 = nullptr;
    TFilenameEdit* FilenameEdit2 = nullptr;  // linked picture
    TLabel* Label4 = nullptr;
    TFilenameEdit* FilenameEdit1 = nullptr;  // linked file
    TBevel* Bevel1 = nullptr;
    TThemedBitBtn* OkBtn = nullptr;
    TThemedBitBtn* CancelBtn = nullptr;

    void FormShow(TObject* sender);
    void Edit1Change(TObject* sender);
};

extern TNewServerForm* NewServerForm;
