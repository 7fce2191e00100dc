// Test helpers: picture files built in memory, written beside the test
// executable and opened through the DLL.
#pragma once
#include <windows.h>

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "pixwell.h"

namespace test_pictures {

// A fault ends the test process at once instead of waiting in Wine's
// debugger, so a stray access in a decoder fails the run quickly.
inline LONG WINAPI EndOnFault(EXCEPTION_POINTERS* fault) {
    std::fprintf(stderr, "fatal exception 0x%08lx\n", fault->ExceptionRecord->ExceptionCode);
    std::fflush(stderr);
    TerminateProcess(GetCurrentProcess(), 3);
    return EXCEPTION_EXECUTE_HANDLER;
}
inline const bool kFaultsEndTheProcess = (SetUnhandledExceptionFilter(EndOnFault), true);

inline void PutU16(std::string& s, size_t at, uint32_t v) {
    s[at] = static_cast<char>(v);
    s[at + 1] = static_cast<char>(v >> 8);
}
inline void PutU32(std::string& s, size_t at, uint32_t v) {
    PutU16(s, at, v & 0xFFFF);
    PutU16(s, at + 2, v >> 16);
}
inline uint32_t GetU32(const std::string& s, size_t at) {
    auto b = [&](size_t i) { return uint32_t(static_cast<uint8_t>(s[at + i])); };
    return b(0) | b(1) << 8 | b(2) << 16 | b(3) << 24;
}

// A bitmap file. Pixel(x, row) gives the value of the pixel in row `row`
// counted from the top of the picture: an index up to 8 bits, 0x00BBGGRR
// for 24 and 32 bits.
struct TBmpSpec {
    int Width = 1;
    int Height = 1;
    int BitCount = 24;
    bool TopDown = false;
    bool CoreHeader = false;
    std::vector<uint32_t> Colors;  // 0x00BBGGRR each
    std::function<uint32_t(int x, int row)> Pixel = [](int, int) { return 0u; };
};

inline std::string MakeBmp(const TBmpSpec& spec) {
    const size_t headerSize = spec.CoreHeader ? 12 : 40;
    const size_t entrySize = spec.CoreHeader ? 3 : 4;
    const size_t tableSize = spec.Colors.size() * entrySize;
    const size_t rowBytes = (size_t(spec.Width) * spec.BitCount + 31) / 32 * 4;
    const size_t pixelOffset = 14 + headerSize + tableSize;
    std::string file(pixelOffset + rowBytes * spec.Height, '\0');
    file[0] = 'B';
    file[1] = 'M';
    PutU32(file, 2, static_cast<uint32_t>(file.size()));
    PutU32(file, 10, static_cast<uint32_t>(pixelOffset));
    PutU32(file, 14, static_cast<uint32_t>(headerSize));
    if (spec.CoreHeader) {
        PutU16(file, 18, spec.Width);
        PutU16(file, 20, spec.Height);
        PutU16(file, 22, 1);
        PutU16(file, 24, spec.BitCount);
    } else {
        PutU32(file, 18, spec.Width);
        PutU32(file, 22, spec.TopDown ? -spec.Height : spec.Height);
        PutU16(file, 26, 1);
        PutU16(file, 28, spec.BitCount);
        PutU32(file, 34, static_cast<uint32_t>(rowBytes * spec.Height));
        PutU32(file, 46, static_cast<uint32_t>(spec.Colors.size()));
    }
    for (size_t i = 0; i < spec.Colors.size(); ++i) {
        const uint32_t c = spec.Colors[i];
        const size_t at = 14 + headerSize + i * entrySize;
        file[at] = static_cast<char>(c >> 16);
        file[at + 1] = static_cast<char>(c >> 8);
        file[at + 2] = static_cast<char>(c);
    }
    for (int row = 0; row < spec.Height; ++row) {
        const int fileRow = spec.TopDown ? row : spec.Height - 1 - row;
        char* line = file.data() + pixelOffset + fileRow * rowBytes;
        for (int x = 0; x < spec.Width; ++x) {
            const uint32_t v = spec.Pixel(x, row);
            switch (spec.BitCount) {
            case 1: line[x / 8] = static_cast<char>(line[x / 8] | (v & 1) << (7 - x % 8)); break;
            case 4: line[x / 2] = static_cast<char>(line[x / 2] | (v & 15) << (x % 2 ? 0 : 4)); break;
            case 8: line[x] = static_cast<char>(v); break;
            case 24:
            case 32: {
                char* p = line + x * (spec.BitCount / 8);
                p[0] = static_cast<char>(v >> 16);
                p[1] = static_cast<char>(v >> 8);
                p[2] = static_cast<char>(v);
                if (spec.BitCount == 32) p[3] = static_cast<char>(0xFF);
                break;
            }
            }
        }
    }
    return file;
}

// A file beside the test executable, removed again at the end of the scope.
class TTempFile {
public:
    TTempFile(const std::string& name, const std::string& content) : name_(name) { Write(content); }
    ~TTempFile() { std::remove(name_.c_str()); }
    TTempFile(const TTempFile&) = delete;
    TTempFile& operator=(const TTempFile&) = delete;
    void Write(const std::string& content) const {
        std::FILE* f = std::fopen(name_.c_str(), "wb");
        if (!f) return;
        std::fwrite(content.data(), 1, content.size(), f);
        std::fclose(f);
    }
    const char* Name() const { return name_.c_str(); }

private:
    std::string name_;
};

// A record loaded by OpenDib, freed at the end of the scope.
struct TLoaded {
    TDIB Dib;
    int32_t Result;
    explicit TLoaded(const char* fileName) {
        std::memset(&Dib, 0xCD, sizeof Dib);  // OpenDib must not rely on a clean record
        Result = OpenDib(&Dib, fileName, 0, nullptr);
    }
    ~TLoaded() { deldib(Dib); }
    TLoaded(const TLoaded&) = delete;
    TLoaded& operator=(const TLoaded&) = delete;
};

inline TDIB ZeroRecord() {
    TDIB dib;
    std::memset(&dib, 0, sizeof dib);
    return dib;
}

inline bool IsEmptyRecord(const TDIB& dib) {
    return dib.Info == nullptr && dib.Bits == nullptr && dib.Palette == nullptr && dib.HasPalette == 0 &&
           dib.BytesPerLine == 0;
}

// The header fields the programs read, from the record's Info block.
inline int32_t InfoWidth(const TDIB& dib) { return reinterpret_cast<const int32_t*>(dib.Info)[1]; }
inline int32_t InfoHeight(const TDIB& dib) { return reinterpret_cast<const int32_t*>(dib.Info)[2]; }
inline int InfoBitCount(const TDIB& dib) { return reinterpret_cast<const uint16_t*>(dib.Info)[7]; }
inline uint32_t InfoColorsUsed(const TDIB& dib) { return reinterpret_cast<const uint32_t*>(dib.Info)[8]; }
// Colour-table entry i as 0x00BBGGRR.
inline uint32_t InfoColor(const TDIB& dib, int i) {
    const auto* e = static_cast<const uint8_t*>(dib.Info) + 40 + 4 * i;
    return e[2] | e[1] << 8 | e[0] << 16;
}

}  // namespace test_pictures
