// TIcon: a Windows icon, read from and written to ICO files. The file's
// bytes are kept, so saving writes every image the file had.
#pragma once
#include <cstdint>
#include <memory>
#include <vector>

#include "classlib/gui/graphic.h"

class TIcon : public TGraphic {
    DECLARE_CLASS(TIcon, TGraphic)
public:
    TIcon();
    ~TIcon() override;

    void Assign(const TPersistent* source) override;
    bool Empty() const override { return !handle_ && !data_; }
    int32_t Width() const override { return width_; }
    int32_t Height() const override { return height_; }
    // Icons have the size of their image: raises EInvalidGraphicOperation.
    void SetWidth(int32_t width) override;
    void SetHeight(int32_t height) override;

    // Owned; made from the file's image on first use. SetHandle takes
    // ownership; ReleaseHandle gives it away and leaves the icon empty.
    HICON Handle() const;
    void SetHandle(HICON icon);
    HICON ReleaseHandle();
    bool HandleAllocated() const { return handle_ != nullptr; }

    // Reads an ICO file and uses its image that suits the screen best
    // (the system icon size, then the most colours the screen shows).
    void LoadFromStream(TStream& stream) override;
    void SaveToStream(TStream& stream) override;
    void Draw(TCanvas* canvas, const TRect& rect) override;
    // Layouts: "Data" holds the ICO file bytes, nothing before them.
    void ReadData(TStream& stream) override;

private:
    void Clear();
    std::vector<uint8_t> FileFromHandle() const;

    mutable HICON handle_ = nullptr;
    // The ICO file, when read from one; copies of an icon share it.
    std::shared_ptr<const std::vector<uint8_t>> data_;
    size_t image_offset_ = 0, image_size_ = 0;
    int32_t width_ = 0, height_ = 0;
};
