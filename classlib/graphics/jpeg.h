// TJPEGImage: JPEG pictures through libjpeg. Keeps the compressed bytes
// and decodes them into an internal TBitmap for drawing; a picture assigned
// from a bitmap is compressed when it is saved.
#pragma once
#include <cstdint>
#include <vector>

#include "classlib/graphics/bitmap.h"
#include "classlib/gui/graphic.h"

enum TJPEGScale { jsFullSize, jsHalf, jsQuarter, jsEighth };
DECLARE_ENUM_TYPE(TJPEGScale)
enum TJPEGPixelFormat { jf24Bit, jf8Bit };
DECLARE_ENUM_TYPE(TJPEGPixelFormat)

class TJPEGImage : public TGraphic {
    DECLARE_CLASS(TJPEGImage, TGraphic)
public:
    TJPEGImage();
    ~TJPEGImage() override;

    void Assign(const TPersistent* source) override;
    bool Empty() const override { return data_.empty() && !bitmap_; }
    // The size drawn: the image's size divided by Scale.
    int32_t Width() const override;
    int32_t Height() const override;
    // Raise EInvalidGraphicOperation: the size is the image's.
    void SetWidth(int32_t width) override;
    void SetHeight(int32_t height) override;

    // 1..100; used by the next compression.
    int32_t CompressionQuality() const { return quality_; }
    void SetCompressionQuality(int32_t quality);
    // Decoding options; changing one decodes again when next needed.
    TJPEGScale Scale() const { return scale_; }
    void SetScale(TJPEGScale scale);
    TJPEGPixelFormat PixelFormat() const { return pixel_format_; }
    void SetPixelFormat(TJPEGPixelFormat format);

    // Encodes the internal bitmap (after Assign from a picture).
    void Compress();
    // Decodes the JPEG data into the internal bitmap.
    void DIBNeeded();
    // The decoded picture (decoding on demand); nullptr when empty.
    TBitmap* Bitmap();

    // Reads the rest of the stream as one JPEG file; it is decoded at once,
    // so damaged or cut-off data raises EInvalidGraphic here.
    void LoadFromStream(TStream& stream) override;
    void SaveToStream(TStream& stream) override;
    void Draw(TCanvas* canvas, const TRect& rect) override;
    // Layouts: "Data" holds the JPEG file bytes, nothing before them.
    void ReadData(TStream& stream) override;

private:
    TOwned<TBitmap> Decode(const std::vector<uint8_t>& data) const;

    std::vector<uint8_t> data_;
    TOwned<TBitmap> bitmap_;
    int32_t image_width_ = 0, image_height_ = 0;
    int32_t quality_ = 90;
    TJPEGScale scale_ = jsFullSize;
    TJPEGPixelFormat pixel_format_ = jf24Bit;
};

// Adds jpg and jpeg to the picture file formats; programs call it at start.
void RegisterJpegFormat();
