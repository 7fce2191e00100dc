#include "classlib/graphics/image.h"

#include "classlib/core/class_builder.h"
#include "classlib/graphics/bitmap.h"
#include "classlib/graphics/icon.h"
#include "classlib/core/scope_exit.h"

const TClassInfo& TImage::StaticClass() {
    static const TClassInfo info = DefineClass<TImage>("TImage", &TGraphicControl::StaticClass(), [](auto& c) {
        c.Creatable();
        c.Publish("Align");
        PROPERTY(c, AutoSize).Default(false);
        PROPERTY(c, Center).Default(false);
        c.PublishAll("DragCursor", "DragMode", "Enabled");
        PROPERTY(c, IncrementalDisplay).Default(false);
        c.Publish("ParentShowHint");
        PROPERTY(c, Picture);
        PROPERTY(c, Proportional).Default(false);
        c.Publish("ShowHint");
        PROPERTY(c, Stretch).Default(false);
        PROPERTY(c, Transparent).Default(false);
        c.PublishAll("Visible", "OnClick", "OnDblClick", "OnMouseDown", "OnMouseMove", "OnMouseUp");
    });
    return info;
}

TImage::TImage(TComponent* owner) : TGraphicControl(owner), picture_(MakeOwned<TPicture>()) {
    picture_->OnChange = [this](TObject* sender) { PictureChanged(sender); };
    SetControlStyle(ControlStyle() + csReplicatable);
    SetBounds(Left(), Top(), 105, 105);
}

TImage::~TImage() = default;

TCanvas* TImage::Canvas() {
    TGraphic* graphic = picture_->Graphic();
    if (!graphic) {
        picture_->Bitmap()->SetSize(Width(), Height());
    } else if (!dynamic_cast<TBitmap*>(graphic)) {
        auto bitmap = MakeOwned<TBitmap>();
        bitmap->Assign(graphic);
        picture_->SetGraphic(bitmap.get());
    }
    return picture_->Bitmap()->Canvas();
}

TRect TImage::DestRect() {
    int w = picture_->Width(), h = picture_->Height();
    const int cw = ClientWidth(), ch = ClientHeight();
    if (stretch_ || (proportional_ && (w > cw || h > ch))) {
        if (proportional_ && w > 0 && h > 0) {
            // The longer side fits first; the other follows the aspect.
            double aspect = static_cast<double>(w) / h;
            if (w > h) {
                w = cw;
                h = static_cast<int>(cw / aspect);
                if (h > ch) {
                    h = ch;
                    w = static_cast<int>(ch * aspect);
                }
            } else {
                h = ch;
                w = static_cast<int>(ch * aspect);
                if (w > cw) {
                    w = cw;
                    h = static_cast<int>(cw / aspect);
                }
            }
        } else {
            w = cw;
            h = ch;
        }
    }
    TRect r = Rect(0, 0, w, h);
    if (center_) OffsetRect(&r, (cw - w) / 2, (ch - h) / 2);
    return r;
}

void TImage::Paint() {
    TCanvas* canvas = TGraphicControl::Canvas();
    if (ComponentState().Contains(csDesigning)) {
        canvas->Pen().SetStyle(psDash);
        canvas->Brush().SetStyle(bsClear);
        canvas->Rectangle(0, 0, Width(), Height());
    }
    if (TGraphic* graphic = picture_->Graphic()) canvas->StretchDraw(DestRect(), graphic);
}

void TImage::UpdateOpaque() {
    TGraphic* graphic = picture_->Graphic();
    TRect d = DestRect();
    bool covers = graphic && !graphic->Empty() && !graphic->Transparent() && d.left <= 0 && d.top <= 0 &&
                  d.right >= Width() && d.bottom >= Height();
    SetControlStyle(covers ? ControlStyle() + csOpaque : ControlStyle() - csOpaque);
}

void TImage::PictureChanged(TObject*) {
    if (picture_changing_) return;
    {
        picture_changing_ = true;
        TScopeExit changed([this] { picture_changing_ = false; });
        TGraphic* graphic = picture_->Graphic();
        // Icons carry their own transparency.
        if (graphic && !dynamic_cast<TIcon*>(graphic)) graphic->SetTransparent(transparent_);
        if (auto_size_ && picture_->Width() > 0 && picture_->Height() > 0)
            SetBounds(Left(), Top(), picture_->Width(), picture_->Height());
        UpdateOpaque();
    }
    Invalidate();
}

void TImage::SetAutoSize(bool value) {
    if (auto_size_ == value) return;
    auto_size_ = value;
    PictureChanged(this);
}

void TImage::SetCenter(bool value) {
    if (center_ == value) return;
    center_ = value;
    PictureChanged(this);
}

void TImage::SetStretch(bool value) {
    if (stretch_ == value) return;
    stretch_ = value;
    PictureChanged(this);
}

void TImage::SetProportional(bool value) {
    if (proportional_ == value) return;
    proportional_ = value;
    PictureChanged(this);
}

void TImage::SetTransparent(bool value) {
    if (transparent_ == value) return;
    transparent_ = value;
    PictureChanged(this);
}
