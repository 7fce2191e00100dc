// A whole menu document as a value: the tree below the root, the selected
// node, the settings and the two fonts. Reading and writing it as bytes is
// document_codec.h; moving it into and out of a window that shows it is
// document_binding.h.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "editor/document/font_record.h"
#include "editor/document/menu_settings.h"

// A category or an entry of the menu tree.
struct TDocumentNode {
    // 1 for the root's children, one more for each category above. A node's
    // level is at most one more than the level of the node before it (1 for
    // the first); its parent is the nearest node before it one level up. A
    // level outside that rule is taken as the nearest one inside it.
    int Level = 1;
    std::string Text;  // category name or entry caption
    uint8_t Kind = 0;  // the node's image index: 0 category, else an entry
    // An entry's page text, linked file and linked picture; categories have none.
    std::string EntryText, LinkedFile, LinkedPicture;

    bool IsEntry() const { return Kind != 0; }
    bool operator==(const TDocumentNode&) const = default;
};

// The default value is the document the editor and the runtime start with,
// as their layouts hold it.
struct TMenuDocument {
    // Every node below the root, in pre-order (a parent before its children,
    // children in their order).
    std::vector<TDocumentNode> Nodes;
    // Index of the selected node in Nodes; -1 when the root is selected.
    int Selected = -1;
    TMenuSettings Settings;
    TFontRecord CaptionFont{0, clWindowText, "Arial Black", 0, 96, 18, 0};
    TFontRecord MainTextFont{0, clWindowText, "Arial", 0, 96, 11, 0};

    bool operator==(const TMenuDocument&) const = default;
};

// The empty document File/New makes: no nodes, the start-up settings and
// fonts but for the window colour, clBtnFace.
TMenuDocument NewMenuDocument();
