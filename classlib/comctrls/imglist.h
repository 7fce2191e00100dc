// Image lists: pictures of one size kept in a system image list (created
// when first needed), drawn by index and shared by controls, which hear of
// every change through a change link. Layouts carry the pictures in the
// binary property "Bitmap" (format in imagelist_data.h).
#pragma once
#include <vector>

#include "classlib/core/color.h"
#include "classlib/core/component.h"
#include "classlib/core/events.h"
#include "classlib/gui/win32.h"

class TCanvas;
class TCustomImageList;
class TStream;

enum TDrawingStyle { dsFocus, dsSelected, dsNormal, dsTransparent };
DECLARE_ENUM_TYPE(TDrawingStyle)
enum TImageType { itImage, itMask };
DECLARE_ENUM_TYPE(TImageType)

// A control's subscription to an image list's changes; it leaves the list
// when destroyed.
class TChangeLink {
public:
    TChangeLink() = default;
    TChangeLink(const TChangeLink&) = delete;
    TChangeLink& operator=(const TChangeLink&) = delete;
    ~TChangeLink();

    TCustomImageList* Sender() const { return sender_; }
    TNotifyEvent OnChange;

private:
    friend class TCustomImageList;
    TCustomImageList* sender_ = nullptr;
};

class TCustomImageList : public TComponent {
    DECLARE_CLASS(TCustomImageList, TComponent)
public:
    explicit TCustomImageList(TComponent* owner);
    ~TCustomImageList() override;
    void BeforeDestruction() override;

    // A new size removes every image: they would not fit.
    int32_t Width() const { return width_; }
    void SetWidth(int32_t width);
    int32_t Height() const { return height_; }
    void SetHeight(int32_t height);
    // Switching keeps the images (without a mask they become opaque).
    bool Masked() const { return masked_; }
    void SetMasked(bool masked);
    // clNone: transparent parts show what is below.
    TColor BkColor() const { return bk_color_; }
    void SetBkColor(TColor color);
    TDrawingStyle DrawingStyle() const { return drawing_style_; }
    void SetDrawingStyle(TDrawingStyle style);
    TImageType ImageType() const { return image_type_; }
    void SetImageType(TImageType type);

    HIMAGELIST Handle();
    bool HandleAllocated() const { return handle_ != nullptr; }
    int Count() const;

    // The bitmaps are copied; the caller keeps them. A bitmap wider than
    // Width adds one image per Width pixels. Returns the first new index.
    int Add(HBITMAP image, HBITMAP mask);
    // Pixels of maskColor become transparent (the bitmap is not changed).
    int AddMasked(HBITMAP image, TColor maskColor);
    int AddIcon(HICON icon);
    void Clear();
    // EInvalidOperation outside 0..Count()-1.
    void Delete(int index);
    // Draws with DrawingStyle and ImageType; disabled images are drawn
    // embossed in the button shadow colours. Nothing for a bad index.
    void Draw(TCanvas* canvas, int x, int y, int index, bool enabled = true);
    void Draw(HDC dc, int x, int y, int index, bool enabled = true);

    void RegisterChanges(TChangeLink* link);
    void UnRegisterChanges(TChangeLink* link);

    void DefineProperties(TFiler* filer) override;
    // The "Bitmap" data. Reading checks all of it first: bad data raises
    // EReadError and leaves the list as it was.
    void ReadData(TStream& stream);
    void WriteData(TStream& stream);

    TNotifyEvent OnChange;

protected:
    virtual void Change();

private:
    void CheckSize(int32_t value) const;
    void SetSize(int32_t width, int32_t height);
    HIMAGELIST CreateList(int32_t width, int32_t height, bool masked) const;
    void ApplyBkColor();
    void DrawDisabled(HDC dc, int x, int y, int index);
    void DestroyHandle();

    HIMAGELIST handle_ = nullptr;
    int32_t width_ = 16;
    int32_t height_ = 16;
    bool masked_ = true;
    TColor bk_color_ = clNone;
    TDrawingStyle drawing_style_ = dsNormal;
    TImageType image_type_ = itImage;
    std::vector<TChangeLink*> links_;
};

class TImageList : public TCustomImageList {
    DECLARE_CLASS(TImageList, TCustomImageList)
public:
    explicit TImageList(TComponent* owner) : TCustomImageList(owner) {}
};

// Points `field` of the control `user` at `images`, moving the change link
// and the free notification from the old list to the new one.
void RelinkImageList(TComponent* user, TCustomImageList*& field, TCustomImageList* images, TChangeLink* link);
