// Entry of GUI test programs: the visual layer is started around the tests,
// as a program's entry does it.
#include <gtest/gtest.h>

#include "classlib/gui/application.h"

int main(int argc, char** argv) {
    testing::InitGoogleTest(&argc, argv);
    ClassLibStartup();
    int result = RUN_ALL_TESTS();
    ClassLibShutdown();
    return result;
}
