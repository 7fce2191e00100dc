// Every class the controls register keeps the registered-class contract.
#include "classlib/testing/class_contract.h"

#include <gtest/gtest.h>

#include "controls/register_controls.h"
#include "controls/theme_library.h"

TEST(ControlClasses, KeepTheContractOfRegisteredClasses) {
    // Themed buttons hold the visual-style binding until its shut-down.
    StartThemeLibraryUnit();
    RegisterControlClasses();
    RegisterEditorControlClasses();
    ExpectRegisteredClassesKeepTheirContract();
    StopThemeLibraryUnit();
}
