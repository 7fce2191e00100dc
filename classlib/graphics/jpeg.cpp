#include "classlib/graphics/jpeg.h"

#include <cstring>

#include "classlib/core/class_builder.h"
#include "classlib/graphics/bmp_codec.h"
#include "classlib/core/exceptions.h"
#include "classlib/graphics/graphics_strings.h"
#include "classlib/graphics/jpeg_codec.h"
#include "classlib/graphics/picture.h"
#include "classlib/core/streams.h"
#include "classlib/core/strutils.h"

DEFINE_ENUM_TYPE(TJPEGScale, "jsFullSize", "jsHalf", "jsQuarter", "jsEighth")
DEFINE_ENUM_TYPE(TJPEGPixelFormat, "jf24Bit", "jf8Bit")

namespace {

[[noreturn]] void RaiseJpegError(const TJpegError& error) {
    throw EInvalidGraphic(Format(GraphicsStr(SJpegError), {error.code, std::string(error.message)}));
}

int ScaleDenominator(TJPEGScale scale) {
    return 1 << static_cast<int>(scale);
}

// Frees a codec buffer however the copy out of it ends.
struct TCodecBlock {
    void* block;
    ~TCodecBlock() { JpegFree(block); }
};

}  // namespace

const TClassInfo& TJPEGImage::StaticClass() {
    static const TClassInfo info =
        DefineClass<TJPEGImage>("TJPEGImage", &TGraphic::StaticClass(), [](auto& c) { c.Creatable(); });
    return info;
}

TJPEGImage::TJPEGImage() = default;
TJPEGImage::~TJPEGImage() = default;

int32_t TJPEGImage::Width() const {
    if (bitmap_) return bitmap_->Width();
    int d = ScaleDenominator(scale_);
    return (image_width_ + d - 1) / d;
}

int32_t TJPEGImage::Height() const {
    if (bitmap_) return bitmap_->Height();
    int d = ScaleDenominator(scale_);
    return (image_height_ + d - 1) / d;
}

void TJPEGImage::SetWidth(int32_t) {
    throw EInvalidGraphicOperation(GraphicsStr(SChangeJpegSize));
}

void TJPEGImage::SetHeight(int32_t) {
    throw EInvalidGraphicOperation(GraphicsStr(SChangeJpegSize));
}

void TJPEGImage::SetCompressionQuality(int32_t quality) {
    quality_ = std::clamp(quality, 1, 100);
}

void TJPEGImage::SetScale(TJPEGScale scale) {
    if (scale == scale_) return;
    scale_ = scale;
    if (!data_.empty()) bitmap_.reset();
    Changed();
}

void TJPEGImage::SetPixelFormat(TJPEGPixelFormat format) {
    if (format == pixel_format_) return;
    pixel_format_ = format;
    if (!data_.empty()) bitmap_.reset();
    Changed();
}

TOwned<TBitmap> TJPEGImage::Decode(const std::vector<uint8_t>& data) const {
    TJpegPixels pixels;
    TJpegError error;
    const int colors = pixel_format_ == jf8Bit ? 256 : 0;
    if (!JpegDecode(data.data(), data.size(), ScaleDenominator(scale_), colors, &pixels, &error))
        RaiseJpegError(error);
    TCodecBlock guard{pixels.rows};
    auto bitmap = MakeOwned<TBitmap>();
    const size_t stride = size_t(pixels.width) * pixels.bytesPerPixel;
    if (pixels.bytesPerPixel == 1) {
        // Quantised: a palette DIB with libjpeg's colour map.
        TDibImage image;
        image.width = pixels.width;
        image.height = pixels.height;
        image.bitCount = 8;
        for (int i = 0; i < pixels.mapSize; ++i)
            image.colors.push_back(uint32_t(pixels.map[i][0]) << 16 | uint32_t(pixels.map[i][1]) << 8 |
                                   pixels.map[i][2]);
        image.bits.resize(image.Stride() * image.height);
        for (int y = 0; y < pixels.height; ++y)
            memcpy(&image.bits[image.Stride() * (pixels.height - 1 - y)], pixels.rows + stride * y, stride);
        TMemoryStream bmp;
        WriteBmpFile(bmp, image);
        bmp.SetPosition(0);
        bitmap->LoadFromStream(bmp);
    } else {
        bitmap->SetPixelFormat(pf24bit);
        bitmap->SetSize(pixels.width, pixels.height);
        for (int y = 0; y < pixels.height; ++y) {
            auto* out = static_cast<uint8_t*>(bitmap->ScanLine(y));
            const uint8_t* in = pixels.rows + stride * y;
            for (int x = 0; x < pixels.width; ++x) {
                out[3 * x] = in[3 * x + 2];
                out[3 * x + 1] = in[3 * x + 1];
                out[3 * x + 2] = in[3 * x];
            }
        }
        if (pixel_format_ == jf8Bit) bitmap->SetPixelFormat(pf8bit);  // CMYK pictures
    }
    return bitmap;
}

void TJPEGImage::DIBNeeded() {
    if (bitmap_ || data_.empty()) return;
    bitmap_ = Decode(data_);
}

TBitmap* TJPEGImage::Bitmap() {
    DIBNeeded();
    return bitmap_.get();
}

void TJPEGImage::Compress() {
    if (!bitmap_ || bitmap_->Empty()) return;
    const int w = bitmap_->Width(), h = bitmap_->Height();
    std::vector<uint32_t> pixels = bitmap_->Pixels32();
    std::vector<uint8_t> rgb(pixels.size() * 3);
    for (size_t i = 0; i < pixels.size(); ++i) {
        rgb[3 * i] = static_cast<uint8_t>(pixels[i] >> 16);
        rgb[3 * i + 1] = static_cast<uint8_t>(pixels[i] >> 8);
        rgb[3 * i + 2] = static_cast<uint8_t>(pixels[i]);
    }
    TJpegBuffer output;
    TJpegError error;
    if (!JpegEncode(rgb.data(), w, h, quality_, &output, &error)) RaiseJpegError(error);
    TCodecBlock guard{output.data};
    data_.assign(output.data, output.data + output.size);
    image_width_ = w;
    image_height_ = h;
}

void TJPEGImage::Assign(const TPersistent* source) {
    if (!source) {
        data_.clear();
        bitmap_.reset();
        image_width_ = image_height_ = 0;
        Changed();
        return;
    }
    if (auto* jpeg = dynamic_cast<const TJPEGImage*>(source)) {
        if (jpeg == this) return;
        TOwned<TBitmap> copy;
        if (jpeg->bitmap_) {
            copy = MakeOwned<TBitmap>();
            copy->Assign(jpeg->bitmap_.get());
        }
        data_ = jpeg->data_;
        bitmap_ = std::move(copy);
        image_width_ = jpeg->image_width_;
        image_height_ = jpeg->image_height_;
        quality_ = jpeg->quality_;
        scale_ = jpeg->scale_;
        pixel_format_ = jpeg->pixel_format_;
        Changed();
        return;
    }
    if (dynamic_cast<const TGraphic*>(source)) {
        // Another picture: kept as a 24-bit bitmap, compressed on saving.
        auto copy = MakeOwned<TBitmap>();
        copy->SetPixelFormat(pf24bit);
        copy->Assign(source);
        copy->SetPixelFormat(pf24bit);
        copy->SetTransparent(false);
        data_.clear();
        image_width_ = copy->Width();
        image_height_ = copy->Height();
        bitmap_ = std::move(copy);
        Changed();
        return;
    }
    TGraphic::Assign(source);
}

void TJPEGImage::LoadFromStream(TStream& stream) {
    int64_t left = stream.Size() - stream.Position();
    if (left < 0 || left > INT32_MAX) left = 0;  // unknown size: libjpeg reports the empty input
    std::vector<uint8_t> data(static_cast<size_t>(left));
    if (left) stream.ReadBuffer(data.data(), static_cast<int32_t>(left));
    TJpegHeader header;
    TJpegError error;
    if (!JpegReadHeader(data.data(), data.size(), &header, &error)) RaiseJpegError(error);
    TOwned<TBitmap> bitmap = Decode(data);
    data_ = std::move(data);
    bitmap_ = std::move(bitmap);
    image_width_ = header.width;
    image_height_ = header.height;
    Changed();
}

void TJPEGImage::ReadData(TStream& stream) {
    if (stream.Position() >= stream.Size()) {
        Assign(nullptr);
        return;
    }
    LoadFromStream(stream);
}

void TJPEGImage::SaveToStream(TStream& stream) {
    if (data_.empty()) Compress();
    if (!data_.empty()) stream.WriteBuffer(data_.data(), static_cast<int32_t>(data_.size()));
}

void TJPEGImage::Draw(TCanvas* canvas, const TRect& rect) {
    if (TBitmap* bitmap = Bitmap()) bitmap->Draw(canvas, rect);
}

void RegisterJpegFormat() {
    RegisterClass(TJPEGImage::StaticClass());
    TPicture::RegisterFileFormat("jpeg", GraphicsStr(SVJpegImages), TJPEGImage::StaticClass());
    TPicture::RegisterFileFormat("jpg", GraphicsStr(SVJpegImages), TJPEGImage::StaticClass());
}
