// UTF-8 and UTF-7 text from outside bytes: decoding never reads or writes
// outside its buffers and raises only the layer's own error; any wide text
// survives encoding and decoding again.
#include <cstdint>
#include <string>
#include <vector>

#include "fuzz/fuzz_support.h"
#include "unicode/text/uc_errors.h"
#include "unicode/text/utf7.h"
#include "unicode/text/utf8.h"

namespace {

// The bytes as UTF-16 code units, two bytes each, low byte first.
std::wstring AsWide(const uint8_t* data, size_t size) {
    std::wstring text;
    for (size_t i = 0; i + 1 < size; i += 2) text += static_cast<wchar_t>(data[i] | (data[i + 1] << 8));
    return text;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    Utf8ToWide(bytes);
    try {
        Utf7ToWide(bytes);
    } catch (const EUcGeneralError&) {
    }
    // Into buffers of every small size: ASan sees any write past the end.
    for (int room = 1; room <= 8 && room <= static_cast<int>(size) + 1; ++room) {
        std::vector<wchar_t> wide(static_cast<size_t>(room));
        DecodeUtf8Buffer(wide.data(), room, bytes.data(), static_cast<int>(bytes.size()));
        const char* source = bytes.data();
        wchar_t* target = wide.data();
        DecodeUtf7Buffer(source, bytes.data() + bytes.size(), target, wide.data() + room);
    }

    const std::wstring text = AsWide(data, size);
    fuzz::Check(Utf7ToWide(WideToUtf7(text)) == text, "UTF-7 does not give the text back");
    for (int room = 1; room <= 8; ++room) {
        std::vector<char> narrow(static_cast<size_t>(room));
        EncodeUtf8Buffer(narrow.data(), room, text.data(), static_cast<int>(text.size()));
    }
    return 0;
}
