// The data of a GIF picture as the picture classes keep it: picture-wide
// data and each frame's encoded data (both shared between copies), the
// extension blocks kept with a frame, and the fields of a frame and of a
// picture. Free of the platform: reading and writing GIF bytes work on these.
#pragma once
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "classlib/core/color.h"
#include "classlib/core/persistent.h"
#include "classlib/core/stringlist.h"

// A colour table: Count valid entries (0 = none) of red, green, blue.
struct ColorTableRec {
    int32_t Count = 0;
    uint8_t Entries[256][3] = {};
};

enum TGifExtensionKind : uint8_t { ekGraphicControl = 0, ekPlainText = 1, ekApplication = 2, ekComment = 3 };
// The GIF label of each kind, in the order of the kinds.
constexpr uint8_t kGifExtensionLabels[4] = {0xF9, 0x01, 0xFF, 0xFE};
// The fixed bytes after the label, block-size byte included.
constexpr size_t kGifExtensionFixedSize[4] = {6, 13, 12, 0};

// One extension block kept with a frame.
class TExtension : public TPersistent {
    DECLARE_CLASS(TExtension, TPersistent)
public:
    void Assign(const TPersistent* source) override;

    uint8_t Kind = ekGraphicControl;
    std::vector<uint8_t> FixedBytes;
    // The data sub-blocks, one line per non-empty sub-block; nullptr when none.
    TOwned<TStringList> Blocks;
};

// Picture-wide data, shared between copies.
struct TGIFData {
    TGIFData();
    TOwned<TStringList> ImageComment;  // lines after the last frame
    uint8_t PixelAspect = 0;
    uint8_t ColorBits = 0;
    uint8_t ColorResolution = 0;
    ColorTableRec GlobalColorTable;
};

// One frame's encoded data, shared between copies: the code size byte and
// the data sub-blocks with their terminator, exactly as in a GIF file.
struct TGIFItem {
    std::vector<uint8_t> EncodedData;
    int32_t Width = 0, Height = 0;
    uint8_t DescriptorFlags = 0;
    uint8_t ColorBits = 0;  // 0 while unknown
    ColorTableRec ColorTable;
};

struct TGifOrigin {
    int32_t Left = 0, Top = 0;
};

// What a frame holds besides its decoded bitmap.
struct TGifFrameRecord {
    TGifFrameRecord() : Item(std::make_shared<TGIFItem>()) {}
    TGifFrameRecord(TGifFrameRecord&&) = default;
    TGifFrameRecord& operator=(TGifFrameRecord&&) = default;

    // A new empty item, no flags, no transparency, no delay, origin (0, 0).
    void ResetRecord();
    // The last comment extension's lines (created when asked to and missing).
    TStringList* CommentLines(bool create);
    // The last graphic control extension, or nullptr.
    TExtension* GraphicControl() const;

    std::shared_ptr<TGIFItem> Item;
    std::vector<TOwned<TExtension>> ExtensionList;
    TGifOrigin Origin;
    bool IsInterlaced = false;
    bool IsDamaged = false;
    bool GreyReduced = false;
    bool HasLocalColors = false;
    TColor TransparentColor = clNone;
    uint16_t DelayTime = 0;  // milliseconds
    uint8_t DisposalMethod = 0;
};

enum TGifFormatVersion : uint8_t { gvNone = 0, gv87a = 1, gv89a = 2 };

// The fields of a picture besides its frames.
struct TGifPictureRecord {
    TGifPictureRecord() : Data(std::make_shared<TGIFData>()) {}
    // New empty data; no background, loop count 1, looping off, no version.
    void ResetRecord();

    std::shared_ptr<TGIFData> Data;
    uint8_t FormatVersion = gvNone;
    uint16_t ScreenWidth = 0, ScreenHeight = 0;
    TColor BackgroundColor = clNone;
    bool LoopEnabled = false;
    uint16_t LoopCount = 1;
};

// Red, green, blue into a TColor (red in the low byte).
inline TColor TripleToColor(const uint8_t* triple) {
    return static_cast<TColor>(triple[0] | triple[1] << 8 | triple[2] << 16);
}
// 2, 4, ..., 256 give 1 to 8; any other count raises "Wrong number of colors".
int ColorCountToBits(int32_t count);
// The first index whose colour equals ColorToRGB(color); -1 for clNone or none.
int FindColorIndex(const ColorTableRec& table, TColor color);
