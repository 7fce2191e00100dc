#include "classlib/dialogs/dialogs.h"

void RegisterDialogClasses() {
    RegisterClass(TOpenDialog::StaticClass());
    RegisterClass(TSaveDialog::StaticClass());
    RegisterClass(TFontDialog::StaticClass());
    RegisterClass(TColorDialog::StaticClass());
}
