// Pixwell.dll: the image library both programs draw menu pictures with.
// This header is shared by the DLL and the programs' binding.
//
// Every export uses the C calling convention (cdecl, the caller pops the
// arguments) and is exported under its plain name through pixwell.def.
// Records passed by value are copies of the whole 1084-byte TDIB.
#pragma once
#include <cstddef>
#include <cstdint>

#ifdef _WIN32
#define PIXWELL_API __cdecl
#else
#define PIXWELL_API
#endif

// Logical palette as the platform's CreatePalette takes it (LOGPALETTE with
// room for 256 entries); each entry is red, green, blue, flags.
struct TDIBLogPalette {
    uint16_t Version;
    uint16_t Count;
    uint8_t Entries[256][4];
};

// The library's image record. The programs read only Info, Bits,
// BytesPerLine, HasPalette and Palette; the rest belongs to the library.
// The 32-bit library keeps the 1084-byte layout asserted below; the 64-bit
// library has the same fields in their natural 64-bit layout (the pointers
// grow to 8 bytes, with alignment padding before Bits and Palette).
struct TDIB {
    void* Info;                 // BITMAPINFO: header, then the colour table
    uint32_t InfoSize;          // library: bytes of the Info block
    uint32_t BitsSize;          // library: bytes of the Bits block
    void* Bits;                 // pixel rows, bottom-up; nullptr = no image
    int32_t BytesPerLine;       // multiple of 4
    uint8_t HasPalette;         // 1: select Palette before drawing
    uint8_t Reserved1[3];
    TDIBLogPalette LogPalette;  // library: what Palette was made from
    void* Palette;              // HPALETTE
    uint8_t Reserved2[28];
};

static_assert(sizeof(TDIBLogPalette) == 1028);
#if !defined(__x86_64__) && !defined(_WIN64)
static_assert(sizeof(void*) == 4);
static_assert(sizeof(TDIB) == 1084);
static_assert(offsetof(TDIB, Info) == 0);
static_assert(offsetof(TDIB, Bits) == 12);
static_assert(offsetof(TDIB, BytesPerLine) == 16);
static_assert(offsetof(TDIB, HasPalette) == 20);
static_assert(offsetof(TDIB, Palette) == 1052);
#endif

extern "C" {

// Loads a BMP or JPEG file. The record is zeroed first; on success Bits is
// set and the result is nonzero. Failures are silent: Bits stays nullptr and
// the record owns nothing. `reserved` is 0; `window` is not used.
int32_t PIXWELL_API OpenDib(TDIB* dib, const char* fileName, int32_t reserved, void* window);

// Frees what the record owns (Info, Bits, Palette). Records the library did
// not fill, and records already freed, are left alone.
void PIXWELL_API deldib(TDIB dib);

// Fills the record with an empty image: Bits zeroed, `colors` colour-table
// entries copied from `colorSource` (a BITMAPINFO) or zeroed when it is
// nullptr. Bit counts 1, 4, 8, 16, 24, 32; nonzero on success.
int32_t PIXWELL_API newdib(TDIB* dib, int32_t width, int32_t height, int32_t bitCount, const void* colorSource,
                           int32_t colors);

// An 8-bit ordered-dither copy of the source on a fixed colour cube, with
// its palette (HasPalette 1); the XY form scales to width x height. Nonzero
// on success; on failure the result has no Bits.
int32_t PIXWELL_API DIBHalftoneDIB(TDIB* result, TDIB source);
int32_t PIXWELL_API DIBHalftoneDIBXY(TDIB* result, TDIB source, int32_t width, int32_t height);

// Pixel value at column x of stored row y (row 0 is the bottom row): the
// colour index for up to 8 bits, the 16-bit word for 16 bits, and the
// platform's RGB value (0x00BBGGRR) for 24 and 32 bits. Outside the image
// getpixel returns 0 and setpixel does nothing.
uint32_t PIXWELL_API getpixel(TDIB dib, int32_t x, int32_t y);
void PIXWELL_API setpixel(TDIB dib, int32_t x, int32_t y, uint32_t value);

// File-dialog filter ("description|patterns|...") of what OpenDib reads.
const char* PIXWELL_API GetDIBOpenFilter();
}
