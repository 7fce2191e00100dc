#include "controls/glyph_slots.h"

#include <commctrl.h>

#include "classlib/core/class_builder.h"

const TClassInfo& TSlottedImageList::StaticClass() {
    static const TClassInfo info =
        DefineClass<TSlottedImageList>("TSlottedImageList", &TImageList::StaticClass(), [](auto&) {});
    return info;
}

TSlottedImageList::TSlottedImageList(int width, int height) : TImageList(nullptr) {
    SetWidth(width);
    SetHeight(height);
}

int TSlottedImageList::AllocateSlot() {
    auto clear = std::find(used_.begin(), used_.end(), false);
    int index = static_cast<int>(clear - used_.begin());
    if (clear == used_.end()) {
        TWindowDC screen(nullptr);
        TGdiObject blank(CreateCompatibleBitmap(screen.Get(), Width(), Height()));
        index = ImageList_Add(Handle(), static_cast<HBITMAP>(blank.Get()), nullptr);
        used_.resize(static_cast<size_t>(ImageList_GetImageCount(Handle())), false);
    }
    used_[static_cast<size_t>(index)] = true;
    return index;
}

int TSlottedImageList::StoreImage(HBITMAP image, HBITMAP mask) {
    const int index = AllocateSlot();
    if (mask) {
        // Masked image lists want the transparent pixels black.
        const int width = Width(), height = Height();
        TWindowDC screen(nullptr);
        TGdiObject prepared(CreateCompatibleBitmap(screen.Get(), width, height));
        {
            TMemoryDC preparedDC(screen.Get()), imageDC(screen.Get()), maskDC(screen.Get());
            TSelectedObject selectedPrepared(preparedDC.Get(), prepared.Get()), selectedImage(imageDC.Get(), image),
                selectedMask(maskDC.Get(), mask);
            BitBlt(preparedDC.Get(), 0, 0, width, height, imageDC.Get(), 0, 0, SRCCOPY);
            ::SetBkColor(preparedDC.Get(), RGB(255, 255, 255));
            ::SetTextColor(preparedDC.Get(), RGB(0, 0, 0));
            BitBlt(preparedDC.Get(), 0, 0, width, height, maskDC.Get(), 0, 0, 0x00220326);  // destination and not mask
        }
        ImageList_Replace(Handle(), index, static_cast<HBITMAP>(prepared.Get()), mask);
    } else {
        ImageList_Replace(Handle(), index, image, nullptr);
    }
    ++used_count_;
    return index;
}

void TSlottedImageList::FreeSlot(int index) {
    if (index < 0 || index >= static_cast<int>(used_.size()) || !used_[static_cast<size_t>(index)]) return;
    used_[static_cast<size_t>(index)] = false;
    --used_count_;
}

TGdiObject MaskOfColour(HBITMAP image, COLORREF colour, int width, int height) {
    TWindowDC screen(nullptr);
    TGdiObject mask(CreateBitmap(width, height, 1, 1, nullptr));
    TMemoryDC imageDC(screen.Get()), maskDC(screen.Get());
    TSelectedObject selectedImage(imageDC.Get(), image), selectedMask(maskDC.Get(), mask.Get());
    ::SetBkColor(imageDC.Get(), colour);
    BitBlt(maskDC.Get(), 0, 0, width, height, imageDC.Get(), 0, 0, SRCCOPY);
    return mask;
}
