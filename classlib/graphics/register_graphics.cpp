#include "classlib/graphics/register_graphics.h"

#include "classlib/graphics/bitmap.h"
#include "classlib/graphics/icon.h"
#include "classlib/graphics/image.h"
#include "classlib/graphics/picture.h"

void RegisterGraphicClasses() {
    RegisterClass(TBitmap::StaticClass());
    RegisterClass(TIcon::StaticClass());
    RegisterClass(TPicture::StaticClass());
    RegisterClass(TImage::StaticClass());
}
