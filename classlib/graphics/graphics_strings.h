// Texts of the picture classes (German, code page 1252, as the class
// library's own), registered with the resource-string table on first use.
#pragma once
#include <string>

enum TGraphicsString : int {
    SInvalidBitmap = 64768,    // "Bitmap ist ung\xFCltig"
    SInvalidIcon,              // "Symbol ist ung\xFCltig"
    SJpegError,                // "JPEG-Fehler #%d (%s)"
    SUnknownExtension,         // "Unbekannte Grafikdateierweiterung (.%s)"
    SUnknownClipboardFormat,   // "Nicht unterst\xFCtztes Zwischenablageformat"
    SChangeIconSize,           // "Die Gr\xF6\xDF" "e eines Symbols kann nicht ge\xE4ndert werden"
    SScanLine,                 // "Index der Scanlinie au\xDF" "erhalb des Bereichs"
    SOutOfResources,           // "Zu wenig Systemressourcen"
    SUnknownGraphicClass,      // "Unbekannte Grafikklasse %s"
    SAllFilter,                // "Alle"
    SVBitmaps,                 // "Bitmaps"
    SVIcons,                   // "Symbole"
    SVJpegImages,              // "JPEG-Bilddatei"
    SInvalidPixelFormat,       // "Ung\xFCltiges Pixelformat"
    SResNotFound,              // "Ressource %s wurde nicht gefunden"
    SChangeJpegSize,           // "Die Gr\xF6\xDF" "e eines JPEG-Bildes kann nicht ge\xE4ndert werden"
};

// The text of one of the strings above.
std::string GraphicsStr(TGraphicsString ident);
