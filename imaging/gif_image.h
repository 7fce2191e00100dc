// TGIFImage: GIF pictures of one or more frames as a graphic of the class
// library, registered with TPicture for ".gif" files and the clipboard
// format "GIF Image". Frames keep their LZW data as read and are decoded
// when first shown; frames made from other pictures are encoded when the
// picture is written.
#pragma once
#include <cstdint>
#include <vector>

#include "classlib/graphics/bitmap.h"
#include "classlib/gui/graphic.h"
#include "imaging/codecs/gif_lzw.h"
#include "imaging/codecs/gif_model.h"
#include "imaging/codecs/gif_reader.h"

class TGIFImage;

// One image of a GIF picture.
class TGIFFrame : public TPersistent, public TGifFrameRecord {
    DECLARE_CLASS(TGIFFrame, TPersistent)
public:
    explicit TGIFFrame(TGIFImage* owner);
    ~TGIFFrame() override;

    // nullptr, another frame (sharing its encoded data), a GIF picture (its
    // current frame) or any other graphic (copied as a bitmap).
    void Assign(const TPersistent* source) override;

    // The decoded frame, decoding on first use; an empty bitmap when there
    // is nothing to decode. A failed decode leaves it empty and raises.
    TBitmap* GetBitmap();
    // The frame's size (decoding when needed); 0 without any data.
    int32_t Width();
    int32_t Height();
    // The frame stretched over rect; with transparent and a transparent
    // colour, that colour is left out.
    void Draw(TCanvas& canvas, const TRect& rect, bool transparent);
    // The lines of the frame's comment extension (made when missing).
    TStrings* FrameComment();
    void SetFrameComment(const TStrings* lines);
    void ResetFrame();
    void NewBitmap();
    // LZW-encodes DecodedBitmap into the frame's item (reducing it to 8 bits
    // per pixel first when it has more).
    void EncodeBitmap();
    // Into another frame or GIF picture, or as a bitmap into any graphic (a
    // bitmap also takes the transparent colour).
    void AssignTo(TPersistent* dest) const override;

    TGIFImage* OwnerImage() const { return owner_; }
    TBitmap* DecodedBitmap() const { return decoded_.get(); }

private:
    friend class TGIFImage;
    TGIFImage* owner_;
    TOwned<TBitmap> decoded_;
};

// A source frame of an animation handed to a GIF picture: its picture and
// its display rate in 1/60 s.
struct TAnimationFrame {
    TGraphic* Picture = nullptr;
    int32_t Rate = 0;
};

class TGIFImage : public TGraphic, public TGifPictureRecord {
    DECLARE_CLASS(TGIFImage, TGraphic)
public:
    TGIFImage();
    ~TGIFImage() override;
    void BeforeDestruction() override;

    void Assign(const TPersistent* source) override;
    bool Empty() const override;
    // The current frame's size (not the screen's); 0 when empty.
    int32_t Width() const override;
    int32_t Height() const override;
    // Raise EInvalidGraphicOperation: the size is the frames'.
    void SetWidth(int32_t width) override;
    void SetHeight(int32_t height) override;
    HPALETTE Palette() const override;
    // True when the picture is transparent and any frame has a transparent colour.
    bool Transparent() const override;

    // Reads from the stream's position to its end; frame 0 is decoded.
    void LoadFromStream(TStream& stream) override;
    void SaveToStream(TStream& stream) override;
    void LoadFromClipboardFormat(UINT format, HANDLE data, HPALETTE palette) override;
    void SaveToClipboardFormat(UINT& format, HANDLE& data, HPALETTE& palette) override;
    void Draw(TCanvas* canvas, const TRect& rect) override;
    // Layouts: a signed 32-bit byte count, then the GIF bytes.
    void ReadData(TStream& stream) override;
    void WriteData(TStream& stream) override;

    // Adds a frame made from the graphic; returns its index (the new current frame).
    virtual int32_t AddFrame(TGraphic* graphic);
    // Replaces the frames by one per animation frame, each shown for its
    // rate (1/60 s) in milliseconds, on the window colour.
    void AssignAnimation(const std::vector<TAnimationFrame>& frames);

    void Clear();
    int32_t FrameCount() const { return static_cast<int32_t>(frames_.size()); }
    TGIFFrame* Frames(int32_t index) const { return frames_.at(static_cast<size_t>(index)).get(); }
    int32_t CurrentFrame() const { return current_frame_; }
    void SetCurrentFrame(int32_t index) { current_frame_ = index; }
    // The current frame's bitmap (frame 0 when the index is out of range; a
    // picture without frames gets one empty frame).
    TBitmap* CurrentBitmap();
    void UpdateScreenSize();
    // Gives every frame encoded data and a graphic control extension that
    // matches its delay, transparency and disposal.
    void EncodeFrames();
    void ReadGIFStream(int64_t size, TStream& stream, bool decodeFirst);
    void WriteGIFStream(TStream& stream, bool withSizePrefix);

    // Into another GIF picture, or as the current frame into any graphic.
    void AssignTo(TPersistent* dest) const override;

protected:
    bool Equals(const TGraphic* other) const override;

private:
    friend class TGIFFrame;
    void FreeFrames();
    // The progress event as the codecs report it (none without a handler).
    TGifProgress FrameProgress();

    std::vector<TOwned<TGIFFrame>> frames_;
    int32_t current_frame_ = -1;
};

// Makes TGIFFrame and TGIFImage known to layouts.
void RegisterGIFImageClasses();
// The clipboard format "GIF Image" (0 before StartGIFImageUnit).
UINT GIFClipboardFormat();
// Registers the clipboard format and the picture format ".gif" and makes the
// classes known to layouts; StopGIFImageUnit takes the formats back. Both run
// once per process however often they are called.
void StartGIFImageUnit();
void StopGIFImageUnit();
