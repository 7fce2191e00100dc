// Layouts of the standard controls: read from text the way forms are made,
// written back by the stored and default rules.
#include <gtest/gtest.h>

#include "classlib/core/class_builder.h"
#include "classlib/stdctrls/buttons.h"
#include "classlib/stdctrls/extctrls.h"
#include "classlib/core/filer.h"
#include "classlib/stdctrls/stdctrls.h"
#include "classlib/core/strutils.h"
#include "classlib/gui/graphics_objects.h"
#include "classlib/stdctrls/test_support.h"

namespace {

// The height of a line of text in the font, as GDI measures it.
int FontLineHeight(const TFont& font) {
    TWindowDC dc(nullptr);
    TSelectedObject selected(dc, FontHandle(font));
    TEXTMETRICA metrics{};
    GetTextMetricsA(dc, &metrics);
    return metrics.tmHeight;
}

std::string Crlf(const std::string& text) {
    std::string out;
    for (char c : text) {
        if (c == '\n') out += '\r';
        out += c;
    }
    return out;
}

class TLayoutForm : public TForm {
    DECLARE_CLASS(TLayoutForm, TForm)
public:
    explicit TLayoutForm(TComponent* owner) : TForm(owner) {}
    TPanel* Panel1 = nullptr;
    TLabel* Label1 = nullptr;
    TEdit* Edit1 = nullptr;
    TMemo* Memo1 = nullptr;
    TCheckBox* CheckBox1 = nullptr;
    TComboBox* ComboBox1 = nullptr;
    TButton* Button1 = nullptr;
    TBitBtn* OkBtn = nullptr;
    TBitBtn* CancelBtn = nullptr;
    TBitBtn* CustomBtn = nullptr;
    TSpeedButton* SpeedButton1 = nullptr;
    TBevel* Bevel1 = nullptr;
    TSplitter* Splitter1 = nullptr;
    TPaintBox* PaintBox1 = nullptr;
    TTimer* Timer1 = nullptr;
    int changes = 0;
    void Edit1Change(TObject*) { ++changes; }
};

const TClassInfo& TLayoutForm::StaticClass() {
    static const TClassInfo info = DefineClass<TLayoutForm>("TLayoutForm", &TForm::StaticClass(), [](auto& c) {
        c.Creatable();
        FIELD(c, Panel1);
        FIELD(c, Label1);
        FIELD(c, Edit1);
        FIELD(c, Memo1);
        FIELD(c, CheckBox1);
        FIELD(c, ComboBox1);
        FIELD(c, Button1);
        FIELD(c, OkBtn);
        FIELD(c, CancelBtn);
        FIELD(c, CustomBtn);
        FIELD(c, SpeedButton1);
        FIELD(c, Bevel1);
        FIELD(c, Splitter1);
        FIELD(c, PaintBox1);
        FIELD(c, Timer1);
        METHOD(c, Edit1Change);
    });
    return info;
}

// Every property below differs from its default, so the writer gives the
// same text back.
const char* const kLayout = R"(object LayoutForm: TLayoutForm
  Left = 100
  Top = 80
  Width = 320
  Height = 240
  Caption = 'Layout'
  Font.Charset = ANSI_CHARSET
  Font.Height = -11
  Font.Name = 'MS Sans Serif'
  HorzScrollBar.Range = 400
  OldCreateOrder = False
  PixelsPerInch = 96
  TextHeight = 13
  VertScrollBar.Range = 241
  object Panel1: TPanel
    Left = 0
    Top = 0
    Width = 400
    Height = 41
    BevelInner = bvLowered
    BevelOuter = bvNone
    BorderWidth = 2
    Caption = 'Top panel'
    Color = clInfoBk
    TabOrder = 0
    object SpeedButton1: TSpeedButton
      Left = 4
      Top = 4
      Width = 23
      Height = 22
      Hint = 'Speed'
      GroupIndex = 3
      Down = True
      Caption = 'S'
      Flat = True
      ParentShowHint = False
      ShowHint = True
      Transparent = False
    end
  end
  object Label1: TLabel
    Left = 8
    Top = 52
    Width = 60
    Height = 13
    Alignment = taRightJustify
    AutoSize = False
    Caption = '&Name'
    FocusControl = Edit1
    Layout = tlCenter
  end
  object Bevel1: TBevel
    Left = 8
    Top = 200
    Width = 300
    Height = 2
    Shape = bsTopLine
    Style = bsRaised
  end
  object Splitter1: TSplitter
    Left = 0
    Top = 41
    Width = 4
    Height = 200
    Align = alNone
    Beveled = True
    MinSize = 40
  end
  object PaintBox1: TPaintBox
    Left = 320
    Top = 60
    Width = 50
    Height = 50
    Color = clLime
    ParentColor = False
  end
  object Edit1: TEdit
    Left = 76
    Top = 48
    Width = 121
    Height = 21
    CharCase = ecUpperCase
    MaxLength = 20
    TabOrder = 1
    Text = 'HELLO'
    OnChange = Edit1Change
  end
  object Memo1: TMemo
    Left = 8
    Top = 76
    Width = 185
    Height = 89
    Lines.Strings = (
      'first line'
      'second line')
    ScrollBars = ssVertical
    TabOrder = 2
    WantTabs = True
    WordWrap = False
  end
  object CheckBox1: TCheckBox
    Left = 200
    Top = 76
    Width = 97
    Height = 17
    AllowGrayed = True
    Caption = 'Check'
    State = cbGrayed
    TabOrder = 3
  end
  object ComboBox1: TComboBox
    Left = 200
    Top = 100
    Width = 145
    Height = 21
    Style = csDropDownList
    DropDownCount = 5
    ItemIndex = 2
    Sorted = True
    TabOrder = 4
    Text = 'two'
    Items.Strings = (
      'one'
      'three'
      'two')
  end
  object Button1: TButton
    Left = 200
    Top = 130
    Width = 75
    Height = 25
    Cancel = True
    Caption = 'Close'
    Default = True
    ModalResult = mrAll
    TabOrder = 5
  end
  object OkBtn: TBitBtn
    Left = 8
    Top = 210
    Width = 75
    Height = 25
    TabOrder = 6
    Kind = bkOK
  end
  object CancelBtn: TBitBtn
    Left = 90
    Top = 210
    Width = 75
    Height = 25
    Caption = '&Abbrechen'
    TabOrder = 7
    Kind = bkCancel
  end
  object CustomBtn: TBitBtn
    Left = 170
    Top = 210
    Width = 75
    Height = 25
    Caption = 'Custom'
    ModalResult = mrOk
    TabOrder = 8
    Layout = blGlyphTop
    Margin = 2
    Spacing = 0
  end
  object Timer1: TTimer
    Enabled = False
    Interval = 250
    Left = 8
    Top = 8
  end
end
)";

struct Layouts : ::testing::Test {
    static void SetUpTestSuite() {
        RegisterStdControls();
        RegisterLayout("TLayoutForm", Crlf(kLayout));
    }
};

TEST_F(Layouts, ReadGivesEveryControlItsProperties) {
    auto form = MakeOwned<TLayoutForm>(nullptr);
    ASSERT_NE(form->Timer1, nullptr);
    EXPECT_FALSE(form->HandleAllocated());  // reading makes no windows
    EXPECT_EQ(form->Panel1->BevelInner(), bvLowered);
    EXPECT_EQ(form->Panel1->Color(), clInfoBk);
    EXPECT_EQ(form->SpeedButton1->Parent(), form->Panel1);
    EXPECT_TRUE(form->SpeedButton1->Down());
    EXPECT_EQ(form->Label1->FocusControl(), form->Edit1);
    EXPECT_EQ(form->Edit1->Text(), "HELLO");
    EXPECT_EQ(form->changes, 0);  // the event is bound after the text
    form->Edit1->SetText("again");
    EXPECT_EQ(form->changes, 1);
    EXPECT_EQ(form->Edit1->Text(), "AGAIN");
    form->Edit1->SetText("hello");
    EXPECT_EQ(form->Memo1->Text(), "first line\r\nsecond line\r\n");
    EXPECT_EQ(form->CheckBox1->State(), cbGrayed);
    EXPECT_EQ(form->ComboBox1->Items()->CommaText(), "one,three,two");
    EXPECT_EQ(form->ComboBox1->ItemIndex(), 2);
    EXPECT_EQ(form->ComboBox1->Text(), "two");
    EXPECT_EQ(form->Button1->ModalResult(), mrAll);
    EXPECT_EQ(form->OkBtn->Caption(), "OK");
    EXPECT_TRUE(form->OkBtn->Default());
    EXPECT_EQ(form->OkBtn->ModalResult(), mrOk);
    EXPECT_EQ(form->CancelBtn->Caption(), "&Abbrechen");
    EXPECT_TRUE(form->CancelBtn->Cancel());
    EXPECT_EQ(form->CustomBtn->Kind(), bkCustom);
    EXPECT_EQ(form->Splitter1->MinSize(), 40);
    EXPECT_FALSE(form->Timer1->Enabled());
    EXPECT_EQ(form->Timer1->Interval(), 250);

    // The edit and the combo box take the height their font needs, which
    // depends on the faces this machine has.
    std::string expected = Crlf(kLayout);
    for (const char* name : {"object Edit1", "object ComboBox1"}) {
        size_t at = expected.find("Height = 21", expected.find(name));
        auto* control = static_cast<TControl*>(form->FindComponent(std::string(name).substr(7)));
        expected.replace(at, 11, "Height = " + std::to_string(control->Height()));
    }
    EXPECT_EQ(form->Edit1->Height(), FontLineHeight(*form->Edit1->Font()) + 8 * GetSystemMetrics(SM_CYBORDER));
    EXPECT_EQ(WriteComponentToText(form.get()), expected);
}

TEST_F(Layouts, ChangedKindPartsAreWrittenAndReadBack) {
    auto form = MakeOwned<TLayoutForm>(nullptr);
    form->OkBtn->SetDefault(false);  // no longer what bkOK gives
    form->CancelBtn->SetKind(bkCustom);
    std::string text = WriteComponentToText(form.get());
    EXPECT_EQ(text.find("Kind = bkOK"), std::string::npos);
    EXPECT_NE(text.find("Glyph.Data"), std::string::npos);

    // Into a plain form, which has no method for the edit's event.
    text = StringReplaceAll(text, "    OnChange = Edit1Change\r\n", "");
    auto copy = MakeForm();
    ReadComponentFromText(copy.get(), text);
    auto* ok = dynamic_cast<TBitBtn*>(copy->FindComponent("OkBtn"));
    auto* cancel = dynamic_cast<TBitBtn*>(copy->FindComponent("CancelBtn"));
    ASSERT_TRUE(ok && cancel);
    EXPECT_FALSE(ok->Default());
    EXPECT_EQ(ok->Caption(), "OK");
    EXPECT_EQ(ok->ModalResult(), mrOk);
    EXPECT_EQ(ok->NumGlyphs(), 2);
    EXPECT_EQ(ok->Glyph()->Pixels32(), form->OkBtn->Glyph()->Pixels32());
    EXPECT_TRUE(cancel->Cancel());
    EXPECT_EQ(cancel->Caption(), "&Abbrechen");
    EXPECT_EQ(cancel->ModalResult(), mrCancel);
}

TEST_F(Layouts, UnknownPropertiesAndBadValuesAreReadErrors) {
    auto edit = [](const std::string& property) {
        auto form = MakeForm();
        return ReadComponentFromText(form.get(), Crlf("object F: TForm\n  object E: TEdit\n    " + property +
                                                     "\n  end\nend\n"));
    };
    EXPECT_THROW(edit("Kind = bkOK"), EReadError);
    EXPECT_THROW(edit("CharCase = ecSideways"), EReadError);
    EXPECT_THROW(edit("Lines.Strings = ('a')"), EReadError);
}

}  // namespace
