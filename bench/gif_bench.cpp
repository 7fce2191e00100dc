// GIF figures for this machine: decoding and encoding a 1024 x 1024 picture
// of 256 colours and a 200-frame animation, in megapixels per second, beside
// giflib where the build found it. With GIF files named on the command line
// it decodes each instead, and can write every frame as a binary PPM
// (--dump DIR) and the picture again through our encoder (--encode DIR).
#include <chrono>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <string>
#include <vector>

#include "classlib/core/exceptions.h"
#include "imaging/codecs/gif_reader.h"
#include "imaging/codecs/gif_samples.h"
#include "imaging/codecs/gif_writer.h"

#ifdef QUILLORY_HAVE_GIFLIB
#include <gif_lib.h>
#endif

namespace {

using TClock = std::chrono::steady_clock;

// The best of a few runs of body, in seconds.
double Best(int runs, const std::function<void()>& body) {
    double best = 1e30;
    for (int i = 0; i < runs; ++i) {
        const auto start = TClock::now();
        body();
        best = std::min(best, std::chrono::duration<double>(TClock::now() - start).count());
    }
    return best;
}

// A photograph-like picture: smooth gradients with some noise.
std::vector<uint8_t> Picture(int32_t width, int32_t height, uint32_t seed) {
    std::vector<uint8_t> p(size_t(width) * size_t(height));
    uint32_t state = seed * 747796405u + 1;
    for (int32_t y = 0; y < height; ++y)
        for (int32_t x = 0; x < width; ++x) {
            state = state * 1664525u + 1013904223u;
            const int v = (x * 3 + y * 2 + int(seed) * 5) / 8 + int(state >> 29) - 4;
            p[size_t(y) * size_t(width) + size_t(x)] = uint8_t(v);
        }
    return p;
}

struct TAnimation {
    int32_t width, height, frames;
    std::vector<std::vector<uint8_t>> pictures;
    std::vector<uint8_t> gif;
};

std::vector<uint8_t> OurEncode(const std::vector<uint8_t>& indexes, int32_t width, int32_t height) {
    return EncodeIndexes(indexes, width, height, 8, false);
}

void OurDecodeAll(const std::vector<uint8_t>& gif) {
    TGifPictureRecord picture;
    std::vector<TGifFrameRecord> frames;
    ReadGifData(gif.data(), gif.size(), picture, frames);
    std::vector<uint8_t> bmp;
    for (const TGifFrameRecord& frame : frames) DecodeFrameToBmp(*frame.Item, frame.IsInterlaced, bmp);
}

std::vector<uint8_t> BuildGif(const std::vector<std::vector<uint8_t>>& pictures, int32_t width, int32_t height) {
    TGifBuilder builder(uint16_t(width), uint16_t(height), 8);
    if (pictures.size() > 1) builder.Loop(0);
    for (const auto& p : pictures) builder.GraphicControl(0, 4, 0).Image(0, 0, uint16_t(width), uint16_t(height), p, 8);
    return builder.Finish();
}

#ifdef QUILLORY_HAVE_GIFLIB
struct TMemoryIn {
    const std::vector<uint8_t>* bytes;
    size_t at;
};

int ReadMemory(GifFileType* file, GifByteType* to, int count) {
    auto* in = static_cast<TMemoryIn*>(file->UserData);
    const size_t n = std::min(size_t(count), in->bytes->size() - in->at);
    std::memcpy(to, in->bytes->data() + in->at, n);
    in->at += n;
    return int(n);
}

int WriteMemory(GifFileType* file, const GifByteType* from, int count) {
    static_cast<std::vector<uint8_t>*>(file->UserData)->insert(
        static_cast<std::vector<uint8_t>*>(file->UserData)->end(), from, from + count);
    return count;
}

void GiflibDecodeAll(const std::vector<uint8_t>& gif) {
    TMemoryIn in{&gif, 0};
    int error = 0;
    GifFileType* file = DGifOpen(&in, ReadMemory, &error);
    if (!file || DGifSlurp(file) != GIF_OK) std::fprintf(stderr, "giflib could not read\n");
    DGifCloseFile(file, &error);
}

std::vector<uint8_t> GiflibEncode(const std::vector<std::vector<uint8_t>>& pictures, int32_t width, int32_t height) {
    std::vector<uint8_t> out;
    int error = 0;
    GifFileType* file = EGifOpen(&out, WriteMemory, &error);
    const std::vector<uint8_t> table = SampleColorTable(8);
    ColorMapObject* map = GifMakeMapObject(256, reinterpret_cast<const GifColorType*>(table.data()));
    EGifPutScreenDesc(file, width, height, 8, 0, map);
    for (const auto& p : pictures) {
        EGifPutImageDesc(file, 0, 0, width, height, false, nullptr);
        for (int32_t y = 0; y < height; ++y)
            EGifPutLine(file, const_cast<GifPixelType*>(p.data() + size_t(y) * size_t(width)), width);
    }
    GifFreeMapObject(map);
    EGifCloseFile(file, &error);
    return out;
}
#endif

void Report(const char* what, double pixels, double ours, double peer) {
    std::printf("  %-40s %8.1f MP/s", what, pixels / ours / 1e6);
    if (peer > 0) std::printf("   giflib %8.1f MP/s   speed %5.2fx giflib's", pixels / peer / 1e6, peer / ours);
    std::printf("\n");
}

void Benchmarks() {
    const int32_t side = 1024;
    const std::vector<std::vector<uint8_t>> still{Picture(side, side, 1)};
    const std::vector<uint8_t> stillGif = BuildGif(still, side, side);
    TAnimation anim{160, 120, 200, {}, {}};
    for (int i = 0; i < anim.frames; ++i) anim.pictures.push_back(Picture(anim.width, anim.height, uint32_t(i)));
    anim.gif = BuildGif(anim.pictures, anim.width, anim.height);
    const double stillPixels = double(side) * side;
    const double animPixels = double(anim.width) * anim.height * anim.frames;

    double peer = 0;
#ifdef QUILLORY_HAVE_GIFLIB
    std::printf("GIF coding, native, beside giflib %d.%d.%d (goal: decoding at least as fast, encoding within 1.5x):\n",
                GIFLIB_MAJOR, GIFLIB_MINOR, GIFLIB_RELEASE);
#else
    std::printf("GIF coding, native (giflib not found at build time: our figures only):\n");
#endif
    const double decodeStill = Best(5, [&] { OurDecodeAll(stillGif); });
#ifdef QUILLORY_HAVE_GIFLIB
    peer = Best(5, [&] { GiflibDecodeAll(stillGif); });
#endif
    Report("decode 1024x1024, 256 colours", stillPixels, decodeStill, peer);
    const double encodeStill = Best(5, [&] { OurEncode(still[0], side, side); });
#ifdef QUILLORY_HAVE_GIFLIB
    peer = Best(5, [&] { GiflibEncode(still, side, side); });
#endif
    Report("encode 1024x1024, 256 colours", stillPixels, encodeStill, peer);
    const double decodeAnim = Best(5, [&] { OurDecodeAll(anim.gif); });
#ifdef QUILLORY_HAVE_GIFLIB
    peer = Best(5, [&] { GiflibDecodeAll(anim.gif); });
#endif
    Report("decode 200 frames of 160x120", animPixels, decodeAnim, peer);
    // The animation as the writer takes it, read before timing: the figure
    // is our encoder and writer alone, as giflib's is.
    TGifPictureRecord animPicture;
    std::vector<TGifFrameRecord> animFrames;
    ReadGifData(anim.gif.data(), anim.gif.size(), animPicture, animFrames);
    std::vector<const TGifFrameRecord*> animList;
    for (TGifFrameRecord& frame : animFrames) {
        AlignFrameExtensions(frame, animPicture.FormatVersion);
        animList.push_back(&frame);
    }
    const double encodeAnim = Best(5, [&] {
        for (size_t i = 0; i < animFrames.size(); ++i)
            animFrames[i].Item->EncodedData = OurEncode(anim.pictures[i], anim.width, anim.height);
        std::vector<uint8_t> written;
        WriteGifData(animPicture, animList, written);
    });
#ifdef QUILLORY_HAVE_GIFLIB
    peer = Best(5, [&] { GiflibEncode(anim.pictures, anim.width, anim.height); });
#endif
    Report("encode 200 frames of 160x120", animPixels, encodeAnim, peer);
    std::printf("  (sizes: ours %zu and %zu bytes", stillGif.size(), anim.gif.size());
#ifdef QUILLORY_HAVE_GIFLIB
    std::printf(", giflib %zu and %zu bytes", GiflibEncode(still, side, side).size(),
                GiflibEncode(anim.pictures, anim.width, anim.height).size());
#endif
    std::printf(")\n");
}

// The frame's pixels as indexes, top row first, from its bitmap file image.
std::vector<uint8_t> FrameIndexes(const std::vector<uint8_t>& bmp, const TGIFItem& item, int bitCount) {
    std::vector<uint8_t> indexes;
    const size_t stride = TDibPixels::StrideOf(item.Width, bitCount);
    const uint8_t* rows = bmp.data() + 54 + 4 * (size_t(1) << bitCount);
    for (int32_t y = 0; y < item.Height; ++y) {
        const uint8_t* row = rows + stride * size_t(item.Height - 1 - y);
        for (int32_t x = 0; x < item.Width; ++x)
            indexes.push_back(bitCount == 8   ? row[x]
                              : bitCount == 4 ? ((x & 1) ? row[x / 2] & 15 : row[x / 2] >> 4)
                                              : (row[x / 8] >> (7 - (x & 7))) & 1);
    }
    return indexes;
}

void WritePpm(const std::filesystem::path& name, const std::vector<uint8_t>& indexes, const TGIFItem& item) {
    std::ofstream out(name, std::ios::binary);
    out << "P6\n" << item.Width << ' ' << item.Height << "\n255\n";
    for (uint8_t i : indexes) {
        const uint8_t* rgb = item.ColorTable.Entries[i];
        const char pixel[3] = {char(rgb[0]), char(rgb[1]), char(rgb[2])};
        out.write(pixel, 3);
    }
}

int Files(const std::vector<std::string>& files, const std::string& dump, const std::string& encode) {
    int status = 0;
    for (const std::string& name : files) {
        std::ifstream in(name, std::ios::binary);
        const std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        const std::string stem = std::filesystem::path(name).stem().string();
        TGifPictureRecord picture;
        std::vector<TGifFrameRecord> frames;
        double pixels = 0;
        const auto start = TClock::now();
        std::string failure;
        std::vector<std::vector<uint8_t>> decoded;
        try {
            ReadGifData(bytes.data(), bytes.size(), picture, frames);
        } catch (const Exception& e) {
            failure = e.Message();
        }
        for (const TGifFrameRecord& frame : frames) {
            std::vector<uint8_t> bmp;
            try {
                DecodeFrameToBmp(*frame.Item, frame.IsInterlaced, bmp);
                decoded.push_back(std::move(bmp));
                pixels += double(frame.Item->Width) * frame.Item->Height;
            } catch (const Exception& e) {
                failure = e.Message();
                decoded.emplace_back();
            }
        }
        const double seconds = std::chrono::duration<double>(TClock::now() - start).count();
        std::printf("%s: %zu frame(s), %.2f MP in %.4f s%s%s\n", name.c_str(), frames.size(), pixels / 1e6, seconds,
                    failure.empty() ? "" : "; ", failure.c_str());
        if (!failure.empty()) status = 1;
        for (size_t i = 0; i < frames.size(); ++i) {
            if (decoded[i].empty()) continue;
            TGIFItem& item = *frames[i].Item;
            const int bitCount = FrameBitCount(item.ColorBits);
            const std::vector<uint8_t> indexes = FrameIndexes(decoded[i], item, bitCount);
            if (!dump.empty()) {
                char suffix[32];
                std::snprintf(suffix, sizeof suffix, "_%03zu.ppm", i);
                WritePpm(std::filesystem::path(dump) / (stem + suffix), indexes, item);
            }
            if (!encode.empty()) {
                item.EncodedData = EncodeIndexes(indexes, item.Width, item.Height, bitCount, frames[i].IsInterlaced);
            }
        }
        if (!encode.empty() && !frames.empty()) {
            std::vector<const TGifFrameRecord*> list;
            for (auto& frame : frames) {
                AlignFrameExtensions(frame, picture.FormatVersion);
                list.push_back(&frame);
            }
            std::vector<uint8_t> out;
            WriteGifData(picture, list, out);
            std::ofstream(std::filesystem::path(encode) / (stem + ".gif"), std::ios::binary)
                .write(reinterpret_cast<const char*>(out.data()), std::streamsize(out.size()));
        }
    }
    return status;
}

}  // namespace

int main(int argc, char** argv) {
    std::vector<std::string> files;
    std::string dump, encode;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if ((arg == "--dump" || arg == "--encode") && i + 1 < argc) {
            (arg == "--dump" ? dump : encode) = argv[++i];
            std::filesystem::create_directories(arg == "--dump" ? dump : encode);
        } else if (arg == "--help" || arg == "-h") {
            std::printf("usage: gif_bench [--dump DIR] [--encode DIR] [file.gif ...]\n");
            return 0;
        } else {
            files.push_back(arg);
        }
    }
    if (files.empty()) {
        Benchmarks();
        return 0;
    }
    return Files(files, dump, encode);
}
