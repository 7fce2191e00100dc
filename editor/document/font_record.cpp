#include "editor/document/font_record.h"

#include <algorithm>

#include "classlib/core/byte_fields.h"

void WriteFont(TByteWriter& out, const TFontRecord& font) {
    const size_t nameLength = std::min<size_t>(font.Name.size(), 255);
    out.Put<uint8_t>(font.Charset);
    out.Put<int32_t>(font.Color);
    out.Put<uint8_t>(static_cast<uint8_t>(nameLength));
    out.PutBytes(std::string_view(font.Name).substr(0, nameLength));
    out.Put<uint8_t>(font.Pitch);
    out.Put<int32_t>(font.PixelsPerInch);
    out.Put<int32_t>(font.Size);
    out.Put<uint8_t>(font.Style);
}

void ReadFont(TByteReader& in, TFontRecord& font) {
    font.Charset = in.Get<uint8_t>();
    font.Color = in.Get<int32_t>();
    font.Name.assign(in.GetBytes(in.Get<uint8_t>()));
    font.Pitch = in.Get<uint8_t>();
    font.PixelsPerInch = in.Get<int32_t>();
    font.Size = in.Get<int32_t>();
    font.Style = in.Get<uint8_t>();
}
