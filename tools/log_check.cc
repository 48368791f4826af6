// Checks naturalLog and naturalLogs against a wider logarithm for every
// positive float, from the smallest denormal up to +inf, on two threads. Run by
// hand after any change to analysis/natural_log.cc (a Release build takes about
// two minutes).
//
// The reference is the x87 long double logarithm (64-bit significand) rounded
// to float: a different computation from naturalLog's, which rounds its own
// double estimate (an atanh series) and settles close calls with a longer one
// in double-double arithmetic (pairs of doubles, about 106 bits). A float whose
// long double result lies too close to a midpoint between two floats to trust
// is listed as undecided (none does).

#include <algorithm>
#include <atomic>
#include <bit>
#include <chrono>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <limits>
#include <mutex>
#include <thread>
#include <vector>

#include "analysis/natural_log.h"

namespace talvik {
namespace {

constexpr std::uint32_t kFirstBits = 0x00000001u;  // smallest denormal
constexpr std::uint32_t kLastBits = 0x7f800000u;   // +inf
constexpr std::uint32_t kChunk = 1u << 20;
constexpr std::size_t kListLimit = 40;

// A far narrower window than naturalLog's for the long double result, whose
// error is a unit or two in 64 bits.
constexpr long double kWideCloseCall = 0x1p-58L;

// The float neighbour of `rounded` on the side of `value`.
template <typename Wide>
float neighbourTowards(float rounded, Wide value) {
  return std::nextafter(rounded, value < rounded
                                     ? -std::numeric_limits<float>::infinity()
                                     : std::numeric_limits<float>::infinity());
}

template <typename Wide>
Wide midpointTowards(float rounded, Wide value) {
  return (Wide(rounded) + Wide(neighbourTowards(rounded, value))) / 2;
}

template <typename Wide>
Wide magnitude(Wide value) {
  return value < 0 ? -value : value;
}

struct Finding {
  std::uint32_t bits;
  float expected;
  float found;
};

struct Tally {
  std::uint64_t checked = 0;
  std::uint64_t mismatches = 0;
  std::uint64_t settledPrecisely = 0;
  std::uint64_t undecided = 0;
  std::uint64_t logfWrong = 0;
  std::uint64_t viaDoubleWrong = 0;
  // The estimate's largest error, in units of its last place (the reference
  // itself errs by about 2^-11 of one).
  double worstEstimateUnits = 0;
  std::vector<Finding> mismatchList;
  std::vector<Finding> undecidedList;
  std::vector<Finding> viaDoubleWrongList;

  void add(const Tally& other) {
    checked += other.checked;
    mismatches += other.mismatches;
    settledPrecisely += other.settledPrecisely;
    undecided += other.undecided;
    logfWrong += other.logfWrong;
    viaDoubleWrong += other.viaDoubleWrong;
    worstEstimateUnits = std::max(worstEstimateUnits, other.worstEstimateUnits);
    mismatchList.insert(mismatchList.end(), other.mismatchList.begin(),
                        other.mismatchList.end());
    undecidedList.insert(undecidedList.end(), other.undecidedList.begin(),
                         other.undecidedList.end());
    viaDoubleWrongList.insert(viaDoubleWrongList.end(),
                              other.viaDoubleWrongList.begin(),
                              other.viaDoubleWrongList.end());
  }
};

void note(std::vector<Finding>& list, Finding finding) {
  if (list.size() < kListLimit) list.push_back(finding);
}

bool sameBits(float a, float b) {
  return std::bit_cast<std::uint32_t>(a) == std::bit_cast<std::uint32_t>(b);
}

// `fromBatch` is naturalLogs' result for the same float.
void checkOne(std::uint32_t bits, float fromBatch, Tally& tally) {
  const float x = std::bit_cast<float>(bits);
  ++tally.checked;

  const long double wide = std::log(static_cast<long double>(x));
  const float expected = static_cast<float>(wide);
  const bool finite = std::isfinite(x);

  if (finite) {
    const long double midpoint = midpointTowards(expected, wide);
    if (magnitude(wide - midpoint) <= magnitude(midpoint) * kWideCloseCall) {
      ++tally.undecided;
      note(tally.undecidedList, {bits, expected, naturalLog(x)});
    }

    // The same test naturalLog makes before it leaves its estimate.
    const double estimate = naturalLogEstimate(x);
    if (nearFloatMidpoint(estimate)) ++tally.settledPrecisely;
    const long double error =
        magnitude(static_cast<long double>(estimate) - wide);
    const long double unit = std::ldexp(
        1.0L, std::ilogb(estimate) - std::numeric_limits<double>::digits + 1);
    tally.worstEstimateUnits =
        std::max(tally.worstEstimateUnits, static_cast<double>(error / unit));
    const double libraryEstimate = std::log(static_cast<double>(x));
    const float viaDouble = static_cast<float>(libraryEstimate);
    if (!sameBits(viaDouble, expected)) {
      ++tally.viaDoubleWrong;
      note(tally.viaDoubleWrongList, {bits, expected, viaDouble});
    }
  }

  if (!sameBits(std::log(x), expected)) ++tally.logfWrong;
  const float found = naturalLog(x);
  if (!sameBits(found, expected) || !sameBits(fromBatch, expected)) {
    ++tally.mismatches;
    note(tally.mismatchList, {bits, expected, found});
  }
}

// Threads take chunks of bit patterns in turn, so both stay busy to the end.
Tally checkAll() {
  std::atomic<std::uint64_t> nextChunk{kFirstBits};
  std::mutex merge;
  Tally total;
  auto work = [&] {
    Tally tally;
    std::vector<float> batch;
    for (;;) {
      const std::uint64_t first = nextChunk.fetch_add(kChunk);
      if (first > kLastBits) break;
      const std::uint64_t end =
          std::min<std::uint64_t>(first + kChunk, kLastBits + 1ull);
      batch.clear();
      for (std::uint64_t bits = first; bits < end; ++bits) {
        batch.push_back(std::bit_cast<float>(static_cast<std::uint32_t>(bits)));
      }
      naturalLogs(batch);
      for (std::uint64_t bits = first; bits < end; ++bits) {
        checkOne(static_cast<std::uint32_t>(bits), batch[bits - first], tally);
      }
    }
    const std::lock_guard<std::mutex> lock(merge);
    total.add(tally);
  };
  std::thread helper(work);
  work();
  helper.join();
  return total;
}

void printList(const char* title, const std::vector<Finding>& list,
               const char* expectedName, const char* foundName) {
  if (list.empty()) return;
  std::printf("%s (up to %zu shown):\n", title, kListLimit);
  for (const Finding& f : list) {
    std::printf("  x = %.9g (0x%08x): %s %.9g (0x%08x), %s %.9g (0x%08x)\n",
                std::bit_cast<float>(f.bits), f.bits, expectedName, f.expected,
                std::bit_cast<std::uint32_t>(f.expected), foundName, f.found,
                std::bit_cast<std::uint32_t>(f.found));
  }
}

void run() {
  const auto start = std::chrono::steady_clock::now();
  const Tally tally = checkAll();
  const std::chrono::duration<double> elapsed =
      std::chrono::steady_clock::now() - start;

  std::printf("floats checked:                          %llu\n",
              static_cast<unsigned long long>(tally.checked));
  std::printf("naturalLog mismatches:                   %llu\n",
              static_cast<unsigned long long>(tally.mismatches));
  std::printf("settled by naturalLog's double-double:   %llu\n",
              static_cast<unsigned long long>(tally.settledPrecisely));
  std::printf("estimate's worst error (double units):   %.2f\n",
              tally.worstEstimateUnits);
  std::printf("too close to call for the reference:     %llu\n",
              static_cast<unsigned long long>(tally.undecided));
  std::printf("logf misrounded:                         %llu\n",
              static_cast<unsigned long long>(tally.logfWrong));
  std::printf("(float)log(double) misrounded:           %llu\n",
              static_cast<unsigned long long>(tally.viaDoubleWrong));
  std::printf("time:                                    %.1f s\n",
              elapsed.count());
  printList("naturalLog mismatches", tally.mismatchList, "correct",
            "naturalLog");
  printList("too close to call for the reference", tally.undecidedList,
            "long double", "naturalLog");
  printList("(float)log(double) misrounded", tally.viaDoubleWrongList,
            "correct", "via double");
}

}  // namespace
}  // namespace talvik

int main() { talvik::run(); }
