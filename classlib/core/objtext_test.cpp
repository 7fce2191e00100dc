#include <gtest/gtest.h>

#include <cstring>

#include "classlib/core/exceptions.h"
#include "classlib/core/filer.h"
#include "classlib/core/filer_test_classes.h"

using namespace filertest;

namespace {

// Every kind of value in its canonical text form.
const char* const kCanonical = R"(inherited Form1: TTestForm
  Caption = 'It''s'#13#10'here'
  Empty = ''
  Long =
    'aaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaa' +
    'aaaaaaaa'
  Mixed =
    #8364#8364#8364#8364#8364#8364#8364#8364#8364#8364#8364#8364 +
    #8364#8364#8364#8364#8364#8364#8364#8364#8364#8364#8364#8364 +
    #8364#8364#8364#8364#8364#8364
  Joined =
    'cccccccccccccccccccccccccccccccccccccccccccccccccccccccccccc' +
    #13#10'd'
  Quotes =
    '''''''''''''''''''''''''''''''''''''''''''''''''''''''''''''''' +
    ''''
  Wide = 'Euro '#8364' sign'
  Umlaut = 'Gr'#252#223'e'
  Count = -129
  Big = -5000000000
  Ratio = 0.1
  Huge = 1e+20
  Two = 2.0
  Tiny = -1e-300
  Single = 0.1s
  Price = -12.3456c
  Whole = 7.0c
  When = 45000.25d
  Flag = True
  Off = False
  Ref = nil
  Color = clBtnFace
  Target = Other.Button1
  Font.Style = [fsBold, fsItalic]
  NoStyle = []
  Items.Strings = (
    'one'
    (
      1
      'x')
    ()
    'bbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbb' +
    'bbb')
  Glyph.Data = {
    000102030405060708090A0B0C0D0E0F101112131415161718191A1B1C1D1E1F
    2021222324}
  NoData = {}
  Panels = <
    item
      Width = 50
    end
    item [3]
    end>
  NoPanels = <>
  object Panel1: TTestPanel [2]
    object TTestButton
    end
  end
  inline Frame1: TFrame
  end
end
)";

// The binary bytes of one property value written in text.
std::string ValueBytes(const std::string& value) {
    std::string binary = ObjectTextToBinary("object A: T\r\n  P = " + value + "\r\nend\r\n");
    const size_t start = std::string("TPF0\x01T\x01" "A\x01P").size();
    return binary.substr(start, binary.size() - start - 2);
}

std::string ParseError(const std::string& text) {
    try {
        ObjectTextToBinary(Crlf(text));
    } catch (const EParserError& e) {
        return e.Message();
    }
    return "no error";
}

}  // namespace

TEST(ObjText, CanonicalTextSurvivesBinaryAndBack) {
    std::string text = Crlf(kCanonical);
    EXPECT_EQ(ObjectBinaryToText(ObjectTextToBinary(text)), text);
}

TEST(ObjText, WriterOutputSurvivesTextAndBack) {
    auto form = FormFromText(Crlf(R"(object Form1: TTestForm
  Caption = 'Main'
  Title = 'Wide '#1234
  Ratio = 0.30000000000000004
  Big = -9223372036854775808
  Level = 255
  Hotkey = #0
  Panels = <
    item
      Caption = 'p'
      Target = Button1
    end>
  Glyph.Data = {
    FF00}
  object Panel1: TTestPanel
    object Button1: TTestButton
      Caption = ')" + std::string(300, 'x') + R"('
      OnClick = Button1Click
    end
  end
end
)"));
    form->SetRatio(1.0 / 3);
    TMemoryStream stream;
    TWriter(stream).WriteRootComponent(form.get());
    std::string binary(reinterpret_cast<const char*>(stream.Memory()), static_cast<size_t>(stream.Size()));
    std::string text = ObjectBinaryToText(binary);
    EXPECT_NE(text.find("Ratio = 0.3333333333333333\r\n"), std::string::npos);
    EXPECT_EQ(ObjectTextToBinary(text), binary);
    EXPECT_EQ(WriteComponentToText(form.get()), text);
}

TEST(ObjText, StringsPickTheirValueTypeByLengthAndUnits) {
    EXPECT_EQ(ValueBytes("'abc'"), std::string("\x06\x03" "abc"));
    EXPECT_EQ(ValueBytes("'" + std::string(255, 'a') + "'").substr(0, 2), "\x06\xFF");
    EXPECT_EQ(ValueBytes("'" + std::string(256, 'a') + "'").substr(0, 5), std::string("\x0C\x00\x01\x00\x00", 5));
    EXPECT_EQ(ValueBytes("'a' +\r\n 'b'#300"), std::string("\x12\x03\x00\x00\x00" "a\0b\0\x2C\x01", 11));
    // Quoted code-page characters in a wide string become their UTF-16 units.
    EXPECT_EQ(ValueBytes("'\x80'#300"), std::string("\x12\x02\x00\x00\x00\xAC\x20\x2C\x01", 9));
    EXPECT_EQ(ValueBytes("#128"), "\x06\x01\x80");
}

TEST(ObjText, WideStringOfSmallUnitsComesBackAsEightBitString) {
    auto form = MakeOwned<TTestForm>();
    form->SetTitle(L"caf\xE9");
    std::string text = WriteComponentToText(form.get());
    EXPECT_NE(text.find("Title = 'caf'#233\r\n"), std::string::npos);
    std::string value = std::string("\x06\x04" "caf\xE9");
    EXPECT_NE(ObjectTextToBinary(text).find("Title" + value), std::string::npos);
    EXPECT_EQ(FormFromText(text)->Title(), L"caf\xE9");
}

TEST(ObjText, IntegersPickTheSmallestType) {
    EXPECT_EQ(ValueBytes("-128"), "\x02\x80");
    EXPECT_EQ(ValueBytes("-129"), "\x03\x7F\xFF");
    EXPECT_EQ(ValueBytes("32768"), std::string("\x04\x00\x80\x00\x00", 5));
    EXPECT_EQ(ValueBytes("-2147483648"), std::string("\x04\x00\x00\x00\x80", 5));
    EXPECT_EQ(ValueBytes("2147483648"), std::string("\x13\x00\x00\x00\x80\x00\x00\x00\x00", 9));
    EXPECT_EQ(ValueBytes("-9223372036854775808"), std::string("\x13\0\0\0\0\0\0\0\x80", 9));
    EXPECT_EQ(ParseError("object A: T\n  P = 9223372036854775808\nend"),
              "'9223372036854775808' ist kein g\xFCltiger Integerwert in Zeile 2");
}

TEST(ObjText, FloatsCarryTheirTypeAndExactValue) {
    EXPECT_EQ(ValueBytes("1.0"), std::string("\x05\0\0\0\0\0\0\0\x80\xFF\x3F", 11));
    EXPECT_EQ(ValueBytes("0.5s"), std::string("\x0F\x00\x00\x00\x3F", 5));
    EXPECT_EQ(ValueBytes("1.5c"), std::string("\x10\x98\x3A\0\0\0\0\0\0", 9));
    EXPECT_EQ(ValueBytes("1.00005c"), std::string("\x10\x11\x27\0\0\0\0\0\0", 9));  // rounds to 1.0001
    EXPECT_EQ(ValueBytes("2d"), std::string("\x11\0\0\0\0\0\0\0\x40", 9));
    for (const char* text : {"922337203685477.5807c", "-922337203685477.5808c", "5e-324", "1.7976931348623157e+308"})
        EXPECT_EQ(ObjectBinaryToText(ObjectTextToBinary("object A: T\r\n  P = " + std::string(text) + "\r\nend\r\n")),
                  "object A: T\r\n  P = " + std::string(text) + "\r\nend\r\n");
    EXPECT_EQ(ParseError("object A: T\n  P = 1e999\nend"), "'1e999' ist kein g\xFCltiger Gleitkommawert in Zeile 2");
}

TEST(ObjText, ParseErrorsNameTheProblemAndLine) {
    EXPECT_EQ(ParseError("object A: T\n  P = 'abc\nend"), "Ung\xFCltige String-Konstante in Zeile 2");
    EXPECT_EQ(ParseError("object A: T\n  P 5\nend"), "'=' erwartet in Zeile 2");
    EXPECT_EQ(ParseError("object A: T\n  P = {\n   0A0}\nend"), "Ung\xFCltiger Bin\xE4rwert in Zeile 3");
    EXPECT_EQ(ParseError("object A: T\n  P = ;\nend"), "Wert erwartet in Zeile 2");
    EXPECT_EQ(ParseError("object A: T\n  P = 'a' +\n  5\nend"), "String erwartet in Zeile 3");
    EXPECT_EQ(ParseError("object A: T\n  P = [a b]\nend"), "']' erwartet in Zeile 2");
    EXPECT_EQ(ParseError("object A: T\nend\nend"), "Dateiende erwartet in Zeile 3");
    EXPECT_EQ(ParseError("object A: T\n  P = 1\n"), "Bezeichner erwartet in Zeile 3");
    EXPECT_EQ(ParseError("thing A: T\nend"), "object erwartet in Zeile 1");
    EXPECT_EQ(ParseError("object A: T\n  P = (1\nend"), "Wert erwartet in Zeile 3");
    EXPECT_EQ(ParseError(std::string(300, '(')), "object erwartet in Zeile 1");
    std::string deep = "object A: T\n  P = " + std::string(300, '(') + std::string(300, ')') + "\nend";
    EXPECT_EQ(ParseError(deep), "Verschachtelung zu tief in Zeile 2");
}

TEST(ObjText, BinaryWithoutTextFormIsRefused) {
    // A float no text can hold, an identifier that is none, a stray end marker.
    EXPECT_THROW(ObjectBinaryToText(Bytes("TPF0\x01T\x01" "A\x01P\x05\0\0\0\0\0\0\0\x80\xFF\x7F\0\0")), EReadError);
    EXPECT_THROW(ObjectBinaryToText(Bytes("TPF0\x01T\x01" "A\x01P\x07\x02" "a-\0\0")), EReadError);
    EXPECT_THROW(ObjectBinaryToText(Bytes("TPF0\x01T\x01" "A\x01P\x00\0\0")), EReadError);
    EXPECT_THROW(ObjectBinaryToText("TPF1"), EReadError);
}

// Text ends an object's properties at these words, an item's at "end": a
// stream using them as property names has no text form.
TEST(ObjText, PropertyNamesTheTextTakesForKeywordsAreRefused) {
    for (const char* word : {"end", "object", "inherited", "inline", "END", "Inline"}) {
        std::string binary = Bytes("TPF0\x01T\x01" "A") + char(std::strlen(word)) + word + Bytes("\x02\x01\0\0");
        EXPECT_THROW(ObjectBinaryToText(binary), EReadError) << word;
    }
    // Within an item only "end" ends; other words and dotted names stay.
    std::string text = Crlf(R"(object A: T
  Items = <
    item
      object = 1
      inline = 2
    end>
  End.Value = 3
  objects = 4
end
)");
    EXPECT_EQ(ObjectBinaryToText(ObjectTextToBinary(text)), text);
    std::string itemEnd = Bytes("TPF0\x01T\x01" "A\x05Items\x0E\x01\x03" "end\x02\x01\0\0\0\0");
    EXPECT_THROW(ObjectBinaryToText(itemEnd), EReadError);
}

// A class name's length byte from 240 on reads as an object's prefix, so no
// stream may hold such a name; 239 characters still go there and back. A
// name too long for the stream is an error of the text, at its line.
TEST(ObjText, NamesTooLongForTheStreamAreErrorsOfTheText) {
    const std::string longest(239, 'T'), tooLong(240, 'T');
    const std::string text = Crlf("object A: " + longest + "\nend\n");
    EXPECT_EQ(ObjectBinaryToText(ObjectTextToBinary(text)), text);
    EXPECT_EQ(ParseError("object A: " + tooLong + "\nend\n"), "Bezeichner erwartet in Zeile 1");
    EXPECT_EQ(ParseError("inline A: " + tooLong + "\nend\n"), "Bezeichner erwartet in Zeile 1");
    EXPECT_EQ(ParseError("object A: T\n  object\n  " + tooLong + "\n  end\nend\n"),
              "Bezeichner erwartet in Zeile 3");
    // Component, property, identifier and set element names up to 255.
    const std::string name(255, 'n'), tooLongName(256, 'n');
    EXPECT_NO_THROW(ObjectTextToBinary(
        Crlf("object " + name + ": T\n  " + name + " = " + name + "\n  S = [" + name + "]\nend\n")));
    EXPECT_EQ(ParseError("object " + tooLongName + ": T\nend\n"), "Bezeichner erwartet in Zeile 1");
    EXPECT_EQ(ParseError("object A: T\n  " + tooLongName + " = 1\nend\n"), "Bezeichner erwartet in Zeile 2");
    EXPECT_EQ(ParseError("object A: T\n  P = " + tooLongName + "\nend\n"), "Bezeichner erwartet in Zeile 2");
    EXPECT_EQ(ParseError("object A: T\n  P = [a, " + tooLongName + "]\nend\n"), "Bezeichner erwartet in Zeile 2");
}
