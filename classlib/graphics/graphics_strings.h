// Texts of the picture classes (German, code page 1252, as the class
// library's own), registered with the resource-string table on first use.
// Their numbers are fixed and lie beside the others of the class library
// (resstrings.h).
#pragma once
#include <string>

enum TGraphicsString : int {
    SInvalidBitmap = 65439,           // "Bitmap ist ung\xFCltig"
    SInvalidIcon = 65400,             // "Symbol ist ung\xFCltig"
    SJpegError = 65401,               // "JPEG-Fehler #%d (%s)"
    SUnknownExtension = 65402,        // "Unbekannte Grafikdateierweiterung (.%s)"
    SUnknownClipboardFormat = 65403,  // "Nicht unterst\xFCtztes Zwischenablageformat"
    SChangeIconSize = 65404,          // "Die Gr\xF6\xDF" "e eines Symbols kann nicht ge\xE4ndert werden"
    SScanLine = 65405,                // "Index der Scanlinie au\xDF" "erhalb des Bereichs"
    SOutOfResources = 65406,          // "Zu wenig Systemressourcen"
    SUnknownGraphicClass = 65407,     // "Unbekannte Grafikklasse %s"
    SAllFilter = 65408,               // "Alle"
    SVBitmaps = 65409,                // "Bitmaps"
    SVIcons = 65410,                  // "Symbole"
    SVJpegImages = 65411,             // "JPEG-Bilddatei"
    SInvalidPixelFormat = 65412,      // "Ung\xFCltiges Pixelformat"
    SResNotFound = 65413,             // "Ressource %s wurde nicht gefunden"
    SChangeJpegSize = 65414,          // "Die Gr\xF6\xDF" "e eines JPEG-Bildes kann nicht ge\xE4ndert werden"
};

// The text of one of the strings above.
std::string GraphicsStr(TGraphicsString ident);
