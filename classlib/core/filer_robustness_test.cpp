// Truncated, corrupted and hostile input: every case ends in a
// class-library exception (or a successful read), never a crash or a hang.
#include <gtest/gtest.h>

#include "classlib/core/exceptions.h"
#include "classlib/core/filer.h"
#include "classlib/core/filer_test_classes.h"

using namespace filertest;

namespace {

const char* const kSample = R"(object Form1: TTestForm
  Caption = 'Sample'#10'text'
  Color = clRed
  Font.Style = [fsBold]
  Panels = <
    item
      Caption = 'p'
      Target = Button1
    end>
  Lines.Strings = (
    'one'
    'two')
  Glyph.Data = {
    0102030405}
  Ratio = 0.25
  Big = 5000000000
  Title = 'T'#1234
  Hotkey = 'h'
  object Panel1: TTestPanel
    Partner = Button1
    object Button1: TTestButton
      OnClick = Button1Click
    end
  end
end
)";

std::string SampleBinary() {
    return ObjectTextToBinary(Crlf(kSample));
}

// Reads the stream both ways; only class-library exceptions may leave.
void ReadAll(const std::string& binary) {
    ReadAsRootAndIntoForm(binary);
    try {
        ObjectBinaryToText(binary);
    } catch (const Exception&) {
    }
}

std::string NestedComponents(int depth) {
    std::string binary = Bytes("TPF0\x09TTestForm\x05" "Form1\0");
    for (int i = 0; i < depth; ++i) binary += Bytes("\x0BTTestButton\0\0");
    return binary + std::string(static_cast<size_t>(depth) + 1, '\0');
}

}  // namespace

TEST(FilerRobustness, EveryTruncationRaises) {
    const std::string binary = SampleBinary();
    for (size_t length = 0; length < binary.size(); ++length) {
        std::string cut = binary.substr(0, length);
        auto form = MakeOwned<TTestForm>();
        TStringStream stream(cut);
        EXPECT_THROW(TReader(stream).ReadRootComponent(form.get()), Exception) << length;
        EXPECT_THROW(ObjectBinaryToText(cut), EReadError) << length;
    }
    const std::string text = Crlf(kSample);
    for (size_t length = 0; length + 2 < text.size(); ++length)
        EXPECT_THROW(ObjectTextToBinary(text.substr(0, length)), EParserError) << length;
}

TEST(FilerRobustness, EveryCorruptedByteEndsCleanly) {
    const std::string binary = SampleBinary();
    for (size_t i = 0; i < binary.size(); ++i) {
        const uint8_t original = static_cast<uint8_t>(binary[i]);
        for (uint8_t value : {uint8_t(original ^ 1), uint8_t(original ^ 0x80), uint8_t(original + 1), uint8_t(0),
                              uint8_t(0xFF), uint8_t(0x7F), uint8_t(vaList), uint8_t(vaLString), uint8_t(0xF7)}) {
            std::string corrupt = binary;
            corrupt[i] = static_cast<char>(value);
            ReadAll(corrupt);
        }
    }
    const std::string text = Crlf(kSample);
    for (size_t i = 0; i < text.size(); ++i) {
        for (char ch : {'\'', '#', '(', '<', '{', '-', 'x', '\n', '.', '\x80'}) {
            std::string corrupt = text;
            corrupt[i] = ch;
            try {
                ObjectTextToBinary(corrupt);
            } catch (const EParserError&) {
            }
        }
    }
}

TEST(FilerRobustness, DeepNestingIsRefused) {
    auto form = MakeOwned<TTestForm>();
    TStringStream fine(NestedComponents(100));
    TReader(fine).ReadRootComponent(form.get());
    EXPECT_EQ(form->ComponentCount(), 100);

    TStringStream deep(NestedComponents(100000));
    auto other = MakeOwned<TTestForm>();
    EXPECT_THROW(TReader(deep).ReadRootComponent(other.get()), EReadError);
    EXPECT_EQ(other->ComponentCount(), 0);
    EXPECT_THROW(ObjectBinaryToText(NestedComponents(100000)), EReadError);

    std::string lists = Bytes("TPF0\x01T\x01" "A\x01P") + std::string(100000, vaList) + std::string(100003, '\0');
    EXPECT_THROW(ObjectBinaryToText(lists), EReadError);
    TStringStream value(std::string(100000, vaList) + std::string(100000, '\0'));
    EXPECT_THROW(TReader(value).SkipValue(), EReadError);
}

TEST(FilerRobustness, LengthsBeyondTheStreamAreRefusedBeforeAllocating) {
    auto read = [](const std::string& props) {
        auto form = MakeOwned<TTestForm>();
        TStringStream stream(Bytes("TPF0\x09TTestForm\x05" "Form1") + props + Bytes("\0\0"));
        try {
            TReader(stream).ReadRootComponent(form.get());
        } catch (const EReadError& e) {
            return e.Message();
        }
        return std::string("no error");
    };
    EXPECT_EQ(read(Bytes("\x07" "Caption\x0C\xFF\xFF\xFF\x7F" "abc")), "Stream-Read-Fehler");
    EXPECT_EQ(read(Bytes("\x05" "Title\x12\x00\x00\x00\x40" "abc")), "Stream-Read-Fehler");
    EXPECT_EQ(read(Bytes("\x0A" "Glyph.Data\x0A\xFF\xFF\xFF\xFF" "abc")), "Ung\xFCltiges Stream-Format");
    EXPECT_EQ(read(Bytes("\x07" "Caption\x14\x00\x00\x00\x80")), "Ung\xFCltiges Stream-Format");
    EXPECT_EQ(read(Bytes("\x07" "Caption\x06\x05" "abc")), "Stream-Read-Fehler");
}

TEST(FilerRobustness, HeaderFlagsAndSignatureAreChecked) {
    auto read = [](const std::string& binary) {
        auto form = MakeOwned<TTestForm>();
        TStringStream stream(binary);
        TReader(stream).ReadRootComponent(form.get());
    };
    EXPECT_THROW(read("TPF"), EReadError);
    EXPECT_THROW(read(Bytes("XPF0\x09TTestForm\x05" "Form1\0\0")), EReadError);
    EXPECT_THROW(read(Bytes("TPF0\xF8\x09TTestForm\x05" "Form1\0\0")), EReadError);  // unknown flag
    EXPECT_THROW(read(Bytes("TPF0\x09TTestForm\x05" "Form1\0\xF2\x02\xFF\x0BTTestButton\0\0\0\0")), EReadError);  // position -1
}
