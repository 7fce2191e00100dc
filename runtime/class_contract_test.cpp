// Every class the runtime registers keeps the registered-class contract.
#include "classlib/testing/class_contract.h"

#include <gtest/gtest.h>

#include "player/classes_registration.h"
#include "runtime/older_color_combo_box.h"

TEST(RuntimeClasses, KeepTheContractOfRegisteredClasses) {
    // As the runtime's start registers them.
    RegisterProgramClasses();
    RegisterClass(TOlderColorComboBox::StaticClass());
    ExpectRegisteredClassesKeepTheirContract();
}
