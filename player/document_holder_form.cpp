#include "player/document_holder_form.h"

#include "classlib/comctrls/comctrls.h"
#include "controls/custom_color_combo_box.h"
#include "classlib/dialogs/dialogs.h"
#include "editor/document/entry_data.h"
#include "player/play_form.h"
#include "classlib/stdctrls/stdctrls.h"

const TClassInfo& TDocumentHolderForm::StaticClass() {
    static const TClassInfo info =
        DefineClass<TDocumentHolderForm>("TDocumentHolderForm", &TForm::StaticClass(), [](auto& c) {
            c.Field("TreeView1", &TDocumentHolderForm::TreeView1);
            c.Field("CaptionEd", &TDocumentHolderForm::CaptionEd);
            c.Field("PrismColorComboBox1", &TDocumentHolderForm::PrismColorComboBox1);
            c.Field("PrismColorComboBox2", &TDocumentHolderForm::PrismColorComboBox2);
            c.Field("PrismColorComboBox3", &TDocumentHolderForm::PrismColorComboBox3);
            c.Field("StatusCheck", &TDocumentHolderForm::StatusCheck);
            c.Field("ButtonCheck", &TDocumentHolderForm::ButtonCheck);
            c.Field("InstallCheck", &TDocumentHolderForm::InstallCheck);
            c.Field("CopyCheck", &TDocumentHolderForm::CopyCheck);
            c.Field("QuitCheck", &TDocumentHolderForm::QuitCheck);
            c.Field("TabsCheck", &TDocumentHolderForm::TabsCheck);
            c.Field("bordercheck", &TDocumentHolderForm::bordercheck);
            c.Method("TreeView1Deletion", &TDocumentHolderForm::TreeView1Deletion);
        });
    return info;
}

TTreeNodes& TDocumentHolderForm::MenuTree() {
    return *TreeView1->Items();
}

TSettingsControls TDocumentHolderForm::SettingsControls() const {
    return {CaptionEd, PrismColorComboBox3, PrismColorComboBox2, PrismColorComboBox1,
            {StatusCheck, ButtonCheck, InstallCheck, CopyCheck, QuitCheck, TabsCheck, bordercheck}};
}

TMenuSettings TDocumentHolderForm::MenuSettings() const {
    return SettingsControls().Read();
}

void TDocumentHolderForm::SetMenuSettings(const TMenuSettings& s) {
    SettingsControls().Write(s);
}

TFont& TDocumentHolderForm::CaptionFont() {
    return *PlayForm->FontDialog1->Font();
}

TFont& TDocumentHolderForm::MainTextFont() {
    return *PlayForm->FontDialog2->Font();
}

void TDocumentHolderForm::TreeView1Deletion(TObject*, TTreeNode* node) {
    FreeNodeEntry(node);
}
