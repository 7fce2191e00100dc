// Moving a menu document between its value and the window that holds it
// (the editor's main window, the runtime's hidden holder, a test holder).
#pragma once
#include "editor/document/document_value.h"

class TMenuDocumentHolder;

// Replaces the holder's tree below the root, its selection, settings and
// fonts by doc. Each font is read as the stored record says (pixels per
// inch before size, so the height follows from both) and then assigned to
// the holder's font. Raises EInOutError when the holder's tree has no root.
void ApplyMenuDocument(TMenuDocumentHolder& holder, const TMenuDocument& doc);

// The holder's document: the tree below the root (an entry node without a
// record gives empty strings), the selected node, settings and fonts.
TMenuDocument CaptureMenuDocument(TMenuDocumentHolder& holder);
