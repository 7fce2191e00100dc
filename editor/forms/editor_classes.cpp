#include "editor/forms/editor_classes.h"

#include "classlib/graphics/jpeg.h"
#include "controls/prism_color_combo_box.h"
#include "controls/register_controls.h"
#include "imaging/gif_image.h"
#include "player/classes_registration.h"
#include "shell/shell_namespace.h"
#include "unicode/wide_actions.h"
#include "unicode/wide_menus.h"

void RegisterEditorClasses() {
    RegisterProgramClasses();
    RegisterControlClasses();
    RegisterEditorControlClasses();
    RegisterJpegFormat();
    RegisterGIFImageClasses();
    RegisterClass(TPrismColorComboBox::StaticClass());
    RegisterClass(TShellNamespace::StaticClass());
    RegisterWideMenuClasses();
    RegisterWideActionClasses();
}
