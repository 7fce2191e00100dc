// Generated texts of every kind of code unit survive both coders.
#include <gtest/gtest.h>

#include <random>

#include "unicode/text/utf7.h"
#include "unicode/text/utf8.h"
#include "unicode/text/utf_test_units.h"

namespace {
std::wstring RandomText(std::mt19937& random) {
    // Mostly short texts, weighted towards the characters the coders treat
    // specially: ASCII (direct, optional, "+", "-"), Latin, CJK, surrogates.
    static const char kSpecial[] = "+-!~\\ azAZ09.\r\n\t\"";
    std::uniform_int_distribution<int> length(0, 24), kind(0, 5);
    std::wstring text;
    for (int i = length(random); i > 0; --i) {
        unsigned unit = 0;
        switch (kind(random)) {
        case 0: unit = static_cast<unsigned>(kSpecial[random() % (sizeof(kSpecial) - 1)]); break;
        case 1: unit = random() % 0x80; break;
        case 2: unit = 0x80 + random() % 0x780; break;
        case 3: unit = 0x800 + random() % 0xF800; break;
        case 4: unit = 0xD800 + random() % 0x800; break;
        default: unit = random() % 0x10000; break;
        }
        text += static_cast<wchar_t>(unit);
    }
    return text;
}

}  // namespace

TEST(UtfRoundTrip, GeneratedTextsSurviveUtf8AndUtf7) {
    std::mt19937 random(20261209);
    for (int i = 0; i < 5000; ++i) {
        std::wstring text = RandomText(random);
        ASSERT_EQ(Utf8ToWide(WideToUtf8(text)), text) << Show(text);
        std::string utf7 = WideToUtf7(text);
        for (char byte : utf7) ASSERT_LT(static_cast<unsigned char>(byte), 0x80u) << Show(text);
        ASSERT_EQ(Utf7ToWide(utf7), text) << Show(text) << " -> " << utf7;
    }
}

TEST(UtfRoundTrip, SupplementaryCharactersThroughFourByteUtf8) {
    std::mt19937 random(7);
    for (int i = 0; i < 2000; ++i) {
        unsigned c = 0x10000 + random() % 0x100000;
        std::string bytes = {static_cast<char>(0xF0 | (c >> 18)), static_cast<char>(0x80 | ((c >> 12) & 0x3F)),
                             static_cast<char>(0x80 | ((c >> 6) & 0x3F)), static_cast<char>(0x80 | (c & 0x3F))};
        std::wstring pair = Utf8ToWide(bytes);
        ASSERT_EQ(pair.size(), 2u);
        unsigned back = 0x10000 + ((static_cast<unsigned>(pair[0]) - 0xD800) << 10) +
                        (static_cast<unsigned>(pair[1]) - 0xDC00);
        ASSERT_EQ(back, c);
    }
}
