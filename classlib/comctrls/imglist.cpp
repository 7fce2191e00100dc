#include "classlib/comctrls/imglist.h"

#include <algorithm>

#include "classlib/core/class_builder.h"
#include "classlib/gui/canvas.h"
#include "classlib/core/filer.h"
#include "classlib/gui/graphics_objects.h"
#include "classlib/comctrls/imagelist_gdi.h"
#include "classlib/core/resstrings.h"
#include "classlib/core/scope_exit.h"
#include "classlib/core/streams.h"
#include "classlib/gui/scoped_win32.h"

DEFINE_ENUM_TYPE(TDrawingStyle, "dsFocus", "dsSelected", "dsNormal", "dsTransparent")
DEFINE_ENUM_TYPE(TImageType, "itImage", "itMask")

namespace {

const char* const kImageIndexError = "Ung\xFCltiger Index f\xFC" "r die Bilderliste";
const char* const kAddImageError = "Das Bild kann nicht zur Bilderliste hinzugef\xFCgt werden";
const char* const kImageSizeError = "Ung\xFCltige Bildgr\xF6\xDF" "e";
const char* const kCreateListError = "Die Bilderliste kann nicht angelegt werden";

constexpr int kAllocBy = 4;

COLORREF ListColor(TColor color) {
    if (color == clNone) return CLR_NONE;
    if (color == clDefault) return CLR_DEFAULT;
    return static_cast<COLORREF>(ColorToRGB(color));
}

// A mask that keeps every pixel.
TStripMask OpaqueMask(int32_t width, int32_t height) {
    TStripMask mask;
    mask.Width = width;
    mask.Height = height;
    mask.Bits.assign(static_cast<size_t>(width) * static_cast<size_t>(height), 0);
    return mask;
}

// Adds a strip of images to a list; -1 on failure.
int AddStrip(HIMAGELIST list, const TStripPixels& image, const TStripMask* mask) {
    TGdiObject colour(CreateColorBitmap(image));
    TGdiObject shape(mask ? CreateMaskBitmap(*mask) : nullptr);
    return ImageList_Add(list, static_cast<HBITMAP>(colour.Get()), static_cast<HBITMAP>(shape.Get()));
}

}  // namespace

// ---------------------------------------------------------------- TChangeLink

TChangeLink::~TChangeLink() {
    if (sender_) sender_->UnRegisterChanges(this);
}

// ---------------------------------------------------------- TCustomImageList

const TClassInfo& TCustomImageList::StaticClass() {
    static const TClassInfo info =
        DefineClass<TCustomImageList>("TCustomImageList", &TComponent::StaticClass(), [](auto& c) {
            PROPERTY(c, BkColor, TypeInfoColor()).Default(clNone).Hidden();
            PROPERTY(c, DrawingStyle).Default(dsNormal).Hidden();
            PROPERTY(c, Height).Default(16).Hidden();
            PROPERTY(c, ImageType).Default(itImage).Hidden();
            PROPERTY(c, Masked).Default(true).Hidden();
            EVENT(c, OnChange).Hidden();
            PROPERTY(c, Width).Default(16).Hidden();
        });
    return info;
}

const TClassInfo& TImageList::StaticClass() {
    static const TClassInfo info = DefineClass<TImageList>("TImageList", &TCustomImageList::StaticClass(), [](auto& c) {
        c.Creatable();
        c.PublishAll("BkColor", "DrawingStyle", "Height", "ImageType", "Masked", "OnChange", "Width");
    });
    return info;
}

TCustomImageList::TCustomImageList(TComponent* owner) : TComponent(owner) {}

TCustomImageList::~TCustomImageList() {
    for (TChangeLink* link : links_) link->sender_ = nullptr;
    DestroyHandle();
}

void TCustomImageList::BeforeDestruction() {
    // Users drop the list (free notification) before its handle goes.
    TComponent::BeforeDestruction();
    for (TChangeLink* link : links_) link->sender_ = nullptr;
    links_.clear();
}

void TCustomImageList::DestroyHandle() {
    if (handle_) ImageList_Destroy(handle_);
    handle_ = nullptr;
}

HIMAGELIST TCustomImageList::CreateList(int32_t width, int32_t height, bool masked) const {
    HIMAGELIST list = ImageList_Create(width, height, ILC_COLOR24 | (masked ? ILC_MASK : 0), kAllocBy, kAllocBy);
    if (!list) throw EInvalidOperation(kCreateListError);
    return list;
}

HIMAGELIST TCustomImageList::Handle() {
    if (!handle_) {
        handle_ = CreateList(width_, height_, masked_);
        ApplyBkColor();
    }
    return handle_;
}

int TCustomImageList::Count() const {
    return handle_ ? ImageList_GetImageCount(handle_) : 0;
}

void TCustomImageList::CheckSize(int32_t value) const {
    if (value < 1 || value > 32767) throw EInvalidOperation(kImageSizeError);
}

void TCustomImageList::SetWidth(int32_t width) {
    SetSize(width, height_);
}

void TCustomImageList::SetHeight(int32_t height) {
    SetSize(width_, height);
}

void TCustomImageList::SetSize(int32_t width, int32_t height) {
    if (width == width_ && height == height_) return;
    CheckSize(width);
    CheckSize(height);
    width_ = width;
    height_ = height;
    if (handle_) ImageList_SetIconSize(handle_, width, height);
    Change();
}

void TCustomImageList::SetMasked(bool masked) {
    if (masked == masked_) return;
    if (handle_) {
        int count = Count();
        TImageListHandle list(CreateList(width_, height_, masked));
        if (count > 0) {
            TStripPixels image;
            CaptureImageList(handle_, width_, height_, count, image, nullptr);
            TStripMask opaque = OpaqueMask(image.Width, image.Height);
            if (AddStrip(list.Get(), image, masked ? &opaque : nullptr) < 0) throw EInvalidOperation(kAddImageError);
        }
        DestroyHandle();
        handle_ = list.Release();
        ApplyBkColor();
    }
    masked_ = masked;
    Change();
}

void TCustomImageList::ApplyBkColor() {
    if (handle_) ImageList_SetBkColor(handle_, ListColor(bk_color_));
}

void TCustomImageList::SetBkColor(TColor color) {
    if (color == bk_color_) return;
    bk_color_ = color;
    ApplyBkColor();
    Change();
}

void TCustomImageList::SetDrawingStyle(TDrawingStyle style) {
    if (style == drawing_style_) return;
    drawing_style_ = style;
    Change();
}

void TCustomImageList::SetImageType(TImageType type) {
    if (type == image_type_) return;
    image_type_ = type;
    Change();
}

int TCustomImageList::Add(HBITMAP image, HBITMAP mask) {
    int index = ImageList_Add(Handle(), image, mask);
    if (index < 0) throw EInvalidOperation(kAddImageError);
    Change();
    return index;
}

int TCustomImageList::AddMasked(HBITMAP image, TColor maskColor) {
    // The system call would paint the source's transparent pixels black:
    // work on a copy.
    TStripPixels pixels = ReadBitmapPixels(image);
    if (pixels.Width < width_) throw EInvalidOperation(kAddImageError);
    int index;
    if (masked_) {
        auto key = static_cast<uint32_t>(ColorToRGB(maskColor));
        key = (key & 0xFF) << 16 | (key & 0xFF00) | (key >> 16 & 0xFF);  // $BBGGRR to 0xRRGGBB
        TStripMask mask = OpaqueMask(pixels.Width, pixels.Height);
        for (size_t i = 0; i < pixels.Pixels.size(); ++i)
            if (pixels.Pixels[i] == key) {
                mask.Bits[i] = 1;
                pixels.Pixels[i] = 0;
            }
        index = AddStrip(Handle(), pixels, &mask);
    } else {
        index = AddStrip(Handle(), pixels, nullptr);
    }
    if (index < 0) throw EInvalidOperation(kAddImageError);
    Change();
    return index;
}

int TCustomImageList::AddIcon(HICON icon) {
    int index = icon ? ImageList_AddIcon(Handle(), icon) : -1;
    if (index < 0) throw EInvalidOperation(kAddImageError);
    Change();
    return index;
}

void TCustomImageList::Clear() {
    if (handle_) ImageList_Remove(handle_, -1);
    Change();
}

void TCustomImageList::Delete(int index) {
    if (index < 0 || index >= Count()) throw EInvalidOperation(kImageIndexError);
    ImageList_Remove(handle_, index);
    Change();
}

void TCustomImageList::Draw(TCanvas* canvas, int x, int y, int index, bool enabled) {
    if (canvas) Draw(canvas->Handle(), x, y, index, enabled);
}

void TCustomImageList::Draw(HDC dc, int x, int y, int index, bool enabled) {
    if (!dc || index < 0 || index >= Count()) return;
    if (!enabled) {
        DrawDisabled(dc, x, y, index);
        return;
    }
    static const UINT styles[] = {ILD_FOCUS, ILD_SELECTED, ILD_NORMAL, ILD_TRANSPARENT};
    UINT style = styles[drawing_style_] | (image_type_ == itMask ? ILD_MASK : 0);
    ImageList_DrawEx(handle_, index, dc, x, y, 0, 0, CLR_DEFAULT, CLR_DEFAULT, style);
}

void TCustomImageList::DrawDisabled(HDC dc, int x, int y, int index) {
    // A monochrome shape of the image's non-white pixels, stamped in the
    // highlight colour one pixel down-right and in the shadow colour.
    TMemoryDC colourDc, monoDc;
    TGdiObject colour(CreateCompatibleBitmap(TWindowDC(nullptr), width_, height_));
    TGdiObject mono(CreateBitmap(width_, height_, 1, 1, nullptr));
    TSelectedObject colourSelected(colourDc, colour.Get());
    TSelectedObject monoSelected(monoDc, mono.Get());
    RECT r{0, 0, width_, height_};
    FillRect(colourDc, &r, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    ImageList_DrawEx(handle_, index, colourDc, 0, 0, 0, 0, CLR_NONE, CLR_NONE, ILD_TRANSPARENT);
    ::SetBkColor(colourDc, RGB(255, 255, 255));
    BitBlt(monoDc, 0, 0, width_, height_, colourDc, 0, 0, SRCCOPY);

    COLORREF oldText = ::SetTextColor(dc, RGB(0, 0, 0));
    COLORREF oldBk = ::SetBkColor(dc, RGB(255, 255, 255));
    constexpr DWORD kPaintWhereSourceIsBlack = 0x00B8074A;
    for (auto [offset, sysColor] : {std::pair{1, COLOR_BTNHIGHLIGHT}, std::pair{0, COLOR_BTNSHADOW}}) {
        TGdiObject brush(CreateSolidBrush(GetSysColor(sysColor)));
        TSelectedObject selected(dc, brush.Get());
        BitBlt(dc, x + offset, y + offset, width_, height_, monoDc, 0, 0, kPaintWhereSourceIsBlack);
    }
    ::SetTextColor(dc, oldText);
    ::SetBkColor(dc, oldBk);
}

void TCustomImageList::RegisterChanges(TChangeLink* link) {
    if (!link || link->sender_ == this) return;
    if (link->sender_) link->sender_->UnRegisterChanges(link);
    link->sender_ = this;
    links_.push_back(link);
}

void TCustomImageList::UnRegisterChanges(TChangeLink* link) {
    if (!link) return;
    links_.erase(std::remove(links_.begin(), links_.end(), link), links_.end());
    if (link->sender_ == this) link->sender_ = nullptr;
}

void TCustomImageList::Change() {
    std::vector<TChangeLink*> links = links_;
    for (TChangeLink* link : links)
        if (std::find(links_.begin(), links_.end(), link) != links_.end() && link->OnChange) link->OnChange(this);
    if (OnChange) OnChange(this);
}

// --- layout data ------------------------------------------------------------

void TCustomImageList::DefineProperties(TFiler* filer) {
    TComponent::DefineProperties(filer);
    filer->DefineBinaryProperty(
        "Bitmap", [this](TStream* stream) { ReadData(*stream); }, [this](TStream* stream) { WriteData(*stream); },
        Count() > 0);
}

void TCustomImageList::WriteData(TStream& stream) {
    TImageListData data;
    data.Width = width_;
    data.Height = height_;
    data.Count = Count();
    data.Masked = masked_;
    if (data.Count > 0)
        CaptureImageList(handle_, width_, height_, data.Count, data.Image, masked_ ? &data.Mask : nullptr);
    std::string bytes = EncodeImageListData(data);
    stream.WriteBuffer(bytes.data(), static_cast<int32_t>(bytes.size()));
}

void TCustomImageList::ReadData(TStream& stream) {
    int64_t size = stream.Size() - stream.Position();
    if (size < 0 || size > INT32_MAX) throw EReadError(LoadStr(SInvalidImage));
    std::string bytes(static_cast<size_t>(size), '\0');
    stream.ReadBuffer(bytes.data(), static_cast<int32_t>(size));
    TImageListData data = DecodeImageListData(bytes);
    if (data.Width > 32767 || data.Height > 32767) throw EReadError(LoadStr(SInvalidImage));

    // Built aside; the current list stays until the new one is complete.
    TImageListHandle list(CreateList(data.Width, data.Height, data.Masked));
    if (data.Count > 0 && AddStrip(list.Get(), data.Image, data.Masked ? &data.Mask : nullptr) != 0)
        throw EReadError(LoadStr(SInvalidImage));
    if (ImageList_GetImageCount(list.Get()) != data.Count) throw EReadError(LoadStr(SInvalidImage));
    DestroyHandle();
    handle_ = list.Release();
    width_ = data.Width;
    height_ = data.Height;
    masked_ = data.Masked;
    ApplyBkColor();
    Change();
}

void RelinkImageList(TComponent* user, TCustomImageList*& field, TCustomImageList* images, TChangeLink* link) {
    if (field) {
        field->UnRegisterChanges(link);
        field->RemoveFreeNotification(user);
    }
    field = images;
    if (field) {
        field->RegisterChanges(link);
        field->FreeNotification(user);
    }
}
