#include "classlib/core/valueinput.h"

#include "classlib/core/exceptions.h"
#include "classlib/core/resstrings.h"
#include "classlib/core/stream_errors.h"

uint8_t TValueInput::ReadByte() {
    uint8_t b;
    stream_.ReadBuffer(&b, 1);
    return b;
}

uint8_t TValueInput::PeekByte() {
    uint8_t b = ReadByte();
    stream_.Seek(-1, soCurrent);
    return b;
}

void TValueInput::ReadBytes(void* buffer, int32_t count) {
    stream_.ReadBuffer(buffer, count);
}

void TValueInput::Skip(int64_t count) {
    if (count < 0) RaiseInvalidImage();
    if (count > stream_.Size() - stream_.Position()) throw EReadError(LoadStr(SReadError));
    stream_.Seek(count, soCurrent);
}

int64_t TValueInput::ReadSigned(int size) {
    uint8_t bytes[8];
    ReadBytes(bytes, size);
    uint64_t value = 0;
    for (int i = 0; i < size; ++i) value |= static_cast<uint64_t>(bytes[i]) << (8 * i);
    if (size < 8 && (bytes[size - 1] & 0x80)) value |= ~uint64_t(0) << (8 * size);  // sign-extend
    return static_cast<int64_t>(value);
}

int32_t TValueInput::ReadLength(int unitSize) {
    int64_t length = ReadSigned(4);
    if (length < 0) RaiseInvalidImage();
    if (length * unitSize > stream_.Size() - stream_.Position()) throw EReadError(LoadStr(SReadError));
    return static_cast<int32_t>(length);
}

std::string TValueInput::ReadShortString() {
    std::string s(ReadByte(), '\0');
    if (!s.empty()) ReadBytes(s.data(), static_cast<int32_t>(s.size()));
    return s;
}

std::string TValueInput::ReadLongBytes() {
    std::string s(static_cast<size_t>(ReadLength(1)), '\0');
    if (!s.empty()) ReadBytes(s.data(), static_cast<int32_t>(s.size()));
    return s;
}

std::wstring TValueInput::ReadWideUnits() {
    int32_t count = ReadLength(2);
    std::string raw(static_cast<size_t>(count) * 2, '\0');
    if (count) ReadBytes(raw.data(), count * 2);
    std::wstring units(static_cast<size_t>(count), L'\0');
    for (size_t i = 0; i < units.size(); ++i)
        units[i] = static_cast<wchar_t>(static_cast<uint8_t>(raw[2 * i]) | (static_cast<uint8_t>(raw[2 * i + 1]) << 8));
    return units;
}

std::wstring Utf8ToUtf16(const std::string& bytes) {
    std::wstring out;
    size_t i = 0, n = bytes.size();
    auto at = [&](size_t k) { return static_cast<uint8_t>(bytes[k]); };
    while (i < n) {
        uint8_t lead = at(i);
        uint32_t cp;
        size_t extra;
        if (lead < 0x80) { cp = lead; extra = 0; }
        else if ((lead & 0xE0) == 0xC0) { cp = lead & 0x1F; extra = 1; }
        else if ((lead & 0xF0) == 0xE0) { cp = lead & 0x0F; extra = 2; }
        else if ((lead & 0xF8) == 0xF0) { cp = lead & 0x07; extra = 3; }
        else RaiseInvalidImage();
        if (i + extra >= n) RaiseInvalidImage();  // truncated sequence
        for (size_t k = 1; k <= extra; ++k) {
            if ((at(i + k) & 0xC0) != 0x80) RaiseInvalidImage();
            cp = (cp << 6) | (at(i + k) & 0x3F);
        }
        static const uint32_t minimum[] = {0, 0x80, 0x800, 0x10000};
        if (cp < minimum[extra] || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) RaiseInvalidImage();
        if (cp >= 0x10000) {
            cp -= 0x10000;
            out += static_cast<wchar_t>(0xD800 + (cp >> 10));
            out += static_cast<wchar_t>(0xDC00 + (cp & 0x3FF));
        } else {
            out += static_cast<wchar_t>(cp);
        }
        i += extra + 1;
    }
    return out;
}
