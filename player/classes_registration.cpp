#include "classes_registration.h"

#include "comctrls.h"
#include "dialogs.h"
#include "register_graphics.h"
#include "jpeg.h"
#include "image.h"
#include "stdctrls.h"

void RegisterProgramClasses() {
    RegisterGraphicClasses();
    RegisterStdControls();
    RegisterComControls();
    RegisterDialogClasses();
}
