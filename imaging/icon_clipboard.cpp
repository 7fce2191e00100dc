#include "imaging/icon_clipboard.h"

#include "classlib/core/unit_starts.h"
#include "classlib/graphics/icon.h"
#include "classlib/graphics/picture.h"

namespace {
UINT format = 0;
}  // namespace

void StartIconClipboardFormat() {
    static TUnitStartCount starts;
    if (!starts.Start()) return;
    format = RegisterClipboardFormatA("Ambit Icon");
    TPicture::RegisterClipboardFormat(format, TIcon::StaticClass());
}

UINT IconClipboardFormat() {
    return format;
}
