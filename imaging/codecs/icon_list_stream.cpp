#include "imaging/codecs/icon_list_stream.h"

#include "classlib/core/exceptions.h"
#include "classlib/core/resstrings.h"
#include "classlib/core/stream_fields.h"

int32_t ReadIconListCount(TStream& stream) {
    return ReadLittleEndian<int32_t>(stream);
}

std::vector<uint8_t> ReadIconListPlace(TStream& stream) {
    const int32_t size = ReadLittleEndian<int32_t>(stream);
    if (size <= 0) return {};
    if (size > stream.Size() - stream.Position()) throw EReadError(LoadStr(SReadError));
    std::vector<uint8_t> file(static_cast<size_t>(size));
    stream.ReadBuffer(file.data(), size);
    return file;
}

void WriteIconListCount(TStream& stream, int32_t count) {
    WriteLittleEndian<int32_t>(stream, count);
}

void WriteIconListPlace(TStream& stream, const std::vector<uint8_t>& iconFile) {
    WriteLittleEndian<int32_t>(stream, static_cast<int32_t>(iconFile.size()));
    if (!iconFile.empty()) stream.WriteBuffer(iconFile.data(), static_cast<int32_t>(iconFile.size()));
}
