#include "imaging/animated_cursor_image.h"

#include <algorithm>
#include <memory>
#include <vector>

#include "classlib/core/class_builder.h"
#include "classlib/core/exceptions.h"
#include "classlib/core/resstrings.h"
#include "classlib/core/scope_exit.h"
#include "classlib/core/streams.h"
#include "classlib/graphics/bitmap.h"
#include "classlib/graphics/graphics_strings.h"
#include "classlib/graphics/icon.h"
#include "controls/window_utils.h"
#include "imaging/color_reduction.h"
#include "imaging/gif_image.h"
#include "imaging/icon_list.h"

// --- TIconFrame -------------------------------------------------------------

const TClassInfo& TIconFrame::StaticClass() {
    static const TClassInfo info =
        DefineClass<TIconFrame>("TIconFrame", &TPersistent::StaticClass(), [](auto& c) { c.Creatable(); });
    return info;
}

TIconFrame::TIconFrame() = default;
TIconFrame::~TIconFrame() = default;

void TIconFrame::SetIconImage(TOwned<TIcon> icon) {
    icon_image_ = std::move(icon);
}

void TIconFrame::Assign(const TPersistent* source) {
    auto* frame = dynamic_cast<const TIconFrame*>(source);
    if (!frame) return TPersistent::Assign(source);
    if (frame == this) return;
    if (!icon_image_) icon_image_ = MakeOwned<TIcon>();
    icon_image_->Assign(frame->IconImage());
    from_icon_resource_ = frame->from_icon_resource_;
    icon_chunk_header_ = frame->icon_chunk_header_;
    hot_spot_ = frame->hot_spot_;
    rate_ = frame->rate_;
    icon_number_ = frame->icon_number_;
}

// --- TAnimatedCursorImage ----------------------------------------------------

const TClassInfo& TAnimatedCursorImage::StaticClass() {
    static const TClassInfo info = DefineClass<TAnimatedCursorImage>(
        "TAnimatedCursorImage", &TPersistent::StaticClass(), [](auto& c) { c.Creatable(); });
    return info;
}

TAnimatedCursorImage::TAnimatedCursorImage() = default;
TAnimatedCursorImage::~TAnimatedCursorImage() = default;

void TAnimatedCursorImage::BeforeDestruction() {
    Clear();
    TPersistent::BeforeDestruction();
}

void TAnimatedCursorImage::Clear() {
    frames_.Clear();
    ani_header_ = TAniHeader();
    title_text_.clear();
    creator_.clear();
    max_icon_colors_ = 0;
}

void TAnimatedCursorImage::Assign(const TPersistent* source) {
    if (!source) return Clear();
    auto* other = dynamic_cast<const TAnimatedCursorImage*>(source);
    if (!other) return TPersistent::Assign(source);
    if (other == this) return;
    Clear();
    try {
        ani_header_ = other->ani_header_;
        title_text_ = other->title_text_;
        creator_ = other->creator_;
        max_icon_colors_ = other->max_icon_colors_;
        for (int i = 0; i < other->FrameCount(); ++i) {
            auto frame = MakeOwned<TIconFrame>();
            frame->Assign(other->FrameAt(i));
            frames_.Add(frame.get());
            frame.release();
        }
    } catch (...) {
        Clear();
        throw;
    }
}

void TAnimatedCursorImage::AssignTo(TPersistent* dest) const {
    if (auto* icon = dynamic_cast<TIcon*>(dest)) {
        icon->Assign(FrameCount() ? Icons(0) : nullptr);
    } else if (auto* bitmap = dynamic_cast<TBitmap*>(dest)) {
        if (FrameCount() == 0) bitmap->Assign(nullptr);
        else const_cast<TAnimatedCursorImage*>(this)->AssignToBitmap(bitmap, bitmap->Canvas()->Brush().Color(), false, true);
    } else if (auto* gif = dynamic_cast<TGIFImage*>(dest)) {
        // Frame by frame, each shown for its rate.
        std::vector<TAnimationFrame> frames;
        for (int i = 0; i < FrameCount(); ++i) frames.push_back({Icons(i), FrameAt(i)->Rate()});
        gif->AssignAnimation(frames);
    } else if (auto* list = dynamic_cast<TIconList*>(dest)) {
        WhileUpdating(*list, [&] {
            list->Clear();
            for (int i = 0; i < FrameCount(); ++i) list->Add(Icons(i));
        });
    } else {
        TPersistent::AssignTo(dest);
    }
}

void TAnimatedCursorImage::LoadFromStream(TStream& stream) {
    const int64_t size = stream.Size() - stream.Position();
    if (size <= 0) return;
    if (size > INT32_MAX) throw EReadError(LoadStr(SReadError));
    std::vector<uint8_t> data(static_cast<size_t>(size));
    stream.ReadBuffer(data.data(), static_cast<int32_t>(size));
    ReadAnimation(data.data(), data.size());
}

void TAnimatedCursorImage::ReadAnimation(const uint8_t* data, size_t size) {
    if (!HasAniSignature(data, size)) throw EReadError(LoadStr(SReadError));
    Clear();
    // The icons as the chunks give them; each frame gets its own copy.
    std::vector<TOwned<TIcon>> icons;
    auto decodeIcon = [&icons](const uint8_t* file, size_t fileSize) -> std::optional<TAniIconSize> {
        try {
            TMemoryStream buffer;
            buffer.WriteBuffer(file, static_cast<int32_t>(fileSize));
            buffer.SetPosition(0);
            auto icon = MakeOwned<TIcon>();
            icon->LoadFromStream(buffer);
            TAniIconSize iconSize{icon->Width(), icon->Height()};
            icons.push_back(std::move(icon));
            return iconSize;
        } catch (const Exception&) {
            return std::nullopt;
        }
    };
    TAniContent content = ReadAniChunks(data, size, decodeIcon);

    try {
        for (const TAniFrame& f : content.Frames) {
            const TAniIcon& source = content.Icons[static_cast<size_t>(f.Icon)];
            auto frame = MakeOwned<TIconFrame>();
            auto icon = MakeOwned<TIcon>();
            icon->Assign(icons[static_cast<size_t>(f.Icon)].get());
            frame->SetIconImage(std::move(icon));
            frame->SetFromIconResource(source.FromIconResource);
            frame->SetIconChunkHeader(source.ChunkHeader);
            frame->SetHotSpot(Point(source.HotSpotX, source.HotSpotY));
            frame->SetRate(f.Rate);
            frame->SetIconNumber(f.IconNumber);
            frames_.Add(frame.get());
            frame.release();
        }
    } catch (...) {
        Clear();
        throw;
    }
    ani_header_ = content.Header;
    title_text_ = content.Title;
    creator_ = content.Creator;
    max_icon_colors_ = content.MaxIconColors;
}

void TAnimatedCursorImage::SaveToStream(TStream&) {
    AbortNotYetImplemented();
}

void TAnimatedCursorImage::LoadFromFile(const std::string& fileName) {
    try {
        TFileStream stream(fileName, fmOpenRead | fmShareDenyNone);
        LoadFromStream(stream);
    } catch (...) {
        Clear();
        throw;
    }
}

void TAnimatedCursorImage::AssignToBitmap(TBitmap* bitmap, TColor backColor, bool vertical, bool reduceColors) {
    auto strip = MakeOwned<TBitmap>();
    if (FrameCount() > 0) {
        strip->SetMonochrome(false);
        strip->Canvas()->Brush().SetColor(backColor);
        TIcon* first = Icons(0);
        const int64_t frameWidth = first ? first->Width() : 0, frameHeight = first ? first->Height() : 0;
        const int64_t width = vertical ? frameWidth : frameWidth * FrameCount();
        const int64_t height = vertical ? frameHeight * FrameCount() : frameHeight;
        // A strip of more than 256 million pixels is beyond what a bitmap holds.
        if (width * height > (int64_t(1) << 28)) throw EOutOfMemory(GraphicsStr(SOutOfResources));
        strip->SetSize(static_cast<int32_t>(width), static_cast<int32_t>(height));
        strip->Canvas()->FillRect(Rect(0, 0, strip->Width(), strip->Height()));
        for (int k = 0; k < FrameCount(); ++k) {
            TIcon* icon = Icons(k);
            if (!icon) continue;
            // Frames larger than the first may start beyond the strip.
            const int64_t at = int64_t(k) * (vertical ? icon->Height() : icon->Width());
            if (at >= (vertical ? height : width)) continue;
            if (vertical) strip->Canvas()->Draw(0, static_cast<int>(at), icon);
            else strip->Canvas()->Draw(static_cast<int>(at), 0, icon);
        }
        if (reduceColors) {
            std::unique_ptr<TMemoryStream> reduced(ReduceBitmapToColorCount(strip.get(), std::max(max_icon_colors_, 16)));
            strip->LoadFromStream(*reduced);
        }
    }
    bitmap->Assign(strip.get());
}
