// Every class the editor registers keeps the registered-class contract.
#include "classlib/testing/class_contract.h"

#include <gtest/gtest.h>

#include "classlib/graphics/jpeg.h"
#include "controls/prism_color_combo_box.h"
#include "player/classes_registration.h"

TEST(EditorClasses, KeepTheContractOfRegisteredClasses) {
    // As the editor's start registers them.
    RegisterProgramClasses();
    RegisterJpegFormat();
    RegisterClass(TPrismColorComboBox::StaticClass());
    ExpectRegisteredClassesKeepTheirContract();
}
