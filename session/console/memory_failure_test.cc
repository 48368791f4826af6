#include "session/console/memory_failure.h"

#include <gtest/gtest.h>

#include <new>
#include <sstream>

namespace talvik {
namespace {

TEST(MemoryFailure, IsOneLineAndExitStatus1) {
  std::ostringstream errors;
  const int status = runReportingMemoryFailure(
      "talvik-batch", errors, []() -> int { throw std::bad_alloc(); });
  EXPECT_EQ(status, 1);
  EXPECT_EQ(errors.str(), "talvik-batch: error: out of memory\n");
}

TEST(MemoryFailure, AnArrayTooLongToAllocateIsOneToo) {
  std::ostringstream errors;
  const int status = runReportingMemoryFailure(
      "talvik-plot", errors,
      []() -> int { throw std::bad_array_new_length(); });
  EXPECT_EQ(status, 1);
  EXPECT_EQ(errors.str(), "talvik-plot: error: out of memory\n");
}

TEST(MemoryFailure, LeavesACompleteRunAsItIs) {
  std::ostringstream errors;
  EXPECT_EQ(runReportingMemoryFailure("talvik-plot", errors, [] { return 2; }),
            2);
  EXPECT_EQ(errors.str(), "");
}

}  // namespace
}  // namespace talvik
