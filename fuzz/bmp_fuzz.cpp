// Pixwell opening BMP files (see picture_checks.h).
#include "fuzz/picture_checks.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    CheckPictureOpen(data, size, ".bmp");
    return 0;
}
