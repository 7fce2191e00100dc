// Writing the picture model as GIF data. Frames are written from their
// encoded data as it stands; the picture classes encode frames made from
// bitmaps first (EncodeLZW).
#pragma once
#include <cstdint>
#include <vector>

#include "imaging/codecs/gif_model.h"

// Brings the frame's graphic control extension in line with its delay,
// transparent colour and disposal (creating one when they need it), drops
// comment extensions without lines, and makes the version "89a" when
// extensions remain.
void AlignFrameExtensions(TGifFrameRecord& frame, uint8_t& formatVersion);

// Appends the whole GIF: header, screen descriptor (with the picture's
// screen size as it stands), global table, loop block, each frame with its
// extensions, the picture's comment and the trailer. A picture comment makes
// the version "89a". Raises "Wrong number of colors" for a global table whose
// count is no power of two.
void WriteGifData(TGifPictureRecord& picture, const std::vector<const TGifFrameRecord*>& frames,
                  std::vector<uint8_t>& out);

// Lines as data sub-blocks (a line longer than 255 bytes takes several),
// then the terminator.
void WriteGifBlocks(const TStrings* lines, std::vector<uint8_t>& out);
