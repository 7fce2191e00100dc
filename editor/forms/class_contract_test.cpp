// Every class the editor registers keeps the registered-class contract.
#include "classlib/testing/class_contract.h"

#include <gtest/gtest.h>

#include "editor/forms/editor_classes.h"

TEST(EditorClasses, KeepTheContractOfRegisteredClasses) {
    // As the editor's start registers them.
    RegisterEditorClasses();
    ExpectRegisteredClassesKeepTheirContract();
}
