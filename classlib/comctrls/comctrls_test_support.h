// Shared helpers of the common-control tests.
#pragma once
#include <string>

#include "classlib/comctrls/comctrls.h"
#include "classlib/gui/forms.h"
#include "classlib/testing/gui_testing.h"
#include "classlib/comctrls/imagelist_gdi.h"

inline TOwned<TForm> MakeTestForm(int width = 400, int height = 300) {
    RegisterComControls();
    auto form = MakeOwned<TForm>(nullptr);
    form->SetBounds(60, 60, width, height);
    form->SetCaption("Test");
    return form;
}

inline void ShowAndPump(TForm* form) {
    form->Show();
    DrainMessages();
}

// A bitmap of width x height pixels, filled by pixel(x, y) -> 0xRRGGBB;
// owned by the caller.
template <class F>
TGdiObject MakeBitmap(int width, int height, F pixel) {
    TStripPixels image;
    image.Width = width;
    image.Height = height;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) image.Pixels.push_back(static_cast<uint32_t>(pixel(x, y)));
    return TGdiObject(CreateColorBitmap(image));
}

inline HBITMAP AsBitmap(const TGdiObject& bitmap) {
    return static_cast<HBITMAP>(bitmap.Get());
}

// The centre of a rectangle.
inline TPoint Centre(const TRect& r) {
    return Point((r.left + r.right) / 2, (r.top + r.bottom) / 2);
}
