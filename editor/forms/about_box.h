// The information box of the editor: the maker's texts and picture, the
// current year where the year label says "XXXX", and a button to the
// maker's web site.
#pragma once
#include <functional>

#include "classlib/gui/forms.h"

class TPanel;
class TImage;
class TLabel;
class TThemedBitBtn;

// The address the about box and the editor's web button open.
extern const char* const MakerWebAddress;

class TAboutBox : public TForm {
    DECLARE_CLASS(TAboutBox, TForm)
public:
    explicit TAboutBox(TComponent* owner) : TForm(owner) {}

    TPanel* Panel1 = nullptr;
    TImage* ProgramIcon = nullptr;
    TLabel* ProductName = nullptr;
    TLabel* YearLabel = nullptr;
    TLabel* Comments = nullptr;
    TLabel* Label1 = nullptr;
    TLabel* Label2 = nullptr;
    TLabel* Label3 = nullptr;
    TThemedBitBtn* ThemedBitBtn1 = nullptr;
    TThemedBitBtn* BitBtn1 = nullptr;

    void FormCreate(TObject* sender);
    void ThemedBitBtn1Click(TObject* sender);

    // Today's year; replaceable for tests.
    static std::function<int()> CurrentYear;
};

// Replaces the first "XXXX" of text by the year's four digits.
std::string InsertYear(const std::string& text, int year);
