// The score tests' own entry: the same program also plays the helper
// processes the sharing tests start (another program holding the table, a
// second copy of the game adding results).
#include "score_test_support.h"

#include <gtest/gtest.h>

int main(int argc, char** argv) {
    int role = RunRoleIfAsked();
    if (role >= 0) return role;
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
