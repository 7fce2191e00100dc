// TImage: a windowless control showing a picture, as it is or stretched,
// centred, proportional or transparent.
#pragma once
#include "classlib/gui/graphic_control.h"
#include "classlib/graphics/picture.h"

class TImage : public TGraphicControl {
    DECLARE_CLASS(TImage, TGraphicControl)
public:
    explicit TImage(TComponent* owner);
    ~TImage() override;

    TPicture* Picture() const { return picture_.get(); }
    void SetPicture(TPicture* picture) { picture_->Assign(picture); }
    // The picture's bitmap canvas. An empty picture becomes a bitmap of the
    // control's size, any other kind a bitmap of the same picture.
    TCanvas* Canvas();

    bool AutoSize() const { return auto_size_; }
    void SetAutoSize(bool value);
    bool Center() const { return center_; }
    void SetCenter(bool value);
    bool Stretch() const { return stretch_; }
    void SetStretch(bool value);
    // Shrinks (never enlarges) the picture to fit, keeping its aspect;
    // with Stretch it also enlarges.
    bool Proportional() const { return proportional_; }
    void SetProportional(bool value);
    bool Transparent() const { return transparent_; }
    void SetTransparent(bool value);
    bool IncrementalDisplay() const { return incremental_display_; }
    void SetIncrementalDisplay(bool value) { incremental_display_ = value; }

    // Where the picture is drawn, in client coordinates.
    TRect DestRect();

protected:
    void Paint() override;

private:
    void PictureChanged(TObject*);
    void UpdateOpaque();

    TOwned<TPicture> picture_;
    bool auto_size_ = false;
    bool center_ = false;
    bool stretch_ = false;
    bool proportional_ = false;
    bool transparent_ = false;
    bool incremental_display_ = false;
    bool picture_changing_ = false;
};
