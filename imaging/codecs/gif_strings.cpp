#include "imaging/codecs/gif_strings.h"

#include <mutex>

#include "classlib/core/exceptions.h"
#include "classlib/core/resstrings.h"

std::string GifStr(TGifString ident) {
    static std::once_flag once;
    std::call_once(once, [] {
        RegisterResourceStrings({
            {SGIFVersion, "Unknown GIF version"},
            {SGIFEncodeError, "GIF image encoding error"},
            {SGIFDecodeError, "GIF encoded data is corrupt"},
            {SGIFCodeSize, "GIF code size not in range 2 to 9"},
            {SWrongColorCount, "Wrong number of colors; must be a power of 2"},
            {SGIFUnknownBlock, "Unrecognized extension block: %.2x"},
            {SNoGIFData, "No GIF Data to write"},
            {SChangeGIFSize, "Cannot change the Size of a GIF image"},
            {SGIFImageDescription, "CompuServe GIF Image"},
        });
    });
    return LoadStr(ident);
}

void RaiseGifError(TGifString ident) {
    throw EInvalidGraphicOperation(GifStr(ident));
}

void RaiseGifReadError() {
    throw EInvalidGraphicOperation(LoadStr(SReadError));
}
