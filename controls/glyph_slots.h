// What the two button units' glyph lists and caches have in common: an
// image list whose slots are reused (freeing a slot only marks it free; the
// list never shrinks), and a set of such lists, one per cell size.
#pragma once
#include <algorithm>
#include <vector>

#include "classlib/comctrls/imglist.h"
#include "classlib/core/object.h"
#include "classlib/gui/scoped_win32.h"

class TSlottedImageList : public TImageList {
    DECLARE_CLASS(TSlottedImageList, TImageList)
public:
    TSlottedImageList(int width, int height);

    // Puts a copy of the image into a free slot and returns the slot; with
    // a mask, the mask's white pixels are transparent.
    int StoreImage(HBITMAP image, HBITMAP mask);
    void FreeSlot(int index);
    int UsedCount() const { return used_count_; }

private:
    int AllocateSlot();
    std::vector<bool> used_;
    int used_count_ = 0;
};

// A monochrome mask of the image's cells: white where the image has the
// colour.
TGdiObject MaskOfColour(HBITMAP image, COLORREF colour, int width, int height);

// The lists of one cache, looked up by cell size (the most recent first);
// a list goes when its last slot is freed and it is returned.
template <class TList>
class TGlyphListSet {
public:
    ~TGlyphListSet() {
        for (TList* list : lists_) list->Free();
    }
    TList* Get(int width, int height) {
        for (auto it = lists_.rbegin(); it != lists_.rend(); ++it)
            if ((*it)->Width() == width && (*it)->Height() == height) return *it;
        TList* list = New<TList>(width, height);
        lists_.push_back(list);
        return list;
    }
    void Return(TList* list) {
        if (!list || list->UsedCount() != 0) return;
        lists_.erase(std::remove(lists_.begin(), lists_.end(), list), lists_.end());
        list->Free();
    }
    bool Empty() const { return lists_.empty(); }
    int Count() const { return static_cast<int>(lists_.size()); }

private:
    std::vector<TList*> lists_;
};

// The one cache of a kind of glyph: made when a glyph first needs it, freed
// when a glyph goes and leaves it holding no list.
template <class TCache>
class TSharedGlyphCache {
public:
    // nullptr while there is none.
    TCache* Get() const { return cache_; }
    TCache& Need() {
        if (!cache_) cache_ = New<TCache>();
        return *cache_;
    }
    void FreeIfEmpty() {
        if (cache_ && cache_->ListCount() == 0) {
            cache_->Free();
            cache_ = nullptr;
        }
    }

private:
    TCache* cache_ = nullptr;
};
