// Moving a menu document between its value and the window that holds it
// (the editor's main window, the runtime's hidden holder, a test holder).
#pragma once
#include <functional>
#include <optional>

#include "editor/document/document_value.h"

class TMenuDocumentHolder;
class TFont;

// Replaces the holder's tree below the root, its settings and fonts by doc,
// and selects doc's selected node (without one, the selection stays on the
// root or wherever it was, unless that node went). Each font is read as the
// stored record says (pixels per inch before size, so the height follows
// from both) and then assigned to the holder's font. Raises EInOutError
// when the holder's tree has no root; when memory runs out, the holder's
// document stays as it was.
void ApplyMenuDocument(TMenuDocumentHolder& holder, const TMenuDocument& doc);

// Opening a document: selects the root, then replaces the holder's document
// by the one read gives. Returns false, changing nothing more, when read
// gives none; what read raises goes on, the document as it was.
bool OpenMenuDocument(TMenuDocumentHolder& holder, const std::function<std::optional<TMenuDocument>()>& read);

// The holder's document: the tree below the root (an entry node without a
// record gives empty strings), the selected node, settings and fonts.
TMenuDocument CaptureMenuDocument(TMenuDocumentHolder& holder);

// The record a font is saved as (its name cut to 255 bytes).
TFontRecord FontRecordOf(const TFont& font);
