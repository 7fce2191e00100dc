#include "editor/forms/new_server_form.h"

#include "classlib/core/class_builder.h"
#include "classlib/stdctrls/extctrls.h"
#include "classlib/stdctrls/stdctrls.h"
#include "controls/file_dir_edit.h"
#include "controls/themed_bitbtn.h"

TNewServerForm* NewServerForm = nullptr;

const TClassInfo& TNewServerForm::StaticClass() {
    static const TClassInfo info = DefineClass<TNewServerForm>("TNewServerForm", &TForm::StaticClass(), [](auto& c) {
        FIELD(c, Label1);
        FIELD(c, Edit1);
        FIELD(c, Label2);
        FIELD(c, Memo1);
        FIELD(c, Label3);
        FIELD(c, FilenameEdit2);
        FIELD(c, Label4);
        FIELD(c, FilenameEdit1);
        FIELD(c, Bevel1);
        FIELD(c, OkBtn);
        FIELD(c, CancelBtn);
        METHOD(c, FormShow);
        METHOD(c, Edit1Change);
    });
    return info;
}

void TNewServerForm::FormShow(TObject*) {
    Edit1->SetFocus();
}

void TNewServerForm::Edit1Change(TObject*) {
    OkBtn->SetEnabled(!Edit1->Text().empty());
}

// Stored names are shown as the box shows a chosen one: quoted when they
// hold a blank. A stored name the box refuses is shown as it stands rather
// than lost.
TNewServerForm::TShownName TNewServerForm::ShowName(TFilenameEdit* box, const std::string& name) {
    try {
        box->SetFileName(name);
    } catch (const EComboEditError&) {
        box->SetText(name);
    }
    return {name, box->Text()};
}

// The names in these boxes are relative to the CD and rarely exist as seen
// from here, and the player opens them without parameters: the text is
// never read as a program followed by parameters. Only the double quotes
// that enclose a whole name (as the box shows one with a blank) are
// dropped.
std::string TNewServerForm::BoxName(const TFilenameEdit* box, const TShownName& shown) {
    const std::string text = box->Text();
    if (text == shown.Shown) return shown.Stored;
    if (text.size() >= 2 && text.front() == '"' && text.find('"', 1) == text.size() - 1)
        return text.substr(1, text.size() - 2);
    return text;
}

void TNewServerForm::ShowLinkedNames(const std::string& file, const std::string& picture) {
    linked_file_ = ShowName(FilenameEdit1, file);
    linked_picture_ = ShowName(FilenameEdit2, picture);
}

std::string TNewServerForm::LinkedFile() const {
    return BoxName(FilenameEdit1, linked_file_);
}

std::string TNewServerForm::LinkedPicture() const {
    return BoxName(FilenameEdit2, linked_picture_);
}
