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
