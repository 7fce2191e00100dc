#include "editor/document/font_record.h"

#include <cstdint>
#include <string>

#include "classlib/core/font.h"
#include "classlib/core/untyped_file.h"

namespace {

template <class T>
void Put(TUntypedFile& file, T value) {
    file.BlockWrite(&value, sizeof value);
    InOutCheck();
}

template <class T>
T Get(TUntypedFile& file) {
    T value{};
    file.BlockRead(&value, sizeof value);
    InOutCheck();
    return value;
}

}  // namespace

void WriteFont(TUntypedFile& file, const TFont& font) {
    Put<uint8_t>(file, font.Charset());
    Put<int32_t>(file, font.Color());
    std::string name = font.Name().substr(0, 255);
    Put<uint8_t>(file, static_cast<uint8_t>(name.size()));
    file.BlockWrite(name.data(), static_cast<int32_t>(name.size()));
    InOutCheck();
    Put<uint8_t>(file, static_cast<uint8_t>(font.Pitch()));
    Put<int32_t>(file, font.PixelsPerInch());
    Put<int32_t>(file, font.Size());
    Put<uint8_t>(file, static_cast<uint8_t>(font.Style().Bits()));
}

void ReadFont(TUntypedFile& file, TFont& font) {
    font.SetCharset(Get<uint8_t>(file));
    font.SetColor(Get<int32_t>(file));
    uint8_t length = Get<uint8_t>(file);
    std::string name(length, '\0');
    file.BlockRead(name.data(), length);
    InOutCheck();
    font.SetName(name);
    uint8_t pitch = Get<uint8_t>(file);
    font.SetPitch(pitch <= fpFixed ? static_cast<TFontPitch>(pitch) : fpDefault);
    font.SetPixelsPerInch(Get<int32_t>(file));
    font.SetSize(Get<int32_t>(file));
    font.SetStyle(TFontStyles::FromBits(Get<uint8_t>(file) & 0x0Fu));
}
