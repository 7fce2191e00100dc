#include "imaging/codecs/icon_list_stream.h"

#include "classlib/core/exceptions.h"
#include "classlib/core/resstrings.h"
#include "classlib/core/streams.h"

namespace {

int32_t ReadInt32(TStream& stream) {
    uint8_t b[4];
    stream.ReadBuffer(b, sizeof b);
    return static_cast<int32_t>(b[0] | b[1] << 8 | b[2] << 16 | static_cast<uint32_t>(b[3]) << 24);
}

void WriteInt32(TStream& stream, int32_t value) {
    const auto v = static_cast<uint32_t>(value);
    const uint8_t b[4] = {static_cast<uint8_t>(v), static_cast<uint8_t>(v >> 8), static_cast<uint8_t>(v >> 16),
                          static_cast<uint8_t>(v >> 24)};
    stream.WriteBuffer(b, sizeof b);
}

}  // namespace

int32_t ReadIconListCount(TStream& stream) {
    return ReadInt32(stream);
}

std::vector<uint8_t> ReadIconListPlace(TStream& stream) {
    const int32_t size = ReadInt32(stream);
    if (size <= 0) return {};
    if (size > stream.Size() - stream.Position()) throw EReadError(LoadStr(SReadError));
    std::vector<uint8_t> file(static_cast<size_t>(size));
    stream.ReadBuffer(file.data(), size);
    return file;
}

void WriteIconListCount(TStream& stream, int32_t count) {
    WriteInt32(stream, count);
}

void WriteIconListPlace(TStream& stream, const std::vector<uint8_t>& iconFile) {
    WriteInt32(stream, static_cast<int32_t>(iconFile.size()));
    if (!iconFile.empty()) stream.WriteBuffer(iconFile.data(), static_cast<int32_t>(iconFile.size()));
}
