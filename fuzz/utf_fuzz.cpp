// UTF-8 and UTF-7 text from outside bytes: decoding never reads or writes
// outside its buffers and raises only the layer's own error; any wide text
// survives encoding and decoding again; and every result, error and buffer
// position is the one the plain coders give.
#include <cstdint>
#include <string>
#include <vector>

#include "fuzz/fuzz_support.h"
#include "unicode/text/uc_errors.h"
#include "unicode/text/utf7.h"
#include "unicode/text/utf8.h"
#include "unicode/text/utf_reference_coders_test.h"

namespace {

// The bytes as UTF-16 code units, two bytes each, low byte first.
std::wstring AsWide(const uint8_t* data, size_t size) {
    std::wstring text;
    for (size_t i = 0; i + 1 < size; i += 2) text += static_cast<wchar_t>(data[i] | (data[i + 1] << 8));
    return text;
}

void CheckDecodingIntoRoom(const std::string& bytes, int room) {
    const int count = static_cast<int>(bytes.size());
    std::vector<wchar_t> ours(static_cast<size_t>(room)), theirs(ours);
    fuzz::Check(DecodeUtf8Buffer(ours.data(), room, bytes.data(), count) ==
                    utf_reference::DecodeUtf8Buffer(theirs.data(), room, bytes.data(), count) && ours == theirs,
                "UTF-8 decoding into a small buffer differs from the plain decoder");
    const char* ourSource = bytes.data();
    const char* theirSource = bytes.data();
    wchar_t* ourTarget = ours.data();
    wchar_t* theirTarget = theirs.data();
    fuzz::Check(DecodeUtf7Buffer(ourSource, bytes.data() + count, ourTarget, ours.data() + room) ==
                        utf_reference::DecodeUtf7Buffer(theirSource, bytes.data() + count, theirTarget,
                                                        theirs.data() + room) &&
                    ourSource == theirSource && ourTarget - ours.data() == theirTarget - theirs.data() &&
                    ours == theirs,
                "UTF-7 decoding into a small buffer differs from the plain decoder");
}

void CheckEncodingIntoRoom(const std::wstring& text, int room) {
    const int count = static_cast<int>(text.size());
    std::vector<char> ours(static_cast<size_t>(room)), theirs(ours);
    fuzz::Check(EncodeUtf8Buffer(ours.data(), room, text.data(), count) ==
                    utf_reference::EncodeUtf8Buffer(theirs.data(), room, text.data(), count) && ours == theirs,
                "UTF-8 encoding into a small buffer differs from the plain encoder");
    for (int mode = 0; mode < 4; ++mode) {
        const wchar_t* ourSource = text.data();
        const wchar_t* theirSource = text.data();
        char* ourTarget = ours.data();
        char* theirTarget = theirs.data();
        fuzz::Check(EncodeUtf7Buffer(ourSource, text.data() + count, ourTarget, ours.data() + room, mode & 1,
                                     mode & 2) ==
                            utf_reference::EncodeUtf7Buffer(theirSource, text.data() + count, theirTarget,
                                                            theirs.data() + room, mode & 1, mode & 2) &&
                        ourSource == theirSource && ourTarget - ours.data() == theirTarget - theirs.data() &&
                        ours == theirs,
                    "UTF-7 encoding into a small buffer differs from the plain encoder");
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    fuzz::Check(Utf8ToWide(bytes) == utf_reference::Utf8ToWide(bytes), "UTF-8 decoding differs from the plain decoder");
    fuzz::Check(utf_reference::Utf7Outcome(Utf7ToWide, bytes) == utf_reference::Utf7Outcome(utf_reference::Utf7ToWide, bytes),
                "UTF-7 decoding differs from the plain decoder");
    // Into buffers of every small size: ASan sees any write past the end.
    for (int room = 1; room <= 8 && room <= static_cast<int>(size) + 1; ++room) CheckDecodingIntoRoom(bytes, room);

    const std::wstring text = AsWide(data, size);
    const std::string utf7 = WideToUtf7(text);
    fuzz::Check(utf7 == utf_reference::WideToUtf7(text), "UTF-7 encoding differs from the plain encoder");
    fuzz::Check(Utf7ToWide(utf7) == text, "UTF-7 does not give the text back");
    fuzz::Check(WideToUtf8(text) == utf_reference::WideToUtf8(text), "UTF-8 encoding differs from the plain encoder");
    for (int room = 1; room <= 8; ++room) CheckEncodingIntoRoom(text, room);
    return 0;
}
