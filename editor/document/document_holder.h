// What the document reader and writer need of the window that holds a menu
// document: the editor's main window and the runtime's hidden holder both
// implement it over their own controls.
#pragma once
#include "editor/document/menu_settings.h"

class TTreeNodes;
class TFont;

class TMenuDocumentHolder {
public:
    virtual ~TMenuDocumentHolder() = default;

    // The menu tree; its first node is the fixed root, never saved.
    virtual TTreeNodes& MenuTree() = 0;
    virtual TMenuSettings MenuSettings() const = 0;
    // Applies the values in order: caption, window, page and tree colour,
    // the seven switches.
    virtual void SetMenuSettings(const TMenuSettings& settings) = 0;
    virtual TFont& CaptionFont() = 0;
    virtual TFont& MainTextFont() = 0;
};
