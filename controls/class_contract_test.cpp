// Every class the controls register keeps the registered-class contract.
#include "classlib/testing/class_contract.h"

#include <gtest/gtest.h>

#include "controls/register_controls.h"

TEST(ControlClasses, KeepTheContractOfRegisteredClasses) {
    RegisterControlClasses();
    ExpectRegisteredClassesKeepTheirContract();
}
