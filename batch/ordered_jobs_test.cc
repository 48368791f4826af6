#include "batch/ordered_jobs.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstddef>
#include <thread>
#include <vector>

namespace talvik {
namespace {

// Jobs of uneven length finish out of order; their results must still be
// delivered in order, each once, with no job started more than `window`
// ahead of the next delivery.
TEST(RunOrderedJobs, DeliversInOrderWhateverTheThreadsAndTheWindow) {
  for (const unsigned jobs : {1u, 2u, 3u, 8u}) {
    for (const std::size_t window : {std::size_t{1}, std::size_t{4}}) {
      constexpr std::size_t kCount = 60;
      std::vector<std::size_t> delivered;
      std::atomic<std::size_t> deliveredCount = 0;
      std::atomic<bool> aheadOfWindow = false;
      runOrderedJobs<std::size_t>(
          kCount, jobs, window,
          [&](std::size_t index) {
            if (index >= deliveredCount + window) aheadOfWindow = true;
            std::this_thread::sleep_for(
                std::chrono::microseconds((index * 7919) % 13 * 50));
            return index * index;
          },
          [&](std::size_t index, std::size_t result) {
            EXPECT_EQ(result, index * index);
            delivered.push_back(index);
            ++deliveredCount;
          });
      std::vector<std::size_t> expected(kCount);
      for (std::size_t i = 0; i < kCount; ++i) expected[i] = i;
      EXPECT_EQ(delivered, expected) << jobs << " threads";
      EXPECT_FALSE(aheadOfWindow) << jobs << " threads";
    }
  }
}

TEST(RunOrderedJobs, NoJobsDeliversNothing) {
  int calls = 0;
  runOrderedJobs<int>(
      0, 4, 8, [&](std::size_t) { return ++calls; },
      [&](std::size_t, int) { ++calls; });
  EXPECT_EQ(calls, 0);
}

}  // namespace
}  // namespace talvik
