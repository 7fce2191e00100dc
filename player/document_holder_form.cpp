#include "player/document_holder_form.h"

#include "classlib/comctrls/comctrls.h"
#include "classlib/core/class_builder.h"
#include "controls/custom_color_combo_box.h"
#include "classlib/dialogs/dialogs.h"
#include "editor/document/entry_data.h"
#include "player/play_form.h"
#include "classlib/stdctrls/stdctrls.h"

const TClassInfo& TDocumentHolderForm::StaticClass() {
    static const TClassInfo info =
        DefineClass<TDocumentHolderForm>("TDocumentHolderForm", &TForm::StaticClass(), [](auto& c) {
            FIELD(c, TreeView1);
            FIELD(c, CaptionEd);
            FIELD(c, PrismColorComboBox1);
            FIELD(c, PrismColorComboBox2);
            FIELD(c, PrismColorComboBox3);
            FIELD(c, StatusCheck);
            FIELD(c, ButtonCheck);
            FIELD(c, InstallCheck);
            FIELD(c, CopyCheck);
            FIELD(c, QuitCheck);
            FIELD(c, TabsCheck);
            FIELD(c, bordercheck);
            METHOD(c, TreeView1Deletion);
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
