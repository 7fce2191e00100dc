#include "editor/document/document_value.h"

TMenuDocument NewMenuDocument() {
    TMenuDocument doc;
    doc.Settings.WindowColor = clBtnFace;
    return doc;
}
