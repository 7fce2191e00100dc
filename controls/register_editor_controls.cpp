#include "classlib/core/typinfo.h"
#include "controls/ex_label.h"
#include "controls/image_btn.h"
#include "controls/register_controls.h"
#include "controls/themed_bitbtn.h"

void RegisterEditorControlClasses() {
    RegisterClass(TThemedBitBtn::StaticClass());
    RegisterClass(TExLabel::StaticClass());
    RegisterClass(TImageBtn::StaticClass());
}
