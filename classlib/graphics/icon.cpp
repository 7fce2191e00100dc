#include "classlib/graphics/icon.h"

#include <algorithm>
#include <cstring>
#include <tuple>

#include "classlib/core/class_builder.h"
#include "classlib/gui/canvas.h"
#include "classlib/core/byte_fields.h"
#include "classlib/core/exceptions.h"
#include "classlib/gui/scoped_win32.h"
#include "classlib/graphics/graphics_strings.h"
#include "classlib/core/streams.h"

namespace {

[[noreturn]] void RaiseInvalidIcon() {
    throw EInvalidGraphic(GraphicsStr(SInvalidIcon));
}

constexpr size_t kDirectorySize = 6, kEntrySize = 16;
constexpr uint64_t kMaxIconFile = 64u * 1024 * 1024;

uint32_t Be32(const uint8_t* p) { return static_cast<uint32_t>(p[0]) << 24 | p[1] << 16 | p[2] << 8 | p[3]; }

void ReadExactly(TStream& stream, void* buffer, size_t count) {
    if (count > INT32_MAX || stream.Read(buffer, static_cast<int32_t>(count)) != static_cast<int32_t>(count))
        RaiseInvalidIcon();
}

struct TIconImage {
    size_t offset = 0, size = 0;
    int32_t width = 0, height = 0;
    int bitCount = 0;
};

// Size and depth from the image itself: a DIB header or a PNG header.
TIconImage Describe(const std::vector<uint8_t>& file, size_t offset, size_t size) {
    TIconImage image{offset, size};
    const uint8_t* p = file.data() + offset;
    static const uint8_t png[8] = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};
    if (size >= 24 && memcmp(p, png, 8) == 0) {
        image.width = static_cast<int32_t>(Be32(p + 16));
        image.height = static_cast<int32_t>(Be32(p + 20));
        image.bitCount = 32;
    } else if (size >= 40 && GetLittleEndian<uint32_t>(p) == 40) {
        image.width = static_cast<int32_t>(GetLittleEndian<uint32_t>(p + 4));
        image.height = static_cast<int32_t>(GetLittleEndian<uint32_t>(p + 8)) / 2;  // colour and mask rows
        image.bitCount = GetLittleEndian<uint16_t>(p + 14);
    } else {
        RaiseInvalidIcon();
    }
    if (image.width <= 0 || image.height <= 0 || image.width > 1024 || image.height > 1024) RaiseInvalidIcon();
    return image;
}

// The image closest to the system icon size, then with the most colours
// the screen can show.
TIconImage ChooseImage(const std::vector<TIconImage>& images) {
    int wantX = GetSystemMetrics(SM_CXICON), wantY = GetSystemMetrics(SM_CYICON);
    TWindowDC screen(nullptr);
    int depth = GetDeviceCaps(screen, BITSPIXEL) * GetDeviceCaps(screen, PLANES);
    auto rank = [&](const TIconImage& i) {
        return std::make_tuple(std::abs(i.width - wantX) + std::abs(i.height - wantY), i.bitCount > depth,
                               -i.bitCount);
    };
    return *std::min_element(images.begin(), images.end(),
                             [&](const TIconImage& a, const TIconImage& b) { return rank(a) < rank(b); });
}

HICON CreateFromImage(const std::vector<uint8_t>& file, const TIconImage& image) {
    return CreateIconFromResourceEx(const_cast<uint8_t*>(file.data() + image.offset), static_cast<DWORD>(image.size),
                                    TRUE, 0x00030000, image.width, image.height, LR_DEFAULTCOLOR);
}

}  // namespace

const TClassInfo& TIcon::StaticClass() {
    static const TClassInfo info =
        DefineClass<TIcon>("TIcon", &TGraphic::StaticClass(), [](auto& c) { c.Creatable(); });
    return info;
}

TIcon::TIcon() = default;

TIcon::~TIcon() {
    Clear();
}

void TIcon::Clear() {
    if (handle_) DestroyIcon(handle_);
    handle_ = nullptr;
    data_.reset();
    image_offset_ = image_size_ = 0;
    width_ = height_ = 0;
}

void TIcon::SetWidth(int32_t) {
    throw EInvalidGraphicOperation(GraphicsStr(SChangeIconSize));
}

void TIcon::SetHeight(int32_t) {
    throw EInvalidGraphicOperation(GraphicsStr(SChangeIconSize));
}

HICON TIcon::Handle() const {
    if (!handle_ && data_) {
        TIconImage image{image_offset_, image_size_, width_, height_};
        handle_ = CreateFromImage(*data_, image);
        if (!handle_) RaiseInvalidIcon();
    }
    return handle_;
}

void TIcon::SetHandle(HICON icon) {
    if (icon && icon == handle_) return;
    Clear();
    handle_ = icon;
    ICONINFO info{};
    if (icon && GetIconInfo(icon, &info)) {
        // The icon's bitmaps are copies made for us.
        TGdiObject colour(info.hbmColor), maskBitmap(info.hbmMask);
        BITMAP mask{};
        GetObjectA(info.hbmMask, sizeof mask, &mask);
        width_ = mask.bmWidth;
        height_ = info.hbmColor ? mask.bmHeight : mask.bmHeight / 2;
    }
    Changed();
}

HICON TIcon::ReleaseHandle() {
    HICON icon = Handle();
    handle_ = nullptr;
    Clear();
    return icon;
}

void TIcon::Assign(const TPersistent* source) {
    if (!source) {
        Clear();
        Changed();
        return;
    }
    if (auto* icon = dynamic_cast<const TIcon*>(source)) {
        if (icon == this) return;
        std::shared_ptr<const std::vector<uint8_t>> data = icon->data_;
        HICON copy = !data && icon->handle_ ? CopyIcon(icon->handle_) : nullptr;
        Clear();
        data_ = std::move(data);
        image_offset_ = icon->image_offset_;
        image_size_ = icon->image_size_;
        width_ = icon->width_;
        height_ = icon->height_;
        handle_ = copy;
        Changed();
        return;
    }
    TGraphic::Assign(source);
}

void TIcon::LoadFromStream(TStream& stream) {
    uint8_t head[kDirectorySize];
    ReadExactly(stream, head, sizeof head);
    const uint16_t count = GetLittleEndian<uint16_t>(head + 4);
    if (GetLittleEndian<uint16_t>(head) != 0 || GetLittleEndian<uint16_t>(head + 2) != 1 || count == 0) RaiseInvalidIcon();
    std::vector<uint8_t> file(head, head + sizeof head);
    file.resize(kDirectorySize + kEntrySize * count);
    ReadExactly(stream, file.data() + kDirectorySize, kEntrySize * count);

    // Every image must lie inside the file behind the directory.
    uint64_t end = file.size();
    for (uint16_t i = 0; i < count; ++i) {
        const uint8_t* entry = file.data() + kDirectorySize + kEntrySize * i;
        uint64_t size = GetLittleEndian<uint32_t>(entry + 8), offset = GetLittleEndian<uint32_t>(entry + 12);
        if (offset < kDirectorySize + kEntrySize * count || size == 0 || offset + size > kMaxIconFile) RaiseInvalidIcon();
        end = std::max(end, offset + size);
    }
    const int64_t left = stream.Size() - stream.Position();
    if (left >= 0 && end - file.size() > static_cast<uint64_t>(left)) RaiseInvalidIcon();
    const size_t directoryEnd = file.size();
    file.resize(static_cast<size_t>(end));
    ReadExactly(stream, file.data() + directoryEnd, file.size() - directoryEnd);

    std::vector<TIconImage> images;
    for (uint16_t i = 0; i < count; ++i) {
        const uint8_t* entry = file.data() + kDirectorySize + kEntrySize * i;
        images.push_back(Describe(file, GetLittleEndian<uint32_t>(entry + 12), GetLittleEndian<uint32_t>(entry + 8)));
    }
    TIconImage chosen = ChooseImage(images);
    HICON icon = CreateFromImage(file, chosen);
    if (!icon) RaiseInvalidIcon();

    Clear();
    data_ = std::make_shared<const std::vector<uint8_t>>(std::move(file));
    handle_ = icon;
    image_offset_ = chosen.offset;
    image_size_ = chosen.size;
    width_ = chosen.width;
    height_ = chosen.height;
    Changed();
}

void TIcon::ReadData(TStream& stream) {
    if (stream.Position() >= stream.Size()) {
        Clear();
        Changed();
        return;
    }
    LoadFromStream(stream);
}

// One image: 24 bits (32 when the icon has alpha) or 1 bit, with its mask.
std::vector<uint8_t> TIcon::FileFromHandle() const {
    ICONINFO info{};
    if (!handle_ || !GetIconInfo(handle_, &info)) RaiseInvalidIcon();
    TGdiObject color(info.hbmColor), mask(info.hbmMask);
    const int32_t w = width_, h = height_;
    struct {
        BITMAPINFOHEADER header;
        RGBQUAD colors[2];
    } bmi{};
    bmi.header.biSize = sizeof(BITMAPINFOHEADER);
    bmi.header.biWidth = w;
    bmi.header.biPlanes = 1;
    TWindowDC screen(nullptr);
    std::vector<uint8_t> colorBits, maskBits;
    int bitCount = 1;
    const size_t maskStride = ((size_t(w) + 31) / 32) * 4;
    if (color.Get()) {
        bmi.header.biHeight = h;
        bmi.header.biBitCount = 32;
        std::vector<uint32_t> pixels(size_t(w) * h);
        GetDIBits(screen, static_cast<HBITMAP>(color.Get()), 0, h, pixels.data(),
                  reinterpret_cast<BITMAPINFO*>(&bmi), DIB_RGB_COLORS);
        bool alpha = std::any_of(pixels.begin(), pixels.end(), [](uint32_t p) { return p >> 24; });
        bitCount = alpha ? 32 : 24;
        const size_t stride = ((size_t(w) * bitCount + 31) / 32) * 4;
        colorBits.assign(stride * h, 0);
        for (int32_t y = 0; y < h; ++y)
            for (int32_t x = 0; x < w; ++x) {
                uint32_t p = pixels[size_t(y) * w + x];
                uint8_t* out = &colorBits[stride * y + size_t(x) * (bitCount / 8)];
                memcpy(out, &p, bitCount / 8);
            }
        bmi.header.biBitCount = 1;
        maskBits.assign(maskStride * h, 0);
        GetDIBits(screen, static_cast<HBITMAP>(mask.Get()), 0, h, maskBits.data(),
                  reinterpret_cast<BITMAPINFO*>(&bmi), DIB_RGB_COLORS);
    } else {
        // A monochrome icon's mask holds the AND rows above the XOR rows;
        // bottom-up that is XOR first, as the file wants.
        bmi.header.biHeight = 2 * h;
        bmi.header.biBitCount = 1;
        colorBits.assign(maskStride * 2 * h, 0);
        GetDIBits(screen, static_cast<HBITMAP>(mask.Get()), 0, 2 * h, colorBits.data(),
                  reinterpret_cast<BITMAPINFO*>(&bmi), DIB_RGB_COLORS);
    }

    std::vector<uint8_t> image;
    AppendLittleEndian<uint32_t>(image, 40);
    AppendLittleEndian<uint32_t>(image, static_cast<uint32_t>(w));
    AppendLittleEndian<uint32_t>(image, static_cast<uint32_t>(2 * h));
    AppendLittleEndian<uint16_t>(image, 1);
    AppendLittleEndian<uint16_t>(image, static_cast<uint32_t>(bitCount));
    AppendLittleEndian<uint32_t>(image, 0);
    AppendLittleEndian<uint32_t>(image, static_cast<uint32_t>(colorBits.size() + maskBits.size()));
    for (int i = 0; i < 4; ++i) AppendLittleEndian<uint32_t>(image, 0);
    if (bitCount == 1) {
        AppendLittleEndian<uint32_t>(image, 0x000000);
        AppendLittleEndian<uint32_t>(image, 0xFFFFFF);
    }
    image.insert(image.end(), colorBits.begin(), colorBits.end());
    image.insert(image.end(), maskBits.begin(), maskBits.end());

    std::vector<uint8_t> file;
    AppendLittleEndian<uint16_t>(file, 0);
    AppendLittleEndian<uint16_t>(file, 1);
    AppendLittleEndian<uint16_t>(file, 1);
    file.push_back(static_cast<uint8_t>(w >= 256 ? 0 : w));
    file.push_back(static_cast<uint8_t>(h >= 256 ? 0 : h));
    file.push_back(bitCount == 1 ? 2 : 0);
    file.push_back(0);
    AppendLittleEndian<uint16_t>(file, 1);
    AppendLittleEndian<uint16_t>(file, static_cast<uint32_t>(bitCount));
    AppendLittleEndian<uint32_t>(file, static_cast<uint32_t>(image.size()));
    AppendLittleEndian<uint32_t>(file, kDirectorySize + kEntrySize);
    file.insert(file.end(), image.begin(), image.end());
    return file;
}

void TIcon::SaveToStream(TStream& stream) {
    if (Empty()) return;
    const std::vector<uint8_t> made = data_ ? std::vector<uint8_t>() : FileFromHandle();
    const std::vector<uint8_t>& file = data_ ? *data_ : made;
    stream.WriteBuffer(file.data(), static_cast<int32_t>(file.size()));
}

void TIcon::Draw(TCanvas* canvas, const TRect& rect) {
    if (!canvas || Empty()) return;
    DrawIconEx(canvas->Handle(), rect.left, rect.top, Handle(), RectWidth(rect), RectHeight(rect), 0, nullptr,
               DI_NORMAL);
}
