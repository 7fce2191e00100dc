#include "register_graphics.h"

#include "bitmap.h"
#include "icon.h"
#include "image.h"
#include "picture.h"

void RegisterGraphicClasses() {
    RegisterClass(TBitmap::StaticClass());
    RegisterClass(TIcon::StaticClass());
    RegisterClass(TPicture::StaticClass());
    RegisterClass(TImage::StaticClass());
}
