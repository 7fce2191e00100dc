#include "classlib/stdctrls/stdctrls.h"

#include "classlib/stdctrls/buttons.h"
#include "classlib/stdctrls/extctrls.h"

void RegisterStdControls() {
    for (const TClassInfo* info :
         {&TCustomPanel::StaticClass(), &TPanel::StaticClass(), &TCustomLabel::StaticClass(), &TLabel::StaticClass(),
          &TBevel::StaticClass(), &TButtonControl::StaticClass(), &TButton::StaticClass(), &TBitBtn::StaticClass(),
          &TSpeedButton::StaticClass(), &TCustomCheckBox::StaticClass(), &TCheckBox::StaticClass(),
          &TCustomEdit::StaticClass(), &TEdit::StaticClass(), &TCustomMemo::StaticClass(), &TMemo::StaticClass(),
          &TCustomComboBox::StaticClass(), &TComboBox::StaticClass(), &TPaintBox::StaticClass(),
          &TTimer::StaticClass(), &TSplitter::StaticClass()})
        RegisterClass(*info);
}
