#include "classlib/dialogs/dialogs.h"

#include <gtest/gtest.h>

#include "classlib/core/class_builder.h"
#include "classlib/dialogs/dialog_test_support.h"
#include "classlib/core/filer.h"

namespace {

class TDialogsForm : public TForm {
    DECLARE_CLASS(TDialogsForm, TForm)
public:
    explicit TDialogsForm(TComponent* owner) : TForm(owner) {}
    TOpenDialog* OpenDialog1 = nullptr;
    TFontDialog* FontDialog1 = nullptr;
};

const TClassInfo& TDialogsForm::StaticClass() {
    static const TClassInfo info = DefineClass<TDialogsForm>("TDialogsForm", &TForm::StaticClass(), [](auto& c) {
        c.Creatable();
        FIELD(c, OpenDialog1);
        FIELD(c, FontDialog1);
    });
    return info;
}

std::string Crlf(const std::string& text) {
    std::string out;
    for (char ch : text) {
        if (ch == '\n') out += '\r';
        out += ch;
    }
    return out;
}

// Each dialog as the writer files it. The save, second font and colour
// dialogs are no fields of the form: the registered classes let the layout
// create them.
const char* const kDialogTexts[] = {
    R"(object OpenDialog1: TOpenDialog
  HelpContext = 12
  DefaultExt = 'qmf'
  FileName = 'menu.qmf'
  Filter = 'Menus (*.qmf)|*.qmf|All files|*.*'
  FilterIndex = 2
  InitialDir = 'C:\Menus'
  Options = [ofOverwritePrompt, ofHideReadOnly, ofPathMustExist, ofEnableSizing]
  Title = 'Open menu'
  Left = 8
  Top = 16
end
)",
    R"(object SaveDialog1: TSaveDialog
  Ctl3D = False
  Options = []
end
)",
    R"(object FontDialog1: TFontDialog
  Font.Charset = ANSI_CHARSET
  Font.Color = clMaroon
  Font.Height = -19
  Font.Name = 'Arial Black'
  Font.Style = [fsBold, fsItalic]
  Device = fdBoth
  MinFontSize = 6
  MaxFontSize = 48
  Options = [fdEffects, fdLimitSize]
end
)",
    R"(object FontDialog2: TFontDialog
  Font.Height = -11
  Font.Name = 'MS Sans Serif'
end
)",
    R"(object ColorDialog1: TColorDialog
  Color = clBtnFace
  CustomColors.Strings = (
    'ColorA=FFFFFF'
    'ColorB=C0C0C0')
  Options = [cdFullOpen, cdSolidColor]
end
)",
};

std::string FormLayout() {
    std::string layout = "object DialogsForm: TDialogsForm\n";
    for (std::string block : kDialogTexts) {
        for (size_t pos = 0, end; pos < block.size(); pos = end + 1) {
            end = block.find('\n', pos);
            layout += "  " + block.substr(pos, end - pos + 1);
        }
    }
    return layout + "end\n";
}

TEST(DialogLayouts, DialogsReadFromALayoutAreWrittenBackAlike) {
    RegisterDialogClasses();
    RegisterLayout("TDialogsForm", FormLayout());
    auto form = MakeOwned<TDialogsForm>(nullptr);
    ASSERT_NE(form->OpenDialog1, nullptr);
    ASSERT_NE(form->FontDialog1, nullptr);
    EXPECT_EQ(form->OpenDialog1->Options(),
              (TOpenOptions{ofOverwritePrompt, ofHideReadOnly, ofPathMustExist, ofEnableSizing}));
    EXPECT_EQ(form->FontDialog1->Font()->Name(), "Arial Black");
    EXPECT_EQ(form->FontDialog1->Font()->Style(), (TFontStyles{fsBold, fsItalic}));

    // Published order, defaults left out, Font as a sub-object.
    for (const char* text : kDialogTexts) {
        std::string name = std::string(text).substr(7, std::string(text).find(':') - 7);
        TComponent* dialog = form->FindComponent(name);
        ASSERT_NE(dialog, nullptr) << name;
        EXPECT_TRUE(dialog->InheritsFrom(TCommonDialog::StaticClass()));
        EXPECT_EQ(WriteComponentToText(dialog), Crlf(text));
    }
}

}  // namespace
