#include <gtest/gtest.h>

#include "classlib/core/exceptions.h"
#include "classlib/core/filer.h"
#include "classlib/core/filer_test_classes.h"

using namespace filertest;

namespace {

std::string FormText(const std::string& body) {
    return Crlf("object Form1: TTestForm\n" + body + "end\n");
}

// The message of the class-library exception reading raises.
std::string ReadError(const std::string& body) {
    try {
        FormFromText(FormText(body));
    } catch (const Exception& e) {
        return e.ClassName() + std::string(": ") + e.Message();
    }
    return "no error";
}

const std::string kInvalidValue = "EReadError: Ung\xFCltiger Wert der Eigenschaft";

}  // namespace

TEST(Reader, ReadsEveryKindOfProperty) {
    auto form = FormFromText(FormText(R"(  Tag = 7
  Caption = 'It''s'#13#10'here'
  Width = -5
  Visible = False
  Color = clRed
  Align = alClient
  Font.Name = 'Arial'
  Font.Size = 12
  Font.Style = [fsBold, fsUnderline]
  Panels = <
    item
      Caption = 'first'
      Width = 80
    end
    item [7]
    end>
  Lines.Strings = (
    'one'
    'two')
  Glyph.Data = {
    0A0B0C}
  Ratio = 2
  Big = 5000000000
  Title = 'Euro '#8364
  Hotkey = 'x'
  WideKey = #8364
  Level = 200
)"));
    EXPECT_EQ(form->Name(), "Form1");
    EXPECT_EQ(form->Tag(), 7);
    EXPECT_EQ(form->Caption(), "It's\r\nhere");
    EXPECT_EQ(form->Width(), -5);
    EXPECT_FALSE(form->Visible());
    EXPECT_EQ(form->Color(), kTestRed);
    EXPECT_EQ(form->Align(), talClient);
    EXPECT_EQ(form->Font()->Name(), "Arial");
    EXPECT_EQ(form->Font()->Size(), 12);
    EXPECT_EQ(form->Font()->Style(), (TTestFontStyles{tfsBold, tfsUnderline}));
    ASSERT_EQ(form->Panels()->Count(), 2);
    EXPECT_EQ(static_cast<TTestItem*>(form->Panels()->Items(0))->Width(), 80);
    EXPECT_EQ(static_cast<TTestItem*>(form->Panels()->Items(1))->Width(), 50);
    EXPECT_EQ(form->Lines()->Items, (std::vector<std::string>{"one", "two"}));
    EXPECT_EQ(form->Glyph()->Bytes, "\x0A\x0B\x0C");
    EXPECT_EQ(form->Ratio(), 2.0);
    EXPECT_EQ(form->Big(), 5000000000);
    EXPECT_EQ(form->Title(), L"Euro \x20AC");
    EXPECT_EQ(form->Hotkey(), 'x');
    EXPECT_EQ(form->WideKey(), L'\x20AC');
    EXPECT_EQ(form->Level(), 200);
    EXPECT_FALSE(form->ComponentState().Contains(csLoading));
    EXPECT_FALSE(form->ComponentState().Contains(csReading));
}

TEST(Reader, FloatsAndStringsOfEveryStoredType) {
    for (auto [text, value] : {std::pair{"0.5s", 0.5}, {"1.5c", 1.5}, {"3.25d", 3.25}, {"-7", -7.0}})
        EXPECT_EQ(FormFromText(FormText(std::string("  Ratio = ") + text + "\n"))->Ratio(), value) << text;

    // Long, wide and UTF-8 strings, written by hand: the text form has no UTF-8.
    auto stream = [](const std::string& props) { return Bytes("TPF0\x09TTestForm\x05" "Form1") + props + Bytes("\0\0"); };
    TStringStream binary(stream(Bytes("\x07" "Caption\x14\x02\0\0\0\xC3\xBC") + Bytes("\x05" "Title\x0C\x02\0\0\0\xE4\x80")));
    auto form = MakeOwned<TTestForm>();
    TReader(binary).ReadRootComponent(form.get());
    EXPECT_EQ(form->Caption(), "\xFC");
    EXPECT_EQ(form->Title(), L"\xE4\x20AC");

    TStringStream wide(stream(Bytes("\x07" "Caption\x12\x01\0\0\0\x3A\x04")));
    TReader(wide).ReadRootComponent(form.get());
    EXPECT_EQ(form->Caption(), "?");  // Cyrillic has no code-page-1252 character
    TStringStream badUtf8(stream(Bytes("\x07" "Caption\x14\x01\0\0\0\xC3")));
    EXPECT_THROW(TReader(badUtf8).ReadRootComponent(form.get()), EReadError);
}

TEST(Reader, ChildrenGetOwnerParentFieldAndPosition) {
    ASSERT_EQ(GetClass("TFieldOnlyButton"), nullptr);
    auto form = FormFromText(FormText(R"(  object Panel1: TTestPanel
    object Button1: TTestButton
    end
    object Special: TFieldOnlyButton
    end
    object Button3: TTestButton [0]
    end
  end
)"));
    ASSERT_NE(form->Panel1, nullptr);
    ASSERT_NE(form->Button1, nullptr);
    ASSERT_NE(form->Special, nullptr);
    EXPECT_EQ(form->Panel1->Owner(), form.get());
    EXPECT_EQ(form->Button1->Owner(), form.get());
    EXPECT_EQ(form->Panel1->Parent(), form.get());
    EXPECT_EQ(form->Button1->Parent(), form->Panel1);
    std::vector<std::string> order;
    for (TTestControl* c : form->Panel1->Children()) order.push_back(c->Name());
    EXPECT_EQ(order, (std::vector<std::string>{"Button3", "Button1", "Special"}));
}

TEST(Reader, NamesAndIdentifiersIgnoreCase) {
    auto form = FormFromText(FormText("  caption = 'x'\n  FONT.name = 'y'\n  visible = false\n  align = ALCLIENT\n"
                                      "  color = CLRED\n"));
    EXPECT_EQ(form->Caption(), "x");
    EXPECT_EQ(form->Font()->Name(), "y");
    EXPECT_FALSE(form->Visible());
    EXPECT_EQ(form->Align(), talClient);
    EXPECT_EQ(form->Color(), kTestRed);
}

TEST(Reader, SettersRunInStreamOrderThenReferencesThenLoaded) {
    Log().clear();
    auto form = FormFromText(FormText(R"(  Width = 1
  Partner = Button2
  Caption = 'a'
  Width = 2
  object Button1: TTestButton
    Partner = Form1
    Caption = 'b1'
  end
  object Button2: TTestButton
    Caption = 'b2'
  end
)"));
    EXPECT_EQ(Log(), (std::vector<std::string>{"Form1.Width=1", "Form1.Caption=a", "Form1.Width=2",
                                               "Button1.Caption=b1", "Button2.Caption=b2", "Form1.Partner=Button2",
                                               "Button1.Partner=Form1", "Loaded Form1", "Loaded Button1",
                                               "Loaded Button2"}));
    EXPECT_EQ(form->Partner(), form->FindComponent("Button2"));
    EXPECT_EQ(ReadError("  Partner = Nobody\n"), "EReadError: Unaufgel\xF6ste Referenz auf Nobody");
    EXPECT_EQ(ReadError("  Partner = Lines\n"), "EReadError: Unaufgel\xF6ste Referenz auf Lines");
}

TEST(Reader, EventsBindByNameToTheRootsMethods) {
    auto form = FormFromText(FormText(R"(  object Button1: TTestButton
    OnClick = button1click
    OnChange = ValueChanged
  end
)"));
    ASSERT_TRUE(form->Button1->OnClick);
    form->Button1->OnClick(form->Button1);
    EXPECT_EQ(form->clicks, 1);
    EXPECT_EQ(form->Button1->OnClick.Method().Data, form.get());
    EXPECT_TRUE(form->Button1->OnChange);
    ReadComponentFromText(form.get(), FormText("  inherited Button1: TTestButton\n    OnClick = nil\n  end\n"));
    EXPECT_FALSE(form->Button1->OnClick);
    EXPECT_EQ(ReadError("  OnClick = Nope\n"), "EReadError: Methode Nope nicht gefunden");
    EXPECT_EQ(ReadError("  OnClick = 5\n"), kInvalidValue);
    EXPECT_EQ(ReadError("  object Button1: TTestButton\n    OnChange = Button1Click\n  end\n"), kInvalidValue);
}

TEST(Reader, ValuesOfTheWrongKindAreRefused) {
    for (const char* body : {"  Width = 'abc'\n", "  Visible = 5\n", "  Align = alSideways\n", "  Color = clPurple\n",
                             "  Level = 256\n", "  Level = -1\n", "  Hotkey = 'xy'\n", "  WideKey = 'xy'\n",
                             "  Font.Style = [fsHuge]\n", "  Font.Style = fsBold\n", "  Caption = 5\n",
                             "  Panels = 5\n", "  Ratio = 'x'\n", "  Big = 1.5\n", "  Partner = 5\n",
                             "  Lines.Strings = 'x'\n", "  Glyph.Data = 'x'\n"})
        EXPECT_EQ(ReadError(body), kInvalidValue) << body;
}

TEST(Reader, UnknownNamesAreReported) {
    EXPECT_EQ(ReadError("  Nope = 1\n"), "EReadError: Eigenschaft Nope existiert nicht");
    EXPECT_EQ(ReadError("  Font.Nope = 1\n"), "EReadError: Eigenschaft Font.Nope existiert nicht");
    EXPECT_EQ(ReadError("  Caption.Sub = 1\n"), "EReadError: Eigenschaft Caption existiert nicht");
    EXPECT_EQ(ReadError("  Lines.Nope = 1\n"), "EReadError: Eigenschaft Lines.Nope existiert nicht");
    EXPECT_EQ(ReadError("  object X: TNope\n  end\n"), "EClassNotFound: Klasse TNope nicht gefunden");
    EXPECT_EQ(ReadError("  object X: TTestFont\n  end\n"), "EClassNotFound: Klasse TTestFont nicht gefunden");
    EXPECT_EQ(ReadError("  inherited Ghost: TTestButton\n  end\n"),
              "EReadError: Vorfahr f\xFCr 'Ghost' nicht gefunden");
}

TEST(Reader, FailedComponentIsFreedAndTheRestStays) {
    auto form = MakeOwned<TTestForm>();
    EXPECT_THROW(ReadComponentFromText(form.get(), FormText(R"(  object Button1: TTestButton
  end
  object Panel1: TTestPanel
    Caption = 'p'
    object Button2: TTestButton
      Partner = Button1
    end
    object Button3: TTestButton
      Width = 'bad'
    end
  end
)")),
                 EReadError);
    ASSERT_EQ(form->ComponentCount(), 1);
    EXPECT_EQ(form->Components(0), form->Button1);
    EXPECT_EQ(form->Panel1, nullptr);
    EXPECT_EQ(form->Children(), (std::vector<TTestControl*>{form->Button1}));
    EXPECT_FALSE(form->ComponentState().Contains(csReading));
    EXPECT_FALSE(form->Button1->ComponentState().Contains(csLoading));
}

TEST(Reader, InheritedComponentsAreReusedAndReordered) {
    auto form = FormFromText(FormText("  object Button1: TTestButton\n    Caption = 'old'\n  end\n"));
    TTestButton* button1 = form->Button1;
    ReadComponentFromText(form.get(), Crlf(R"(inherited Form1: TTestForm
  inherited Button1: TTestButton
    Caption = 'new'
  end
  object Button2: TTestButton [0]
  end
end
)"));
    EXPECT_EQ(form->Button1, button1);
    EXPECT_EQ(button1->Caption(), "new");
    ASSERT_EQ(form->Children().size(), 2u);
    EXPECT_EQ(form->Children()[0]->Name(), "Button2");
}

TEST(Reader, NullRootIsCreatedFromItsClass) {
    TStringStream binary(ObjectTextToBinary(FormText("  Caption = 'made'\n")));
    TOwned<TComponent> root(TReader(binary).ReadRootComponent(nullptr));
    auto* form = dynamic_cast<TTestForm*>(root.get());
    ASSERT_NE(form, nullptr);
    EXPECT_EQ(form->Name(), "Form1");
    EXPECT_EQ(form->Caption(), "made");

    TStringStream unknown(ObjectTextToBinary(Crlf("object X: TUnknownForm\nend\n")));
    EXPECT_THROW(TReader(unknown).ReadRootComponent(nullptr), EClassNotFound);
    TStringStream failing(ObjectTextToBinary(FormText("  Width = 'x'\n")));
    EXPECT_THROW(TReader(failing).ReadRootComponent(nullptr), EReadError);
}

TEST(Reader, DefinedPropertiesTakeTheirNames) {
    auto form = FormFromText(FormText("  object Button1: TTestButton\n    Left = 7\n    top = 5\n  end\n"));
    EXPECT_EQ(form->Button1->DesignInfo(), 0x00050007);
    EXPECT_EQ(ReadError("  Glyph.Data = {\n    0102}\n  Glyph.Data = {}\n"), "no error");
}

TEST(Reader, CollectionReadAgainDropsTheReferencesOfItsOldItems) {
    auto form = FormFromText(FormText(R"(  Panels = <
    item
      Target = Button1
    end>
  Panels = <
    item
      Caption = 'second'
    end>
  object Button1: TTestButton
  end
)"));
    ASSERT_EQ(form->Panels()->Count(), 1);
    EXPECT_EQ(static_cast<TTestItem*>(form->Panels()->Items(0))->Target(), nullptr);
}
