#include "editor/forms/new_server_form.h"

#include "classlib/stdctrls/buttons.h"
#include "classlib/stdctrls/extctrls.h"
#include "classlib/stdctrls/stdctrls.h"

TNewServerForm* NewServerForm = nullptr;

const TClassInfo& TNewServerForm::StaticClass() {
    static const TClassInfo info = DefineClass<TNewServerForm>("TNewServerForm", &TForm::StaticClass(), [](auto& c) {
        c.Field("Label1", &TNewServerForm::Label1);
        c.Field("Edit1", &TNewServerForm::Edit1);
        c.Field("Label2", &TNewServerForm::Label2);
        c.Field("Memo1", &TNewServerForm::Memo1);
        c.Field("Label3", &TNewServerForm::Label3);
        c.Field("FilenameEdit2", &TNewServerForm::FilenameEdit2);
        c.Field("Label4", &TNewServerForm::Label4);
        c.Field("FilenameEdit1", &TNewServerForm::FilenameEdit1);
        c.Field("Bevel1", &TNewServerForm::Bevel1);
        c.Field("OkBtn", &TNewServerForm::OkBtn);
        c.Field("CancelBtn", &TNewServerForm::CancelBtn);
        c.Method("FormShow", &TNewServerForm::FormShow);
        c.Method("Edit1Change", &TNewServerForm::Edit1Change);
    });
    return info;
}

void TNewServerForm::FormShow(TObject*) {
    Edit1->SetFocus();
}

void TNewServerForm::Edit1Change(TObject*) {
    OkBtn->SetEnabled(!Edit1->Text().empty());
}
