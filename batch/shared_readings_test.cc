#include "batch/shared_readings.h"

#include <gtest/gtest.h>

#include <array>
#include <atomic>
#include <chrono>
#include <cstddef>
#include <latch>
#include <memory>
#include <string>
#include <thread>
#include <vector>

namespace talvik {
namespace {

constexpr std::size_t kFiles = 4;
constexpr std::size_t kSizesPerFile = 200;

// The reading each file must give, whoever reads it.
bool isWholeReadingOf(const InputSizes& input, std::size_t file) {
  if (input.observed.size() != kSizesPerFile || input.warnings.size() != 1 ||
      input.warnings[0].line != static_cast<std::int64_t>(file) + 1) {
    return false;
  }
  for (std::size_t i = 0; i < kSizesPerFile; ++i) {
    if (input.observed[i] != static_cast<float>(file * 1000 + i)) return false;
  }
  return true;
}

// Many threads, released at once, ask for the same few files over and over,
// each in its own order. Reading a file takes long enough for the others to
// ask meanwhile: each must wait for the one reading, and all must get its
// whole reading, never an entry still being filled.
TEST(SharedReadings, EachFileIsReadOnceAndEveryThreadSeesItWhole) {
  const std::vector<std::string> files = {"0", "1", "2", "3"};
  std::array<std::atomic<int>, kFiles> reads{};
  SharedReadings readings(files, [&reads](const std::string& path) {
    const std::size_t file = std::stoul(path);
    ++reads[file];
    InputSizes input;
    for (std::size_t i = 0; i < kSizesPerFile; ++i) {
      input.observed.push_back(static_cast<float>(file * 1000 + i));
      if (i % 50 == 0) {
        std::this_thread::sleep_for(std::chrono::microseconds(200));
      }
    }
    input.warnings.push_back({static_cast<std::int64_t>(file) + 1, path});
    return input;
  });

  constexpr std::size_t kThreads = 16;
  constexpr std::size_t kRounds = 20;
  std::latch start(kThreads);
  std::atomic<int> partial = 0;
  std::vector<std::thread> threads;
  for (std::size_t t = 0; t < kThreads; ++t) {
    threads.emplace_back([&, t] {
      start.arrive_and_wait();
      for (std::size_t round = 0; round < kRounds; ++round) {
        const std::size_t file = (t + round) % kFiles;
        if (!isWholeReadingOf(*readings.get(file), file)) ++partial;
      }
    });
  }
  for (std::thread& thread : threads) thread.join();

  EXPECT_EQ(partial, 0);
  for (std::size_t file = 0; file < kFiles; ++file) {
    EXPECT_EQ(reads[file], 1) << "file " << file;
  }
}

TEST(SharedReadings, LaterCallersShareTheFirstReading) {
  const std::vector<std::string> files = {"a", "b"};
  int reads = 0;
  SharedReadings readings(files, [&reads](const std::string& path) {
    ++reads;
    InputSizes input;
    input.errors.push_back({0, path});
    return input;
  });
  const std::shared_ptr<const InputSizes> first = readings.get(1);
  EXPECT_EQ(readings.get(1), first);
  EXPECT_EQ(first->errors[0].text, "b");
  EXPECT_EQ(reads, 1);
}

// A released reading lives on only in the hands of those still using it, so
// that a run holds the sizes of the files in flight, not of every file.
TEST(SharedReadings, ReleasedReadingsAreDropped) {
  const std::vector<std::string> files = {"a"};
  SharedReadings readings(files, [](const std::string&) {
    InputSizes input;
    input.observed = {3.0f, 2.0f};
    return input;
  });
  std::shared_ptr<const InputSizes> held = readings.get(0);
  const std::weak_ptr<const InputSizes> watched = held;
  readings.release(0);
  EXPECT_FALSE(watched.expired());
  held.reset();
  EXPECT_TRUE(watched.expired());
}

}  // namespace
}  // namespace talvik
