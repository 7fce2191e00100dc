// Test helpers: picture files built in memory, written beside the test
// executable and opened through the DLL.
#pragma once
#ifdef _WIN32
#include <windows.h>
#endif

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "pixwell/pixwell.h"

namespace test_pictures {

#ifdef _WIN32
// A fault ends the test process at once instead of waiting in Wine's
// debugger, so a stray access in a decoder fails the run quickly.
inline LONG WINAPI EndOnFault(EXCEPTION_POINTERS* fault) {
    std::fprintf(stderr, "fatal exception 0x%08lx\n", fault->ExceptionRecord->ExceptionCode);
    std::fflush(stderr);
    TerminateProcess(GetCurrentProcess(), 3);
    return EXCEPTION_EXECUTE_HANDLER;
}
inline const bool kFaultsEndTheProcess = (SetUnhandledExceptionFilter(EndOnFault), true);
#endif

// Whether the record's palette is a live palette object of the platform.
inline bool IsPaletteObject(void* palette) {
#ifdef _WIN32
    return GetObjectType(palette) == static_cast<DWORD>(OBJ_PAL);
#else
    return palette != nullptr;
#endif
}

inline void PutU32(std::string& s, size_t at, uint32_t v, int bytes = 4) {
    for (int i = 0; i < bytes; ++i) s[at + i] = static_cast<char>(v >> 8 * i);
}

// A bitmap file: `pixel(x, row)` with rows counted from the top of the
// picture, an index up to 8 bits, 0x00BBGGRR for 24 and 32 bits.
inline std::string MakeBmp(int width, int height, int bitCount, bool topDown, const std::vector<uint32_t>& colors,
                           const std::function<uint32_t(int, int)>& pixel) {
    const size_t rowBytes = (size_t(width) * bitCount + 31) / 32 * 4;
    const size_t pixelOffset = 54 + 4 * colors.size();
    std::string file(pixelOffset + rowBytes * height, '\0');
    file[0] = 'B';
    file[1] = 'M';
    PutU32(file, 2, static_cast<uint32_t>(file.size()));
    PutU32(file, 10, static_cast<uint32_t>(pixelOffset));
    PutU32(file, 14, 40);
    PutU32(file, 18, width);
    PutU32(file, 22, topDown ? -height : height);
    PutU32(file, 26, 1, 2);
    PutU32(file, 28, bitCount, 2);
    PutU32(file, 46, static_cast<uint32_t>(colors.size()));
    for (size_t i = 0; i < colors.size(); ++i) PutU32(file, 54 + 4 * i, colors[i] >> 16 | (colors[i] & 0xFF00) | (colors[i] & 0xFF) << 16);
    for (int row = 0; row < height; ++row) {
        char* line = file.data() + pixelOffset + (topDown ? row : height - 1 - row) * rowBytes;
        for (int x = 0; x < width; ++x) {
            const uint32_t v = pixel(x, row);
            if (bitCount == 1) line[x / 8] = static_cast<char>(line[x / 8] | (v & 1) << (7 - x % 8));
            if (bitCount == 4) line[x / 2] = static_cast<char>(line[x / 2] | (v & 15) << (x % 2 ? 0 : 4));
            if (bitCount == 8) line[x] = static_cast<char>(v);
            if (bitCount >= 24) {
                std::string bgr(bitCount / 8, '\xFF');
                PutU32(bgr, 0, v >> 16 | (v & 0xFF00) | (v & 0xFF) << 16, 3);
                std::memcpy(line + x * bgr.size(), bgr.data(), bgr.size());
            }
        }
    }
    return file;
}

// A file beside the test executable, removed at the end of the scope.
class TTempFile {
public:
    TTempFile(std::string name, const std::string& content) : name_(std::move(name)) { Write(content); }
    ~TTempFile() { std::remove(name_.c_str()); }
    void Write(const std::string& content) const {
        if (std::FILE* f = std::fopen(name_.c_str(), "wb")) {
            std::fwrite(content.data(), 1, content.size(), f);
            std::fclose(f);
        }
    }
    const char* Name() const { return name_.c_str(); }

private:
    std::string name_;
};

// A record loaded by OpenDib over garbage, freed at the end of the scope.
struct TLoaded {
    TDIB Dib;
    int32_t Result;
    explicit TLoaded(const char* fileName) {
        std::memset(&Dib, 0xCD, sizeof Dib);
        Result = OpenDib(&Dib, fileName, 0, nullptr);
    }
    ~TLoaded() { deldib(Dib); }
};

inline TDIB ZeroRecord() {
    TDIB dib;
    std::memset(&dib, 0, sizeof dib);
    return dib;
}

inline bool IsEmptyRecord(const TDIB& dib) {
    const TDIB zero = ZeroRecord();
    return std::memcmp(&dib, &zero, sizeof dib) == 0;
}

// Header fields and colour-table entries (0x00BBGGRR) behind Info.
inline int32_t InfoWidth(const TDIB& dib) { return static_cast<const int32_t*>(dib.Info)[1]; }
inline int32_t InfoHeight(const TDIB& dib) { return static_cast<const int32_t*>(dib.Info)[2]; }
inline int InfoBitCount(const TDIB& dib) { return static_cast<const uint16_t*>(dib.Info)[7]; }
inline uint32_t InfoColorsUsed(const TDIB& dib) { return static_cast<const uint32_t*>(dib.Info)[8]; }
inline uint32_t InfoColor(const TDIB& dib, uint32_t i) {
    const auto* e = static_cast<const uint8_t*>(dib.Info) + 40 + 4 * i;
    return e[2] | e[1] << 8 | e[0] << 16;
}

}  // namespace test_pictures
