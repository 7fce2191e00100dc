// A window that holds a menu document in its controls: the menu tree, the
// caption box, the three colour boxes and the seven switches (the editor's
// main window and the runtime's hidden holder). The document's fonts are
// the player's.
#pragma once
#include "editor/document/document_holder.h"
#include "classlib/gui/forms.h"
#include "player/settings_controls.h"

class TTreeView;
class TTreeNode;
class TEdit;
class TCheckBox;
class TCustomColorComboBox;

class TDocumentHolderForm : public TForm, public TMenuDocumentHolder {
    DECLARE_CLASS(TDocumentHolderForm, TForm)
public:
    explicit TDocumentHolderForm(TComponent* owner) : TForm(owner) {}

    TTreeView* TreeView1 = nullptr;
    TEdit* CaptionEd = nullptr;
    TCustomColorComboBox* PrismColorComboBox1 = nullptr;  // tree colour
    TCustomColorComboBox* PrismColorComboBox2 = nullptr;  // page colour
    TCustomColorComboBox* PrismColorComboBox3 = nullptr;  // window colour
    TCheckBox* StatusCheck = nullptr;
    TCheckBox* ButtonCheck = nullptr;
    TCheckBox* InstallCheck = nullptr;
    TCheckBox* CopyCheck = nullptr;
    TCheckBox* QuitCheck = nullptr;
    TCheckBox* TabsCheck = nullptr;
    TCheckBox* bordercheck = nullptr;

    TTreeNodes& MenuTree() override;
    TMenuSettings MenuSettings() const override;
    void SetMenuSettings(const TMenuSettings& settings) override;
    TFont& CaptionFont() override;
    TFont& MainTextFont() override;
    TSettingsControls SettingsControls() const;

    // The tree's deletion handler: an entry node frees its record.
    void TreeView1Deletion(TObject* sender, TTreeNode* node);
};
