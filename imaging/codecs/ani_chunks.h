// Reading animated cursors: the RIFF "ACON" chunks into a header, texts,
// frames and the icon or cursor files the frames show. Decoding an icon
// file is left to the caller (the platform's icon class), through
// TAniIconDecoder.
#pragma once
#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

// The "anih" chunk, as stored.
struct TAniHeader {
    uint32_t HeaderSize = 0;
    uint32_t FrameCount = 0;
    uint32_t StepCount = 0;
    uint32_t Width = 0;
    uint32_t Height = 0;
    uint32_t BitCount = 0;
    uint32_t Planes = 0;
    uint32_t DefaultRate = 0;  // 1/60 s
    uint32_t Flags = 0;        // bit 0: the frames are icon or cursor files
};
inline constexpr size_t kAniHeaderSize = 36;
inline constexpr uint32_t kAniIconFlag = 1;

// Longest title and creator kept.
inline constexpr size_t kAniMaxText = 255;

// One "icon" chunk that decoded.
struct TAniIcon {
    bool FromIconResource = false;            // false: a cursor
    std::array<uint8_t, 8> ChunkHeader{};     // "icon" and the chunk's size
    int32_t HotSpotX = 0, HotSpotY = 0;       // a cursor's from its directory, an icon's centre
};

struct TAniFrame {
    int32_t Rate = 0;         // 1/60 s
    int32_t IconNumber = 0;   // which "icon" chunk; -1 for one no frame asked for
    int32_t Icon = -1;        // index into TAniContent::Icons
};

struct TAniContent {
    TAniHeader Header;  // StepCount is the number of frames
    std::string Title, Creator;
    std::vector<TAniIcon> Icons;
    std::vector<TAniFrame> Frames;  // every one with an icon
    int32_t MaxIconColors = 0;      // 2, 16 or 256: the most of any image
};

// Width and height of a decoded icon.
struct TAniIconSize {
    int32_t Width = 0, Height = 0;
};

// Decodes an icon file (type 1; a cursor's type has been changed to 1) and
// keeps it as the next icon; nullopt when it is no icon. The bytes are only
// valid during the call.
using TAniIconDecoder = std::function<std::optional<TAniIconSize>(const uint8_t* file, size_t size)>;

// "RIFF", its size (not checked) and "ACON".
inline constexpr size_t kAniSignatureSize = 12;
bool HasAniSignature(const uint8_t* data, size_t size);

// Raises EReadError "Stream-Read-Fehler" when the data is no animated
// cursor: no "RIFF"/"ACON", an "anih" without the icon flag or steps, or no
// frame with an icon. Short chunks end the reading quietly.
TAniContent ReadAniChunks(const uint8_t* data, size_t size, const TAniIconDecoder& decodeIcon);

// Colours of an icon image of that bit count: 2, 16, 256, else 0.
int32_t AniColorsOfBitCount(uint32_t bitCount);
