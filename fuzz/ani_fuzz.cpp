// The animated-cursor chunk reader: any bytes give an animation whose
// frames all show an icon, or the read error.
#include "classlib/core/exceptions.h"
#include "fuzz/fuzz_support.h"
#include "imaging/codecs/ani_chunks.h"
#include "imaging/codecs/ani_test_files.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    // A copy of exactly the input, so that a read beyond it is caught.
    std::vector<uint8_t> bytes(data, data + size);
    try {
        TAniContent c = ReadAniChunks(bytes.data(), bytes.size(), ani_test::ProbeIcon);
        fuzz::Check(!c.Frames.empty() && c.Header.StepCount == c.Frames.size(), "step count is the frame count");
        for (const TAniFrame& f : c.Frames)
            fuzz::Check(f.Icon >= 0 && static_cast<size_t>(f.Icon) < c.Icons.size(), "every frame shows an icon");
        fuzz::Check(c.Icons.size() <= size / 8, "no more icons than chunks");
        fuzz::Check(c.Frames.size() <= size / 8, "no more frames than chunks");
        fuzz::Check(c.Title.size() <= kAniMaxText && c.Creator.size() <= kAniMaxText, "texts of 255 at most");
        const int32_t colors = c.MaxIconColors;
        fuzz::Check(colors == 0 || colors == 2 || colors == 16 || colors == 256, "colour count");
    } catch (const EReadError&) {
    }
    return 0;
}
