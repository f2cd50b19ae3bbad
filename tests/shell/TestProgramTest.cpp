#include "MosaicTest.h"

namespace
{

// Planted for the CTest entry that checks that a failing test fails this program, whose
// exit code is what the test run sees; left out of the ordinary runs.
TEST(TestProgram, DISABLED_AFailureFailsTheProgram)
{
    ADD_FAILURE() << "planted failure";
}

}   // namespace
