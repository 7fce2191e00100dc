#include "editor/forms/about_box.h"

#include <ctime>

#include "classlib/core/class_builder.h"
#include "classlib/graphics/image.h"
#include "classlib/platform/interaction.h"
#include "classlib/stdctrls/buttons.h"
#include "classlib/stdctrls/extctrls.h"
#include "classlib/stdctrls/stdctrls.h"
#include "classlib/core/strutils.h"
#include "controls/themed_bitbtn.h"

const char* const MakerWebAddress = "http://www.vortel.example/quillory/";

std::function<int()> TAboutBox::CurrentYear = [] {
    std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_s(&local, &now);
    return local.tm_year + 1900;
};

const TClassInfo& TAboutBox::StaticClass() {
    static const TClassInfo info = DefineClass<TAboutBox>("TAboutBox", &TForm::StaticClass(), [](auto& c) {
        FIELD(c, Panel1);
        FIELD(c, ProgramIcon);
        FIELD(c, ProductName);
        FIELD(c, YearLabel);
        FIELD(c, Comments);
        FIELD(c, Label1);
        FIELD(c, Label2);
        FIELD(c, Label3);
        FIELD(c, ThemedBitBtn1);
        FIELD(c, BitBtn1);
        METHOD(c, FormCreate);
        METHOD(c, ThemedBitBtn1Click);
    });
    return info;
}

std::string InsertYear(const std::string& text, int year) {
    size_t at = text.find("XXXX");
    if (at == std::string::npos) return text;
    std::string digits = Format("%.4d", {year});
    return text.substr(0, at) + digits + text.substr(at + 4);
}

void TAboutBox::FormCreate(TObject*) {
    YearLabel->SetCaption(InsertYear(YearLabel->Caption(), CurrentYear()));
}

void TAboutBox::ThemedBitBtn1Click(TObject*) {
    Interaction().ShellExecute(Handle(), "open", MakerWebAddress, nullptr, nullptr, SW_SHOW);
}
