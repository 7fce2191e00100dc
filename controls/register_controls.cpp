#include "controls/register_controls.h"

#include "classlib/core/typinfo.h"
#include "controls/ex_speed_button.h"

void RegisterControlClasses() {
    RegisterClass(TExSpeedButton::StaticClass());
}
