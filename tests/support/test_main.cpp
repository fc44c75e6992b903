// The test programs' entry: every suite runs its cases, then leaves at once
// (see leave_process) with GoogleTest's result.
#include <gtest/gtest.h>

#include "standin/environment/leave_process.h"

int main(int argc, char** argv) {
    testing::InitGoogleTest(&argc, argv);
    standin::leave_process(RUN_ALL_TESTS());
}
