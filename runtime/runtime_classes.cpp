#include "runtime/runtime_classes.h"

#include "controls/register_controls.h"
#include "imaging/gif_image.h"
#include "player/classes_registration.h"
#include "runtime/dir_mon.h"
#include "runtime/older_color_combo_box.h"
#include "runtime/older_shell_namespace.h"

void RegisterRuntimeClasses() {
    RegisterProgramClasses();
    RegisterControlClasses();
    RegisterGIFImageClasses();
    RegisterClass(TOlderColorComboBox::StaticClass());
    RegisterClass(TDirMon::StaticClass());
    RegisterClass(TOlderShellNamespace::StaticClass());
}
