// The layer's UTF-8 and UTF-7 coders give exactly what the plain ones give,
// byte for byte, for random texts and for the awkward ones: lone surrogates,
// truncated and overlong sequences, stray bytes, every kind of UTF-7 shift,
// long runs that cross the coders' fast paths, and buffers of every small
// size.
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "unicode/text/uc_errors.h"
#include "unicode/text/utf7.h"
#include "unicode/text/utf8.h"
#include "unicode/text/utf_reference_coders_test.h"
#include "unicode/text/utf_test_units.h"

namespace {

// Byte pieces that trip decoders up, joined at random.
const std::vector<std::string>& AwkwardBytePieces() {
    static const std::vector<std::string> pieces = {
        "a", "Z", "0", " ", "\r\n", std::string(1, '\0'), "\x7F",
        "\xC3\xA9", "\xE2\x82\xAC", "\xF0\x9F\x98\x80", "\xF4\x8F\xBF\xBF",      // whole characters
        "\xC3", "\xE2\x82", "\xF0\x9F\x98", "\xE2", "\xF0",                      // truncated
        "\xC0\x80", "\xC1\xBF", "\xE0\x80\x80", "\xE0\x9F\xBF", "\xF0\x80\x80\x80",  // overlong
        "\xF0\x8F\xBF\xBF", "\xED\xA0\x80", "\xED\xBF\xBF",                     // surrogates encoded
        "\xF4\x90\x80\x80", "\xF5\x80\x80\x80", "\xF8\x88\x80\x80\x80", "\xFF", "\xFE",
        "\x80", "\xBF", "\x80\x80", "\xC3\x41", "\xE2\x41\x80", "\xE2\x82\x41",  // stray and broken
        "+", "-", "+-", "++", "--", "+AOk", "+AOk-", "+AOkA-", "+AOl-", "+A-", "+A", "+AA", "+AAA",
        "+ZeVnLIqe", "+ZeVnLIqe-", "+2D3eAA-", "+/v8-", "+AGE-", "+AC0-", "+AOk.", "+AOk\xE9", "+\xE9",
        "ABCDEFGHIJKLMNOP", "abcdefghijklmnopqrstuvwxyz", "0123456789+/", "~\\!\"#$%&*;<=>@[]^_`{|}",
        "Plain ASCII text long enough to cross several eight-byte steps of a fast path.",
    };
    return pieces;
}

std::string RandomBytes(std::mt19937& random) {
    std::string bytes;
    int pieces = static_cast<int>(random() % 12);
    for (int i = 0; i < pieces; ++i) {
        switch (random() % 4) {
        case 0:
            for (int n = static_cast<int>(random() % 20); n > 0; --n) bytes += static_cast<char>(random() % 256);
            break;
        case 1:
            for (int n = static_cast<int>(random() % 40); n > 0; --n) bytes += static_cast<char>('A' + random() % 26);
            break;
        default: {
            const auto& awkward = AwkwardBytePieces();
            bytes += awkward[random() % awkward.size()];
        }
        }
    }
    return bytes;
}

// Only whole characters and closed UTF-7 runs, so that most texts decode.
std::string RandomValidBytes(std::mt19937& random, bool utf7) {
    static const std::vector<std::string> utf8Pieces = {
        "a", "Hello, world. ", "\r\n", std::string(1, '\0'), "\xC3\xA9", "\xE2\x82\xAC", "\xF0\x9F\x98\x80",
        "\xC0\x80", "\xE0\x80\x80", "\xF0\x80\x80\x80", "\xED\xA0\x80", "\xD0\x9F\xD1\x80\xD0\xB8", "\xE6\x97\xA5"};
    static const std::vector<std::string> utf7Pieces = {
        "a", "Hello, world. ", "\r\n", "+-", "+AOk-", "+AOkA-", "+ZeVnLIqe-", "+2D3eAA-", "~\\!", "+AOk.",
        "-", "+AOkA6QDp-x"};
    const auto& pieces = utf7 ? utf7Pieces : utf8Pieces;
    std::string bytes;
    for (int n = static_cast<int>(random() % 30); n > 0; --n) {
        bytes += pieces[random() % pieces.size()];
    }
    return bytes;
}

std::wstring RandomWide(std::mt19937& random) {
    static const char kSpecial[] = "+-!~\\ azAZ09.,:?'()\r\n\t\"/=";
    std::wstring text;
    int length = static_cast<int>(random() % 4 == 0 ? random() % 400 : random() % 30);
    while (static_cast<int>(text.size()) < length) {
        unsigned unit = 0;
        switch (random() % 8) {
        case 0: unit = static_cast<unsigned>(kSpecial[random() % (sizeof(kSpecial) - 1)]); break;
        case 1: unit = random() % 0x80; break;
        case 2: unit = 0x80 + random() % 0x780; break;
        case 3: unit = 0x800 + random() % 0xF800; break;
        case 4: unit = 0xD800 + random() % 0x800; break;  // lone halves and pairs
        case 5:                                           // an ASCII run across fast-path steps
            for (int n = static_cast<int>(random() % 24); n > 0; --n) text += static_cast<wchar_t>('a' + random() % 26);
            continue;
        case 6: unit = random() % 2 ? 0 : 0xFFFF; break;
        default:
            // Where wchar_t is wider than 16 bits only the low 16 count.
            unit = sizeof(wchar_t) > 2 ? static_cast<unsigned>(random()) : random() % 0x10000;
            break;
        }
        text += static_cast<wchar_t>(unit);
    }
    return text;
}


void CompareUtf8Decoding(const std::string& bytes) {
    ASSERT_EQ(Utf8ToWide(bytes), utf_reference::Utf8ToWide(bytes)) << Show(bytes);
    const int count = static_cast<int>(bytes.size());
    ASSERT_EQ(DecodeUtf8Buffer(nullptr, 0, bytes.data(), count),
              utf_reference::DecodeUtf8Buffer(nullptr, 0, bytes.data(), count))
        << Show(bytes);
    for (int size : {0, 1, 2, 3, 5, 8, 9, count / 2, count, count + 1, count + 9}) {
        std::vector<wchar_t> ours(static_cast<size_t>(size) + 1, L'#'), theirs(ours);
        ASSERT_EQ(DecodeUtf8Buffer(ours.data(), size, bytes.data(), count),
                  utf_reference::DecodeUtf8Buffer(theirs.data(), size, bytes.data(), count))
            << Show(bytes) << " size " << size;
        ASSERT_EQ(ours, theirs) << Show(bytes) << " size " << size;
    }
}

void CompareUtf7Decoding(const std::string& bytes) {
    ASSERT_EQ(utf_reference::Utf7Outcome(Utf7ToWide, bytes), utf_reference::Utf7Outcome(utf_reference::Utf7ToWide, bytes)) << Show(bytes);
    const int count = static_cast<int>(bytes.size());
    for (int size : {0, 1, 2, 3, 7, count / 2, count, count + 1}) {
        std::vector<wchar_t> ours(static_cast<size_t>(size) + 1, L'#'), theirs(ours);
        const char* ourSource = bytes.data();
        const char* theirSource = bytes.data();
        wchar_t* ourTarget = ours.data();
        wchar_t* theirTarget = theirs.data();
        ASSERT_EQ(DecodeUtf7Buffer(ourSource, bytes.data() + count, ourTarget, ours.data() + size),
                  utf_reference::DecodeUtf7Buffer(theirSource, bytes.data() + count, theirTarget, theirs.data() + size))
            << Show(bytes) << " size " << size;
        ASSERT_EQ(ourSource - bytes.data(), theirSource - bytes.data()) << Show(bytes) << " size " << size;
        ASSERT_EQ(ourTarget - ours.data(), theirTarget - theirs.data()) << Show(bytes) << " size " << size;
        ASSERT_EQ(ours, theirs) << Show(bytes) << " size " << size;
    }
}

void CompareEncoding(const std::wstring& text) {
    ASSERT_EQ(WideToUtf8(text), utf_reference::WideToUtf8(text)) << Show(text);
    ASSERT_EQ(WideToUtf7(text), utf_reference::WideToUtf7(text)) << Show(text);
    const int count = static_cast<int>(text.size());
    ASSERT_EQ(EncodeUtf8Buffer(nullptr, 0, text.data(), count),
              utf_reference::EncodeUtf8Buffer(nullptr, 0, text.data(), count))
        << Show(text);
    for (int size : {0, 1, 2, 3, 4, 9, 10, count, 2 * count + 1, 3 * count + 1}) {
        std::vector<char> ours(static_cast<size_t>(size) + 1, '#'), theirs(ours);
        ASSERT_EQ(EncodeUtf8Buffer(ours.data(), size, text.data(), count),
                  utf_reference::EncodeUtf8Buffer(theirs.data(), size, text.data(), count))
            << Show(text) << " size " << size;
        ASSERT_EQ(ours, theirs) << Show(text) << " size " << size;
    }
    for (int size : {0, 1, 2, 5, count, 3 * count, 7 * count}) {
        for (int mode = 0; mode < 4; ++mode) {
            const bool verbose = mode & 1, optional = mode & 2;
            std::vector<char> ours(static_cast<size_t>(size) + 1, '#'), theirs(ours);
            const wchar_t* ourSource = text.data();
            const wchar_t* theirSource = text.data();
            char* ourTarget = ours.data();
            char* theirTarget = theirs.data();
            ASSERT_EQ(EncodeUtf7Buffer(ourSource, text.data() + count, ourTarget, ours.data() + size, verbose,
                                       optional),
                      utf_reference::EncodeUtf7Buffer(theirSource, text.data() + count, theirTarget,
                                                      theirs.data() + size, verbose, optional))
                << Show(text) << " size " << size << " mode " << mode;
            ASSERT_EQ(ourSource - text.data(), theirSource - text.data()) << Show(text) << " size " << size;
            ASSERT_EQ(ourTarget - ours.data(), theirTarget - theirs.data()) << Show(text) << " size " << size;
            ASSERT_EQ(ours, theirs) << Show(text) << " size " << size << " mode " << mode;
        }
    }
}

}  // namespace

TEST(UtfAgainstReference, DecodesAwkwardAndRandomBytesAlike) {
    for (const std::string& piece : AwkwardBytePieces()) {
        ASSERT_NO_FATAL_FAILURE(CompareUtf8Decoding(piece));
        ASSERT_NO_FATAL_FAILURE(CompareUtf7Decoding(piece));
    }
    std::mt19937 random(20261209);
    for (int i = 0; i < 4000; ++i) {
        const std::string bytes = RandomBytes(random);
        ASSERT_NO_FATAL_FAILURE(CompareUtf8Decoding(bytes));
        ASSERT_NO_FATAL_FAILURE(CompareUtf7Decoding(bytes));
    }
}

TEST(UtfAgainstReference, DecodesValidTextsAlike) {
    std::mt19937 random(17);
    for (int i = 0; i < 3000; ++i) {
        ASSERT_NO_FATAL_FAILURE(CompareUtf8Decoding(RandomValidBytes(random, false)));
        ASSERT_NO_FATAL_FAILURE(CompareUtf7Decoding(RandomValidBytes(random, true)));
    }
}

TEST(UtfAgainstReference, EncodesRandomTextsAlike) {
    std::mt19937 random(4122);
    for (int i = 0; i < 3000; ++i) ASSERT_NO_FATAL_FAILURE(CompareEncoding(RandomWide(random)));
}

TEST(UtfAgainstReference, LongTextsAlikeBothWays) {
    std::mt19937 random(99);
    std::wstring text;
    while (text.size() < 200000) text += RandomWide(random);
    ASSERT_EQ(WideToUtf8(text), utf_reference::WideToUtf8(text));
    ASSERT_EQ(WideToUtf7(text), utf_reference::WideToUtf7(text));
    const std::string utf8 = utf_reference::WideToUtf8(text);
    ASSERT_EQ(Utf8ToWide(utf8), utf_reference::Utf8ToWide(utf8));
    const std::string utf7 = utf_reference::WideToUtf7(text);
    ASSERT_EQ(Utf7ToWide(utf7), utf_reference::Utf7ToWide(utf7));
    // One bad byte at the very end still spoils the whole text.
    ASSERT_EQ(Utf8ToWide(utf8 + "\x80"), std::wstring());
    ASSERT_THROW(Utf7ToWide(utf7 + "\xE9"), EUcGeneralError);
}
