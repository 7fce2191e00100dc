#include "classlib/graphics/graphics_strings.h"

#include <mutex>
#include <utility>

#include "classlib/core/resstrings.h"

namespace {

constexpr std::pair<int, const char*> kGraphicsTexts[] = {
    {SInvalidBitmap, "Bitmap ist ung\xFCltig"},
    {SInvalidIcon, "Symbol ist ung\xFCltig"},
    {SJpegError, "JPEG-Fehler #%d (%s)"},
    {SUnknownExtension, "Unbekannte Grafikdateierweiterung (.%s)"},
    {SUnknownClipboardFormat, "Nicht unterst\xFCtztes Zwischenablageformat"},
    {SChangeIconSize, "Die Gr\xF6\xDF" "e eines Symbols kann nicht ge\xE4ndert werden"},
    {SScanLine, "Index der Scanlinie au\xDF" "erhalb des Bereichs"},
    {SOutOfResources, "Zu wenig Systemressourcen"},
    {SUnknownGraphicClass, "Unbekannte Grafikklasse %s"},
    {SAllFilter, "Alle"},
    {SVBitmaps, "Bitmaps"},
    {SVIcons, "Symbole"},
    {SVJpegImages, "JPEG-Bilddatei"},
    {SInvalidPixelFormat, "Ung\xFCltiges Pixelformat"},
    {SResNotFound, "Ressource %s wurde nicht gefunden"},
    {SChangeJpegSize, "Die Gr\xF6\xDF" "e eines JPEG-Bildes kann nicht ge\xE4ndert werden"},
};

static_assert(NumbersAreOwnAndInRange(kGraphicsTexts));

}  // namespace

std::string GraphicsStr(TGraphicsString ident) {
    static std::once_flag once;
    std::call_once(once, [] {
        for (const auto& text : kGraphicsTexts) RegisterResourceStrings({text});
    });
    return LoadStr(ident);
}
