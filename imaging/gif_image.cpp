#include "imaging/gif_image.h"

#include <algorithm>
#include <cstring>

#include "classlib/core/class_builder.h"
#include "classlib/core/exceptions.h"
#include "classlib/core/resstrings.h"
#include "classlib/core/scope_exit.h"
#include "classlib/core/streams.h"
#include "classlib/core/unit_starts.h"
#include "classlib/graphics/bmp_codec.h"
#include "classlib/graphics/picture.h"
#include "classlib/gui/scoped_win32.h"
#include "controls/drawing_utils.h"
#include "imaging/codecs/gif_strings.h"
#include "imaging/codecs/gif_writer.h"
#include "imaging/color_reduction.h"

namespace {

TUnitStartCount g_gif_unit_starts;
UINT g_clipboard_format = 0;

uint16_t ClampToWord(int64_t value) {
    return static_cast<uint16_t>(std::clamp<int64_t>(value, 0, 0xFFFF));
}

}  // namespace

// --- TGIFFrame ----------------------------------------------------------------

const TClassInfo& TGIFFrame::StaticClass() {
    static const TClassInfo info = DefineClass<TGIFFrame>("TGIFFrame", &TPersistent::StaticClass(), [](auto&) {});
    return info;
}

TGIFFrame::TGIFFrame(TGIFImage* owner) : owner_(owner) {}
TGIFFrame::~TGIFFrame() = default;

void TGIFFrame::ResetFrame() {
    ResetRecord();
}

void TGIFFrame::NewBitmap() {
    decoded_ = MakeOwned<TBitmap>();
}

TBitmap* TGIFFrame::GetBitmap() {
    if (decoded_ && !decoded_->Empty()) return decoded_.get();
    NewBitmap();
    if (Item->EncodedData.empty()) return decoded_.get();
    std::vector<uint8_t> bmp;
    IsDamaged = DecodeFrameToBmp(*Item, IsInterlaced, bmp, owner_ ? owner_->FrameProgress() : nullptr) || IsDamaged;
    TMemoryStream stream;
    stream.WriteBuffer(bmp.data(), static_cast<int32_t>(bmp.size()));
    bmp = std::vector<uint8_t>();
    stream.SetPosition(0);
    decoded_->LoadFromStream(stream);
    if (!decoded_->Monochrome()) decoded_->SetHandleType(bmDDB);
    return decoded_.get();
}

int32_t TGIFFrame::Width() {
    if (decoded_ && !decoded_->Empty()) return decoded_->Width();
    if (Item->EncodedData.empty()) return 0;
    return GetBitmap()->Width();
}

int32_t TGIFFrame::Height() {
    if (decoded_ && !decoded_->Empty()) return decoded_->Height();
    if (Item->EncodedData.empty()) return 0;
    return GetBitmap()->Height();
}

void TGIFFrame::Draw(TCanvas& canvas, const TRect& rect, bool transparent) {
    TBitmap* bitmap = GetBitmap();
    if (TransparentColor != clNone && transparent) {
        DrawBitmapRectTransparent(canvas, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top,
                                  Rect(0, 0, bitmap->Width(), bitmap->Height()), *bitmap, TransparentColor);
    } else {
        canvas.StretchDraw(rect, bitmap);
    }
}

TStrings* TGIFFrame::FrameComment() {
    return CommentLines(true);
}

void TGIFFrame::SetFrameComment(const TStrings* lines) {
    FrameComment()->Assign(lines);
}

void TGIFFrame::Assign(const TPersistent* source) {
    if (!source) {
        ResetFrame();
        decoded_.reset();
    } else if (auto* frame = dynamic_cast<const TGIFFrame*>(source)) {
        if (frame == this) return;
        Item = frame->Item;
        HasLocalColors = frame->owner_ == owner_ ? frame->HasLocalColors : true;
        Origin = frame->Origin;
        IsInterlaced = frame->IsInterlaced;
        if (frame->decoded_) {
            NewBitmap();
            decoded_->Assign(frame->decoded_.get());
        }
        TransparentColor = frame->TransparentColor;
        DelayTime = frame->DelayTime;
        DisposalMethod = frame->DisposalMethod;
        GreyReduced = frame->GreyReduced;
        IsDamaged = frame->IsDamaged;
        auto* from = const_cast<TGIFFrame*>(frame)->CommentLines(false);
        if (from && from->Count() > 0) FrameComment()->Assign(from);
    } else if (auto* picture = dynamic_cast<const TGIFImage*>(source)) {
        if (picture->FrameCount() == 0) {
            Assign(nullptr);
            return;
        }
        const int32_t current = picture->CurrentFrame();
        Assign(picture->Frames(current >= 0 && current < picture->FrameCount() ? current : 0));
        return;
    } else if (auto* graphic = dynamic_cast<const TGraphic*>(source)) {
        if (graphic->Empty()) {
            Assign(nullptr);
            return;
        }
        ResetFrame();
        NewBitmap();
        auto* asGraphic = const_cast<TGraphic*>(graphic);
        try {
            decoded_->Assign(graphic);
            if (auto* bitmap = dynamic_cast<const TBitmap*>(graphic)) decoded_->SetMonochrome(bitmap->Monochrome());
        } catch (const Exception&) {
            decoded_->Canvas()->Brush().SetColor(static_cast<TColor>(0xFF00FF));
            decoded_->SetSize(graphic->Width(), graphic->Height());
            decoded_->Canvas()->Draw(0, 0, asGraphic);
        }
        if (graphic->Transparent()) {
            if (auto* bitmap = dynamic_cast<const TBitmap*>(graphic))
                TransparentColor = bitmap->TransparentColor();
            else
                TransparentColor = static_cast<TColor>(GetNearestColor(
                    decoded_->Canvas()->Handle(), static_cast<COLORREF>(ColorToRGB(decoded_->Canvas()->Brush().Color()))));
        }
    } else {
        TPersistent::Assign(source);
    }
    if (owner_) owner_->UpdateScreenSize();
}

void TGIFFrame::AssignTo(TPersistent* dest) const {
    if (dynamic_cast<TGIFFrame*>(dest) || dynamic_cast<TGIFImage*>(dest)) {
        dest->Assign(this);
        return;
    }
    if (!dynamic_cast<TGraphic*>(dest)) {
        TPersistent::AssignTo(dest);
        return;
    }
    auto* self = const_cast<TGIFFrame*>(this);
    dest->Assign(self->GetBitmap());
    auto* target = dynamic_cast<TBitmap*>(dest);
    if (target && TransparentColor != clNone) {
        // A two-colour DIB keeps its own colours; asking a monochrome device
        // context for the nearest colour would give black or white.
        const COLORREF rgb = static_cast<COLORREF>(ColorToRGB(TransparentColor));
        const bool ownColours = target->Monochrome() && target->HandleType() == bmDIB;
        target->SetTransparentColor(static_cast<TColor>(ownColours ? rgb : GetNearestColor(target->Canvas()->Handle(), rgb)));
        target->SetTransparent(true);
    }
}

void TGIFFrame::EncodeBitmap() {
    if (!decoded_ || decoded_->Empty()) RaiseGifError(SNoGIFData);
    TOwned<TMemoryStream> image;
    const TPixelFormat format = decoded_->PixelFormat();
    if (format == pf1bit || format == pf4bit || format == pf8bit) {
        image = MakeOwned<TMemoryStream>();
        decoded_->SaveToStream(*image);
    } else {
        const TReductionMethod method = GreyReduced ? rmGrayscale : DefaultReductionMethod;
        image.reset(ConvertBitmapPixelFormat(decoded_.get(), pf8bit, method));
        if (method == rmGrayscale) GreyReduced = true;
        if (!image || image->Size() == 0) {
            image = MakeOwned<TMemoryStream>();
            decoded_->SaveToStream(*image);
        }
    }
    // The file image is read as a whole, so any header size, a short colour
    // table or top-down rows come out the same.
    image->SetPosition(0);
    const TDibImage dib = ReadBmpFile(*image);
    if (dib.bitCount != 1 && dib.bitCount != 4 && dib.bitCount != 8) RaiseGifError(SGIFEncodeError);
    const int32_t colors = 1 << dib.bitCount;

    IsInterlaced = false;
    TGIFItem& item = *Item;
    item.ColorTable = ColorTableRec();
    item.ColorTable.Count = std::min(256, colors);
    for (int32_t i = 0; i < item.ColorTable.Count && i < static_cast<int32_t>(dib.colors.size()); ++i) {
        item.ColorTable.Entries[i][0] = static_cast<uint8_t>(dib.colors[i] >> 16);
        item.ColorTable.Entries[i][1] = static_cast<uint8_t>(dib.colors[i] >> 8);
        item.ColorTable.Entries[i][2] = static_cast<uint8_t>(dib.colors[i]);
    }
    item.EncodedData.clear();
    TDibPixels pixels;
    pixels.bits = const_cast<uint8_t*>(dib.bits.data());
    pixels.width = dib.width;
    pixels.height = dib.height;
    pixels.bitCount = dib.bitCount;
    pixels.stride = dib.Stride();
    try {
        EncodeLZW(item.EncodedData, pixels, false, owner_ ? owner_->FrameProgress() : nullptr);
    } catch (const EAbort&) {
        ResetFrame();
        throw;
    }
    item.ColorBits = 1;
    while ((1 << item.ColorBits) < item.ColorTable.Count) ++item.ColorBits;

    if (owner_) {
        TGIFData& data = *owner_->Data;
        if (data.GlobalColorTable.Count != 0) {
            HasLocalColors = true;
        } else {
            data.GlobalColorTable = item.ColorTable;
            data.ColorBits = item.ColorBits;
            HasLocalColors = false;
        }
    }
    item.Width = dib.width;
    item.Height = dib.height;
    if (owner_) {
        owner_->ScreenWidth = std::max(owner_->ScreenWidth, ClampToWord(int64_t(dib.width) + Origin.Left));
        owner_->ScreenHeight = std::max(owner_->ScreenHeight, ClampToWord(int64_t(dib.height) + Origin.Top));
    }
}

// --- TGIFImage ----------------------------------------------------------------

const TClassInfo& TGIFImage::StaticClass() {
    static const TClassInfo info =
        DefineClass<TGIFImage>("TGIFImage", &TGraphic::StaticClass(), [](auto& c) { c.Creatable(); });
    return info;
}

TGIFImage::TGIFImage() {
    Clear();
    SetTransparent(true);
}

TGIFImage::~TGIFImage() = default;

void TGIFImage::BeforeDestruction() {
    OnChange = nullptr;  // no notification while the frames go
    FreeFrames();
    TGraphic::BeforeDestruction();
}

void TGIFImage::FreeFrames() {
    while (!frames_.empty()) frames_.erase(frames_.begin());
}

void TGIFImage::Clear() {
    ResetRecord();
    FreeFrames();
    current_frame_ = -1;
}

TGifProgress TGIFImage::FrameProgress() {
    if (!OnProgress) return nullptr;
    return [this](TGifProgressStage stage, uint8_t percent, const std::string& message) {
        const TProgressStage s = stage == TGifProgressStage::Starting  ? psStarting
                                 : stage == TGifProgressStage::Running ? psRunning
                                                                       : psEnding;
        Progress(this, s, percent, false, Rect(0, 0, 0, 0), message);
    };
}

bool TGIFImage::Empty() const {
    if (frames_.empty()) return true;
    const size_t i = static_cast<size_t>(std::max(current_frame_, 0));
    if (i >= frames_.size()) return true;
    const TGIFFrame& frame = *frames_[i];
    return !((frame.decoded_ && !frame.decoded_->Empty()) || !frame.Item->EncodedData.empty());
}

int32_t TGIFImage::Width() const {
    if (Empty() || current_frame_ < 0 || current_frame_ >= FrameCount()) return 0;
    return frames_[static_cast<size_t>(current_frame_)]->GetBitmap()->Width();
}

int32_t TGIFImage::Height() const {
    if (Empty() || current_frame_ < 0 || current_frame_ >= FrameCount()) return 0;
    return frames_[static_cast<size_t>(current_frame_)]->GetBitmap()->Height();
}

void TGIFImage::SetWidth(int32_t) {
    RaiseGifError(SChangeGIFSize);
}

void TGIFImage::SetHeight(int32_t) {
    RaiseGifError(SChangeGIFSize);
}

HPALETTE TGIFImage::Palette() const {
    if (frames_.empty()) return nullptr;
    return const_cast<TGIFImage*>(this)->CurrentBitmap()->Palette();
}

bool TGIFImage::Transparent() const {
    if (!TGraphic::Transparent()) return false;
    return std::any_of(frames_.begin(), frames_.end(),
                       [](const TOwned<TGIFFrame>& frame) { return frame->TransparentColor != clNone; });
}

bool TGIFImage::Equals(const TGraphic* other) const {
    auto* picture = dynamic_cast<const TGIFImage*>(other);
    return picture && picture->Data == Data;
}

TBitmap* TGIFImage::CurrentBitmap() {
    if (!frames_.empty()) {
        const int32_t i = current_frame_ >= 0 && current_frame_ < FrameCount() ? current_frame_ : 0;
        return frames_[static_cast<size_t>(i)]->GetBitmap();
    }
    current_frame_ = 0;
    {
        auto empty = MakeOwned<TBitmap>();
        Assign(empty.get());
    }
    return frames_[static_cast<size_t>(std::clamp(current_frame_, 0, FrameCount() - 1))]->GetBitmap();
}

void TGIFImage::UpdateScreenSize() {
    ScreenWidth = 0;
    ScreenHeight = 0;
    for (auto& frame : frames_) {
        ScreenWidth = std::max(ScreenWidth, ClampToWord(int64_t(frame->Width()) + frame->Origin.Left));
        ScreenHeight = std::max(ScreenHeight, ClampToWord(int64_t(frame->Height()) + frame->Origin.Top));
    }
}

int32_t TGIFImage::AddFrame(TGraphic* graphic) {
    frames_.push_back(MakeOwned<TGIFFrame>(this));
    current_frame_ = FrameCount() - 1;
    frames_.back()->Assign(graphic);
    if (FormatVersion == gvNone) FormatVersion = gv87a;
    if (FrameCount() > 1) FormatVersion = gv89a;
    return current_frame_;
}

void TGIFImage::AssignAnimation(const std::vector<TAnimationFrame>& frames) {
    Clear();
    BackgroundColor = clWindow;
    for (const TAnimationFrame& frame : frames) {
        AddFrame(frame.Picture);
        Frames(current_frame_)->DelayTime = ClampToWord(int64_t(frame.Rate) * 100 / 6);
    }
    Changed();
}

void TGIFImage::Assign(const TPersistent* source) {
    if (!source) {
        Clear();
        Changed();
        return;
    }
    if (auto* picture = dynamic_cast<const TGIFImage*>(source)) {
        if (picture == this) return;
        Data = picture->Data;
        FormatVersion = picture->FormatVersion;
        BackgroundColor = picture->BackgroundColor;
        LoopCount = picture->LoopCount;
        LoopEnabled = picture->LoopEnabled;
        FreeFrames();
        for (const auto& from : picture->frames_) {
            auto frame = MakeOwned<TGIFFrame>(this);
            frame->Assign(from.get());
            frame->HasLocalColors = from->HasLocalColors;
            frames_.push_back(std::move(frame));
        }
        ScreenWidth = picture->ScreenWidth;
        ScreenHeight = picture->ScreenHeight;
        current_frame_ = picture->current_frame_;
        Changed();
        return;
    }
    if (auto* frame = dynamic_cast<const TGIFFrame*>(source)) {
        if (frame->owner_ == this || !frame->owner_) {
            // Clear would free the source: take it from a copy.
            auto keep = MakeOwned<TGIFImage>();
            auto copy = MakeOwned<TGIFFrame>(keep.get());
            copy->Assign(frame);
            if (frame->owner_) keep->Data = frame->owner_->Data;
            Assign(copy.get());
            return;
        }
        Clear();
        const TGIFData& from = *frame->owner_->Data;
        Data->PixelAspect = from.PixelAspect;
        Data->ColorBits = from.ColorBits;
        Data->ColorResolution = from.ColorResolution;
        Data->GlobalColorTable = from.GlobalColorTable;
        frames_.push_back(MakeOwned<TGIFFrame>(this));
        current_frame_ = FrameCount() - 1;
        frames_.back()->Assign(frame);
        if (FormatVersion == gvNone) FormatVersion = gv87a;
        Changed();
        return;
    }
    if (auto* bitmap = dynamic_cast<const TBitmap*>(source)) {
        Clear();
        AddFrame(const_cast<TBitmap*>(bitmap));
        Changed();
        return;
    }
    TGraphic::Assign(source);
}

void TGIFImage::AssignTo(TPersistent* dest) const {
    if (auto* picture = dynamic_cast<TGIFImage*>(dest)) {
        picture->Assign(this);
        return;
    }
    if (!dynamic_cast<TGraphic*>(dest)) {
        TGraphic::AssignTo(dest);
        return;
    }
    auto* self = const_cast<TGIFImage*>(this);
    if (Empty()) dest->Assign(nullptr);
    else if (current_frame_ < 0 || current_frame_ >= FrameCount()) dest->Assign(self->CurrentBitmap());
    else frames_[static_cast<size_t>(current_frame_)]->AssignTo(dest);
}

void TGIFImage::Draw(TCanvas* canvas, const TRect& rect) {
    if (current_frame_ >= 0 && current_frame_ < FrameCount())
        frames_[static_cast<size_t>(current_frame_)]->Draw(*canvas, rect, Transparent());
}

void TGIFImage::ReadGIFStream(int64_t size, TStream& stream, bool decodeFirst) {
    Clear();
    // The count is checked against what the stream holds before anything
    // is allocated for it.
    const int64_t left = stream.Size() - stream.Position();
    if (size < 0 || size > left || size > INT32_MAX) throw EReadError(LoadStr(SReadError));
    std::vector<uint8_t> bytes(static_cast<size_t>(size));
    if (size) stream.ReadBuffer(bytes.data(), static_cast<int32_t>(size));

    std::vector<TGifFrameRecord> records;
    auto adopt = [&] {
        for (TGifFrameRecord& record : records) {
            auto frame = MakeOwned<TGIFFrame>(this);
            static_cast<TGifFrameRecord&>(*frame) = std::move(record);
            frames_.push_back(std::move(frame));
        }
        records.clear();
        current_frame_ = frames_.empty() ? -1 : 0;
    };
    try {
        ReadGifData(bytes.data(), bytes.size(), *this, records);
    } catch (...) {
        adopt();
        throw;
    }
    adopt();
    if (!frames_.empty() && decodeFirst) {
        try {
            CurrentBitmap();
        } catch (...) {
            frames_.erase(frames_.begin());
            current_frame_ = frames_.empty() ? -1 : 0;
            throw;
        }
    }
    Changed();
}

void TGIFImage::WriteGIFStream(TStream& stream, bool withSizePrefix) {
    if (frames_.empty()) RaiseGifError(SNoGIFData);
    EncodeFrames();
    UpdateScreenSize();
    std::vector<const TGifFrameRecord*> records;
    for (const auto& frame : frames_) records.push_back(frame.get());
    std::vector<uint8_t> bytes;
    WriteGifData(*this, records, bytes);
    if (withSizePrefix) {
        const int32_t size = static_cast<int32_t>(bytes.size());
        stream.WriteBuffer(&size, 4);
    }
    stream.WriteBuffer(bytes.data(), static_cast<int32_t>(bytes.size()));
}

void TGIFImage::EncodeFrames() {
    for (auto& frame : frames_) {
        if (frame->Item->EncodedData.empty()) frame->EncodeBitmap();
        AlignFrameExtensions(*frame, FormatVersion);
    }
}

void TGIFImage::LoadFromStream(TStream& stream) {
    ReadGIFStream(stream.Size() - stream.Position(), stream, true);
}

void TGIFImage::SaveToStream(TStream& stream) {
    WriteGIFStream(stream, false);
}

void TGIFImage::ReadData(TStream& stream) {
    if (stream.Position() >= stream.Size()) {
        Assign(nullptr);
        return;
    }
    int32_t size = 0;
    stream.ReadBuffer(&size, 4);
    ReadGIFStream(size, stream, true);
}

void TGIFImage::WriteData(TStream& stream) {
    WriteGIFStream(stream, true);
}

void TGIFImage::LoadFromClipboardFormat(UINT format, HANDLE data, HPALETTE palette) {
    HANDLE block = nullptr;
    if (g_clipboard_format && format == g_clipboard_format) block = data;
    else if (g_clipboard_format && IsClipboardFormatAvailable(g_clipboard_format))
        block = GetClipboardData(g_clipboard_format);
    if (!block) {
        auto bitmap = MakeOwned<TBitmap>();
        bitmap->LoadFromClipboardFormat(format, data, palette);
        Assign(bitmap.get());
        return;
    }
    TMemoryStream stream;
    {
        TGlobalLock<const void> bytes(block);
        if (!bytes) throw EReadError(LoadStr(SReadError));
        const SIZE_T size = GlobalSize(block);
        if (size > INT32_MAX) throw EReadError(LoadStr(SReadError));
        stream.WriteBuffer(bytes.Get(), static_cast<int32_t>(size));
    }
    stream.SetPosition(0);
    int32_t size = 0;
    stream.ReadBuffer(&size, 4);
    ReadGIFStream(size, stream, false);
    if (frames_.empty()) return;
    current_frame_ = 0;
    if (IsClipboardFormatAvailable(CF_BITMAP)) {
        if (HANDLE bitmap = GetClipboardData(CF_BITMAP)) {
            frames_[0]->NewBitmap();
            frames_[0]->decoded_->LoadFromClipboardFormat(CF_BITMAP, bitmap, palette);
        }
    }
}

void TGIFImage::SaveToClipboardFormat(UINT& format, HANDLE& data, HPALETTE& palette) {
    format = 0;
    data = nullptr;
    palette = nullptr;
    if (frames_.empty()) return;
    // Frame 0 may not have been shown yet: decode it for the bitmap.
    frames_[0]->GetBitmap()->SaveToClipboardFormat(format, data, palette);
    const bool allEncoded = std::all_of(frames_.begin(), frames_.end(), [](const TOwned<TGIFFrame>& frame) {
        return !frame->Item->EncodedData.empty();
    });
    if (!allEncoded || !g_clipboard_format) return;
    TMemoryStream stream;
    WriteGIFStream(stream, true);
    TGlobalMemory block(GlobalAlloc(GMEM_MOVEABLE | GMEM_DDESHARE, static_cast<SIZE_T>(stream.Size())));
    if (!block) throw EOutOfMemory(LoadStr(SOutOfMemory));
    {
        TGlobalLock<void> bytes(block.Get());
        if (!bytes) throw EOutOfMemory(LoadStr(SOutOfMemory));
        std::memcpy(bytes.Get(), stream.Memory(), static_cast<size_t>(stream.Size()));
    }
    // The clipboard owns the block once it has taken it.
    if (SetClipboardData(g_clipboard_format, block.Get())) block.Release();
}

// --- unit start-up ------------------------------------------------------------

UINT GIFClipboardFormat() {
    return g_clipboard_format;
}

void RegisterGIFImageClasses() {
    RegisterClass(TGIFFrame::StaticClass());
    RegisterClass(TGIFImage::StaticClass());
}

void StartGIFImageUnit() {
    if (!g_gif_unit_starts.Start()) return;
    g_clipboard_format = RegisterClipboardFormatA("GIF Image");
    RegisterGIFImageClasses();
    TPicture::RegisterFileFormat("gif", GifStr(SGIFImageDescription), TGIFImage::StaticClass());
    TPicture::RegisterClipboardFormat(g_clipboard_format, TGIFImage::StaticClass());
}

void StopGIFImageUnit() {
    if (!g_gif_unit_starts.Stop()) return;
    TPicture::UnregisterGraphicClass(TGIFImage::StaticClass());
}
