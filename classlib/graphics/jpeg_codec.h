// libjpeg behind a plain interface. libjpeg reports fatal errors by
// longjmp, so these functions hold no C++ objects with destructors while
// it runs; every buffer they return is malloc'd and freed by the caller's
// JpegFree. Errors come back as a libjpeg message number and text.
#pragma once
#include <cstddef>
#include <cstdint>

struct TJpegError {
    int code = 0;
    char message[200] = {};
};

struct TJpegHeader {
    int width = 0, height = 0;
};

// Decoded pixels, rows top-down and unpadded: 3 bytes R, G, B per pixel,
// or with a colour map 1 byte per pixel indexing `map`.
struct TJpegPixels {
    int width = 0, height = 0;
    int bytesPerPixel = 0;
    uint8_t* rows = nullptr;
    int mapSize = 0;
    uint8_t map[256][3] = {};
};

struct TJpegBuffer {
    uint8_t* data = nullptr;
    size_t size = 0;
};

bool JpegReadHeader(const uint8_t* data, size_t size, TJpegHeader* header, TJpegError* error);
// scaleDenom 1, 2, 4 or 8; colors 0 for full colour, else quantised to at
// most that many (2..256).
bool JpegDecode(const uint8_t* data, size_t size, int scaleDenom, int colors, TJpegPixels* pixels,
                TJpegError* error);
// rgb: top-down rows of width * 3 bytes. Optimal Huffman tables.
bool JpegEncode(const uint8_t* rgb, int width, int height, int quality, TJpegBuffer* output, TJpegError* error);
void JpegFree(void* block);
