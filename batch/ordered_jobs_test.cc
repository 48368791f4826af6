#include "batch/ordered_jobs.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstddef>
#include <new>
#include <stdexcept>
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

// A job that throws stops the run: the results before it are delivered in
// order, nothing after it, and the exception comes out of the run once every
// thread has ended.
TEST(RunOrderedJobs, AFailedJobEndsTheRunWithItsException) {
  for (const unsigned jobs : {1u, 2u, 8u}) {
    std::vector<std::size_t> delivered;
    try {
      runOrderedJobs<std::size_t>(
          100, jobs, 4,
          [](std::size_t index) {
            if (index == 30) throw std::bad_alloc();
            return index;
          },
          [&](std::size_t index, std::size_t) { delivered.push_back(index); });
      ADD_FAILURE() << "no exception with " << jobs << " threads";
    } catch (const std::bad_alloc&) {
    }
    std::vector<std::size_t> expected(30);
    for (std::size_t i = 0; i < expected.size(); ++i) expected[i] = i;
    EXPECT_EQ(delivered, expected) << jobs << " threads";
  }
}

TEST(RunOrderedJobs, AFailedDeliveryEndsTheRunWithItsException) {
  for (const unsigned jobs : {1u, 2u, 8u}) {
    std::atomic<std::size_t> deliveries = 0;
    EXPECT_THROW(runOrderedJobs<std::size_t>(
                     100, jobs, 4, [](std::size_t index) { return index; },
                     [&](std::size_t index, std::size_t) {
                       ++deliveries;
                       if (index == 10) throw std::runtime_error("refused");
                     }),
                 std::runtime_error);
    EXPECT_EQ(deliveries, 11u) << jobs << " threads";
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
