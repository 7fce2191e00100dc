#include "player/classes_registration.h"

#include "classlib/comctrls/comctrls.h"
#include "classlib/dialogs/dialogs.h"
#include "classlib/graphics/register_graphics.h"
#include "classlib/graphics/jpeg.h"
#include "classlib/graphics/image.h"
#include "classlib/gui/actions.h"
#include "classlib/gui/menus.h"
#include "classlib/stdctrls/stdctrls.h"

void RegisterProgramClasses() {
    RegisterGraphicClasses();
    RegisterStdControls();
    RegisterComControls();
    RegisterDialogClasses();
    RegisterMenuClasses();
    RegisterActionClasses();
}
