#include "tests/common/TestEnvironment.h"

#include <gtest/gtest.h>

int main(int argc, char** argv)
{
    TestEnvironment::Pin();
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
