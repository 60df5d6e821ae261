// The seed of a test's random draws (kill moments, keys): a new one each time, so that the draws
// differ from one run of the tests to the next, and JOBSHOP_TEST_SEED to replay a failure with the
// same draws. The seed is printed and kept in the test's XML result before anything is drawn.
#pragma once

#include <string>

namespace jobshop {

unsigned testSeed();

// What a failure says about its seed (for SCOPED_TRACE).
std::string replayNote(unsigned seed);

}  // namespace jobshop
