// Texts of the GIF picture classes, by resource number (registered on first
// use). Every failure of the GIF codecs is an EInvalidGraphicOperation
// carrying one of them.
#pragma once
#include <string>

enum TGifString : int {
    SGIFVersion = 61092,        // "Unknown GIF version"
    SGIFEncodeError = 61093,    // "GIF image encoding error"
    SGIFDecodeError = 61094,    // "GIF encoded data is corrupt"
    SGIFCodeSize = 61095,       // "GIF code size not in range 2 to 9"
    SWrongColorCount = 61096,   // "Wrong number of colors; must be a power of 2"
    SGIFUnknownBlock = 61097,   // "Unrecognized extension block: %.2x"
    SNoGIFData = 61098,         // "No GIF Data to write"
    SChangeGIFSize = 61099,     // "Cannot change the Size of a GIF image"
    SGIFImageDescription = 61100,  // "CompuServe GIF Image"
};

std::string GifStr(TGifString ident);
[[noreturn]] void RaiseGifError(TGifString ident);
// The class library's read error as the GIF classes report it (a stray byte
// where a block should begin, a damaged frame when not tolerated).
[[noreturn]] void RaiseGifReadError();
