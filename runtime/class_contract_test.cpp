// Every class the runtime registers keeps the registered-class contract.
#include "classlib/testing/class_contract.h"

#include <gtest/gtest.h>

#include "runtime/runtime_classes.h"

TEST(RuntimeClasses, KeepTheContractOfRegisteredClasses) {
    RegisterRuntimeClasses();
    ExpectRegisteredClassesKeepTheirContract();
}
