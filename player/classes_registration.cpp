#include "classes_registration.h"

#include "comctrls.h"
#include "dialogs.h"
#include "graphics.h"
#include "stdctrls.h"

void RegisterProgramClasses() {
    RegisterGraphicClasses();
    RegisterStdControls();
    RegisterComControls();
    RegisterDialogClasses();
}
