#include "runtime/runtime_classes.h"

#include "controls/register_controls.h"
#include "imaging/gif_image.h"
#include "player/classes_registration.h"
#include "runtime/older_color_combo_box.h"

void RegisterRuntimeClasses() {
    RegisterProgramClasses();
    RegisterControlClasses();
    RegisterGIFImageClasses();
    RegisterClass(TOlderColorComboBox::StaticClass());
}
