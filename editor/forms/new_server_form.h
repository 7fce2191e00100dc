// The entry dialog: caption, body text, linked picture and linked file of
// an entry, used to create one and to edit one. OK is available exactly
// when the caption is not empty.
#pragma once
#include <string>

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

    // Shows an entry's stored linked file and picture in the file boxes.
    void ShowLinkedNames(const std::string& file, const std::string& picture);
    // The linked file and picture as the user left them in the boxes,
    // each taken whole; a stored name left untouched comes back unchanged.
    std::string LinkedFile() const;
    std::string LinkedPicture() const;

private:
    struct TShownName {
        std::string Stored;  // the entry's name
        std::string Shown;   // the box's text for it
    };
    static TShownName ShowName(TFilenameEdit* box, const std::string& name);
    static std::string BoxName(const TFilenameEdit* box, const TShownName& shown);

    TShownName linked_file_;
    TShownName linked_picture_;
};

extern TNewServerForm* NewServerForm;
