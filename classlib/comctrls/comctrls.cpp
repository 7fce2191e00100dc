#include "classlib/comctrls/comctrls.h"

void RegisterComControls() {
    for (const TClassInfo* info :
         {&TImageList::StaticClass(), &TTreeView::StaticClass(), &TTabControl::StaticClass(),
          &TPageControl::StaticClass(), &TTabSheet::StaticClass(), &TStatusBar::StaticClass(),
          &TStatusPanel::StaticClass()})
        RegisterClass(*info);
}
