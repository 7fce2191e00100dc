// Checked reading of the form stream's value payloads: little-endian
// numbers and strings whose lengths are validated against the bytes left,
// so corrupt lengths raise EReadError instead of allocating or overrunning.
#pragma once
#include <cstdint>
#include <string>

#include "classlib/core/streams.h"

class TValueInput {
public:
    explicit TValueInput(TStream& stream) : stream_(stream) {}

    uint8_t ReadByte();
    // The next byte without consuming it.
    uint8_t PeekByte();
    void ReadBytes(void* buffer, int32_t count);
    void Skip(int64_t count);
    // A signed little-endian integer of 1, 2, 4 or 8 bytes.
    int64_t ReadSigned(int size);
    // Length byte + bytes.
    std::string ReadShortString();
    // 32-bit length + bytes (long strings, UTF-8 strings, binary data).
    std::string ReadLongBytes();
    // 32-bit count + UTF-16 code units.
    std::wstring ReadWideUnits();
    // A 32-bit length of count units of unitSize bytes that the stream
    // still holds.
    int32_t ReadLength(int unitSize);

private:
    TStream& stream_;
};

// Strict UTF-8 to UTF-16; raises EReadError "Ungültiges Stream-Format" on
// malformed input.
std::wstring Utf8ToUtf16(const std::string& bytes);
