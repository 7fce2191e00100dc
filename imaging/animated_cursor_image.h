// TAnimatedCursorImage: an animated cursor (.ani) read into frames of
// icons, handed on to an icon, a bitmap strip or an icon list. Writing
// the format is not offered.
#pragma once
#include <array>
#include <cstdint>
#include <string>

#include "classlib/core/color.h"
#include "classlib/core/lists.h"
#include "classlib/core/persistent.h"
#include "classlib/gui/geometry.h"
#include "imaging/codecs/ani_chunks.h"

class TBitmap;
class TIcon;
class TStream;

// One frame: the icon or cursor image it shows and for how long.
class TIconFrame : public TPersistent {
    DECLARE_CLASS(TIconFrame, TPersistent)
public:
    TIconFrame();
    ~TIconFrame() override;

    // Another frame: its own copy of the icon and the frame's values.
    void Assign(const TPersistent* source) override;

    // Owned; nullptr until the frame has an image.
    TIcon* IconImage() const { return icon_image_.get(); }
    void SetIconImage(TOwned<TIcon> icon);
    // False when the image was a cursor.
    bool FromIconResource() const { return from_icon_resource_; }
    void SetFromIconResource(bool value) { from_icon_resource_ = value; }
    // "icon" and the size of the chunk the image came from.
    const std::array<uint8_t, 8>& IconChunkHeader() const { return icon_chunk_header_; }
    void SetIconChunkHeader(const std::array<uint8_t, 8>& value) { icon_chunk_header_ = value; }
    TPoint HotSpot() const { return hot_spot_; }
    void SetHotSpot(TPoint value) { hot_spot_ = value; }
    // In 1/60 s.
    int32_t Rate() const { return rate_; }
    void SetRate(int32_t value) { rate_ = value; }
    // Which icon of the file (0 = first); -1 for an icon no frame asked for.
    int32_t IconNumber() const { return icon_number_; }
    void SetIconNumber(int32_t value) { icon_number_ = value; }

private:
    TOwned<TIcon> icon_image_;
    bool from_icon_resource_ = false;
    std::array<uint8_t, 8> icon_chunk_header_{};
    TPoint hot_spot_{0, 0};
    int32_t rate_ = 0;
    int32_t icon_number_ = 0;
};

class TAnimatedCursorImage : public TPersistent {
    DECLARE_CLASS(TAnimatedCursorImage, TPersistent)
public:
    TAnimatedCursorImage();
    ~TAnimatedCursorImage() override;
    void BeforeDestruction() override;

    // nullptr clears; another animation is copied frame by frame.
    void Assign(const TPersistent* source) override;

    // Reads the rest of the stream. Data that is no animated cursor raises
    // EReadError "Stream-Read-Fehler" (see imaging/codecs/ani_chunks.h).
    virtual void LoadFromStream(TStream& stream);
    // Not offered: says so and aborts silently.
    virtual void SaveToStream(TStream& stream);
    // A file that fails to load leaves the animation empty.
    virtual void LoadFromFile(const std::string& fileName);

    void Clear();
    int FrameCount() const { return frames_.Count(); }
    TIconFrame* FrameAt(int index) const { return static_cast<TIconFrame*>(frames_.Items(index)); }
    TIcon* Icons(int index) const { return FrameAt(index)->IconImage(); }

    // The frames side by side (vertical: one below the other) on backColor,
    // reduced to the colours of the icons (at least 16) when asked.
    void AssignToBitmap(TBitmap* bitmap, TColor backColor, bool vertical, bool reduceColors);

    const TAniHeader& AniHeader() const { return ani_header_; }
    // At most 255 characters each.
    const std::string& TitleText() const { return title_text_; }
    const std::string& Creator() const { return creator_; }
    // 2, 16 or 256: the most colours of any image of the icons; 0 for none.
    int32_t MaxIconColors() const { return max_icon_colors_; }

protected:
    // To a TIcon (the first frame's), a TBitmap (AssignToBitmap with the
    // bitmap's brush colour, reduced), a TIconList (every frame's icon) or a
    // TGIFImage (every frame with its rate as the delay).
    void AssignTo(TPersistent* dest) const override;

private:
    void ReadAnimation(const uint8_t* data, size_t size);

    TAniHeader ani_header_;
    std::string title_text_, creator_;
    TObjectList frames_;
    int32_t max_icon_colors_ = 0;
};
