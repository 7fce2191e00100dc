// Bitmaps as bitmap file images ("BM" header) of a requested pixel format,
// with the colours of 8-bit images reduced by one of six methods.
#pragma once
#include "classlib/core/streams.h"
#include "classlib/graphics/bitmap.h"
#include "imaging/codecs/color_quantizers.h"

// 2, 16 and 256 for pf1bit, pf4bit and pf8bit; 0 for any other format.
int ColorCountOfPixelFormat(TPixelFormat format);

// A new stream (the caller frees it) at position 0 holding the bitmap's file
// image in the format: its own when it already has that format (unless the
// method is rmGrayscale); 1 and 4 bits by the platform's conversion; 8 bits
// by the method; 24 bits as the platform gives them. Other formats end in
// "Function not yet implemented" and a silent abort.
TMemoryStream* ConvertBitmapPixelFormat(TBitmap* bitmap, TPixelFormat format, TReductionMethod method);
// The smallest of 1, 4, 8 and 24 bits per pixel that holds colorCount colours.
TMemoryStream* ReduceBitmapToColorCount(TBitmap* bitmap, int colorCount);
// EInvalidGraphic "Bitmap ist ungültig".
[[noreturn]] void RaiseInvalidBitmap();
