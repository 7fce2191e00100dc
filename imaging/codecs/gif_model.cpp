#include "imaging/codecs/gif_model.h"

#include "classlib/core/class_builder.h"
#include "imaging/codecs/gif_strings.h"

const TClassInfo& TExtension::StaticClass() {
    static const TClassInfo info = DefineClass<TExtension>("TExtension", &TPersistent::StaticClass(), [](auto&) {});
    return info;
}

void TExtension::Assign(const TPersistent* source) {
    if (auto* other = dynamic_cast<const TExtension*>(source)) {
        if (other == this) return;
        Kind = other->Kind;
        FixedBytes = other->FixedBytes;
        if (other->Blocks) {
            if (!Blocks) Blocks = MakeOwned<TStringList>();
            Blocks->Assign(other->Blocks.get());
        }
        return;
    }
    TPersistent::Assign(source);
}

TGIFData::TGIFData() : ImageComment(MakeOwned<TStringList>()) {}

void TGifFrameRecord::ResetRecord() {
    Item = std::make_shared<TGIFItem>();
    GreyReduced = IsDamaged = IsInterlaced = HasLocalColors = false;
    TransparentColor = clNone;
    Origin = TGifOrigin();
    DelayTime = 0;
    DisposalMethod = 0;
}

TStringList* TGifFrameRecord::CommentLines(bool create) {
    TExtension* comment = nullptr;
    for (auto it = ExtensionList.rbegin(); it != ExtensionList.rend(); ++it)
        if (*it && (*it)->Kind == ekComment) {
            comment = it->get();
            break;
        }
    if (!comment) {
        if (!create) return nullptr;
        auto made = MakeOwned<TExtension>();
        made->Kind = ekComment;
        comment = made.get();
        ExtensionList.push_back(std::move(made));
    }
    if (!comment->Blocks && create) comment->Blocks = MakeOwned<TStringList>();
    return comment->Blocks.get();
}

TExtension* TGifFrameRecord::GraphicControl() const {
    for (auto it = ExtensionList.rbegin(); it != ExtensionList.rend(); ++it)
        if (*it && (*it)->Kind == ekGraphicControl) return it->get();
    return nullptr;
}

void TGifPictureRecord::ResetRecord() {
    Data = std::make_shared<TGIFData>();
    BackgroundColor = clNone;
    LoopCount = 1;
    LoopEnabled = false;
    FormatVersion = gvNone;
}

int ColorCountToBits(int32_t count) {
    for (int bits = 1; bits <= 8; ++bits)
        if (count == (1 << bits)) return bits;
    RaiseGifError(SWrongColorCount);
}

int FindColorIndex(const ColorTableRec& table, TColor color) {
    if (color == clNone) return -1;
    const TColor rgb = ColorToRGB(color);
    for (int i = 0; i < table.Count && i < 256; ++i)
        if (TripleToColor(table.Entries[i]) == rgb) return i;
    return -1;
}
