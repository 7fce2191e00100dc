#include "controls/image_btn.h"

#include "classlib/core/class_builder.h"

const TClassInfo& TImageBtn::StaticClass() {
    static const TClassInfo info = DefineClass<TImageBtn>("TImageBtn", &TImage::StaticClass(), [](auto& c) {
        c.Creatable();
        // Set by the constructor: a layout leaves out only what it holds.
        c.Publish("AutoSize").Default(true);
        PROPERTY(c, Picture2);
    });
    return info;
}

TImageBtn::TImageBtn(TComponent* owner)
    : TImage(owner), picture2_(MakeOwned<TPicture>()), saved_picture_(MakeOwned<TPicture>()) {
    SetAutoSize(true);
}

TImageBtn::~TImageBtn() = default;

void TImageBtn::ShowPressedPicture() {
    if (pressed_shown_) return;
    pressed_shown_ = true;
    saved_picture_->Assign(Picture());
    Picture()->Assign(picture2_.get());
}

void TImageBtn::RestoreNormalPicture() {
    if (!pressed_shown_) return;
    Picture()->Assign(saved_picture_.get());
    pressed_shown_ = false;
}

void TImageBtn::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
    ShowPressedPicture();
    mouse_is_down_ = true;
    TImage::MouseDown(button, shift, x, y);
}

void TImageBtn::MouseMove(TShiftState shift, int x, int y) {
    if (mouse_is_down_) {
        if (x < 0 || x >= Width() || y < 0 || y >= Height()) RestoreNormalPicture();
        else ShowPressedPicture();
    }
    TImage::MouseMove(shift, x, y);
}

void TImageBtn::MouseUp(TMouseButton button, TShiftState shift, int x, int y) {
    RestoreNormalPicture();
    mouse_is_down_ = false;
    TImage::MouseUp(button, shift, x, y);
}

void TImageBtn::Click() {
    RestoreNormalPicture();
    TImage::Click();
}
