// Reading GIF data ("87a" and "89a") into the picture model, each frame's
// LZW data kept as it stands; and turning one frame into a BMP file image.
#pragma once
#include <cstddef>
#include <cstdint>
#include <vector>

#include "imaging/codecs/gif_lzw.h"
#include "imaging/codecs/gif_model.h"

// Whether damaged frames are kept (marked IsDamaged) instead of failing.
extern bool TolerateCorruptFrames;

// Reads size bytes of GIF data into picture (reset first) and frames
// (appended). Errors raise EInvalidGraphicOperation (EReadError for data that
// ends inside a fixed-size part); the frames completed before stay.
void ReadGifData(const uint8_t* data, size_t size, TGifPictureRecord& picture,
                 std::vector<TGifFrameRecord>& frames);

// The bits per pixel a frame decodes to: 1, 4 or 8 for colour bits 1, 2-4,
// 5-8; anything else raises "Wrong number of colors".
int FrameBitCount(int colorBits);

// A complete BMP file image (file header, 40-byte info header, 2^b palette
// entries, bottom-up rows) of the frame's pixels. A frame without pixels or
// too large to hold raises. Returns whether the LZW data was damaged.
bool DecodeFrameToBmp(const TGIFItem& item, bool interlaced, std::vector<uint8_t>& bmp,
                      const TGifProgress& progress = nullptr);
