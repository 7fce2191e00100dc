#include "classlib/dialogs/dialogs.h"

void RegisterDialogClasses() {
    RegisterClass(TOpenDialog::StaticClass());
    RegisterClass(TSaveDialog::StaticClass());
    RegisterClass(TOpenPictureDialog::StaticClass());
    RegisterClass(TSavePictureDialog::StaticClass());
    RegisterClass(TFontDialog::StaticClass());
    RegisterClass(TColorDialog::StaticClass());
}
