// Checks naturalLog and naturalLogs against a wider logarithm, and the double
// estimate that naturalLog rounds against its stated error bound, on two
// threads. With no option, every positive float from the smallest denormal up
// to +inf: run it by hand after any change to analysis/natural_log.cc (a
// Release build takes about two minutes). With --every N, every Nth of them
// and the floats of log_check_floats.h, as the tests do; with
// --list-close-calls, the floats whose estimate is a close call, for that file.
// It exits with 1 when a float is misrounded, the estimate errs beyond its
// bound or the file is out of date, and with 77 when this machine cannot
// compute the reference (valgrind's x87 is only as precise as double).
//
// The reference is the long double logarithm (x87's 64 bits on x86-64,
// quadruple precision on ARM64) rounded to float: not naturalLog's way, which
// rounds its own double estimate (an atanh series) and settles close calls in
// double-double arithmetic (about 106 bits). A float whose long double result
// lies too close to a midpoint to trust is listed as undecided (none does).

#include <algorithm>
#include <atomic>
#include <bit>
#include <charconv>
#include <chrono>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <limits>
#include <mutex>
#include <span>
#include <string_view>
#include <system_error>
#include <thread>
#include <vector>

#include "analysis/natural_log.h"
#include "tools/log_check_floats.h"

namespace talvik {
namespace {

constexpr std::uint32_t kFirstBits = 0x00000001u;  // smallest denormal
constexpr std::uint32_t kLastBits = 0x7f800000u;   // +inf
constexpr std::uint32_t kChunk = 1u << 20;
constexpr std::size_t kListLimit = 40;

// The estimate's largest error over every positive float, in units of its
// last place, as the README states it from the last whole run. The estimate
// decides the rounding only outside the close-call window, so the window must
// be wider.
constexpr double kEstimateErrorBound = 7.2;
static_assert(kEstimateErrorBound < kCloseCallUnits);
// What the reference may add to the measured error: it is within a unit or
// two of its 64 bits, 11 more than a double's.
constexpr double kReferenceErrorUnits = 0x1p-10;

// A far narrower window than naturalLog's for the long double result, whose
// error is a unit or two in 64 bits.
constexpr long double kWideCloseCall = 0x1p-58L;

// Only where long double computes with 64 bits or more (not valgrind's x87):
// ln 10 within half a unit of 64 bits, and a sum that needs 61.
bool referenceIsWide() {
  const volatile long double one = 1;
  return std::numeric_limits<long double>::digits >= 64 &&
         one + 0x1p-60L != one &&
         std::fabs(std::log(10.0L) - 0x9.35d8dddaaa8ac17p-2L) <= 0x1p-63L;
}

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

struct Finding {
  std::uint32_t bits;
  float expected;
  float found;
};

void note(std::vector<Finding>& list, Finding finding) {
  if (list.size() < kListLimit) list.push_back(finding);
}

void append(std::vector<Finding>& list, const std::vector<Finding>& more) {
  for (const Finding& finding : more) note(list, finding);
}

struct Tally {
  std::uint64_t checked = 0;
  std::uint64_t mismatches = 0;
  std::uint64_t settledPrecisely = 0;
  std::uint64_t undecided = 0;
  std::uint64_t logfWrong = 0;
  std::uint64_t viaDoubleWrong = 0;
  // The estimate's largest error, in units of its last place, and its float.
  double worstEstimateUnits = 0;
  std::uint32_t worstEstimateBits = 0;
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
    if (other.worstEstimateUnits > worstEstimateUnits) {
      worstEstimateUnits = other.worstEstimateUnits;
      worstEstimateBits = other.worstEstimateBits;
    }
    append(mismatchList, other.mismatchList);
    append(undecidedList, other.undecidedList);
    append(viaDoubleWrongList, other.viaDoubleWrongList);
  }
};

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
    if (std::fabs(wide - midpoint) <= std::fabs(midpoint) * kWideCloseCall) {
      ++tally.undecided;
      note(tally.undecidedList, {bits, expected, naturalLog(x)});
    }

    // The same test naturalLog makes before it leaves its estimate.
    const double estimate = naturalLogEstimate(x);
    if (nearFloatMidpoint(estimate)) ++tally.settledPrecisely;
    const long double error = std::fabs(estimate - wide);
    const long double unit = std::ldexp(
        1.0L, std::ilogb(estimate) - std::numeric_limits<double>::digits + 1);
    if (error / unit > tally.worstEstimateUnits) {
      tally.worstEstimateUnits = static_cast<double>(error / unit);
      tally.worstEstimateBits = bits;
    }
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

// Each float of `bits` one at a time and all together.
void checkBatch(std::span<const std::uint32_t> bits, Tally& tally) {
  std::vector<float> logs(bits.size());
  std::transform(bits.begin(), bits.end(), logs.begin(),
                 [](std::uint32_t b) { return std::bit_cast<float>(b); });
  naturalLogs(logs);
  for (std::size_t i = 0; i < bits.size(); ++i) {
    checkOne(bits[i], logs[i], tally);
  }
}

// Calls work(first, end, part) on chunks [first, end) of the bit patterns of
// the positive floats, on two threads that take chunks in turn, so both stay
// busy to the end; then adds up each thread's part.
template <typename Result, typename Work>
Result inChunks(Work work) {
  std::atomic<std::uint64_t> nextChunk{kFirstBits};
  std::mutex merge;
  Result total;
  auto run = [&] {
    Result part;
    for (;;) {
      const std::uint64_t first = nextChunk.fetch_add(kChunk);
      if (first > kLastBits) break;
      work(first, std::min<std::uint64_t>(first + kChunk, kLastBits + 1ull),
           part);
    }
    const std::lock_guard<std::mutex> lock(merge);
    total.add(part);
  };
  std::thread helper(run);
  run();
  helper.join();
  return total;
}

// Every `stride`th float from the smallest denormal.
Tally checkEvery(std::uint32_t stride) {
  return inChunks<Tally>([stride](std::uint64_t first, std::uint64_t end,
                                  Tally& part) {
    const std::uint64_t skipped = (first - kFirstBits + stride - 1) / stride;
    std::vector<std::uint32_t> bits;
    for (std::uint64_t b = kFirstBits + skipped * stride; b < end;
         b += stride) {
      bits.push_back(static_cast<std::uint32_t>(b));
    }
    checkBatch(bits, part);
  });
}

struct CloseCalls {
  std::vector<std::uint32_t> bits;
  void add(const CloseCalls& other) {
    bits.insert(bits.end(), other.bits.begin(), other.bits.end());
  }
};

bool isCloseCall(std::uint32_t bits) {
  return nearFloatMidpoint(naturalLogEstimate(std::bit_cast<float>(bits)));
}

// As C++ for log_check_floats.h, in rising order.
void listCloseCalls() {
  CloseCalls found = inChunks<CloseCalls>(
      [](std::uint64_t first, std::uint64_t end, CloseCalls& part) {
        // The estimate of +inf means nothing.
        for (std::uint64_t b = first;
             b < std::min<std::uint64_t>(end, kLastBits); ++b) {
          if (isCloseCall(static_cast<std::uint32_t>(b))) {
            part.bits.push_back(static_cast<std::uint32_t>(b));
          }
        }
      });
  std::sort(found.bits.begin(), found.bits.end());
  for (std::size_t i = 0; i < found.bits.size(); ++i) {
    std::printf(i % 5 == 0 ? "    0x%08xu," : " 0x%08xu,", found.bits[i]);
    if (i % 5 == 4 || i + 1 == found.bits.size()) std::printf("\n");
  }
}

void printCount(const char* what, std::uint64_t count) {
  std::printf("%-41s%llu\n", what, static_cast<unsigned long long>(count));
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

// Checks every `stride`th float and the listed ones; returns the exit status.
int check(std::uint32_t stride) {
  if (!referenceIsWide()) {
    std::printf("long double is no wider than double here: nothing checked\n");
    return 77;
  }
  const auto start = std::chrono::steady_clock::now();
  Tally tally = checkEvery(stride);
  const std::span<const std::uint32_t> listed(kCloseCallFloats);
  if (stride > 1) {
    checkBatch(listed, tally);
    checkBatch(std::span(&kWorstEstimateFloat, 1), tally);
  }
  const auto closeCallsNoLonger = static_cast<std::uint64_t>(
      std::count_if(listed.begin(), listed.end(),
                    [](std::uint32_t bits) { return !isCloseCall(bits); }));
  // Every float checked, the close calls and the worst among them are known.
  const bool listComplete =
      stride > 1 || (tally.settledPrecisely == listed.size() &&
                     tally.worstEstimateBits == kWorstEstimateFloat);
  const std::chrono::duration<double> elapsed =
      std::chrono::steady_clock::now() - start;

  printCount("floats checked:", tally.checked);
  printCount("naturalLog mismatches:", tally.mismatches);
  printCount("settled by naturalLog's double-double:", tally.settledPrecisely);
  printCount("listed close calls no longer close:", closeCallsNoLonger);
  std::printf(
      "%-41s%.2f at 0x%08x (bound %.1f)\n",
      "estimate's worst error (double units):", tally.worstEstimateUnits,
      tally.worstEstimateBits, kEstimateErrorBound);
  printCount("too close to call for the reference:", tally.undecided);
  printCount("logf misrounded:", tally.logfWrong);
  printCount("(float)log(double) misrounded:", tally.viaDoubleWrong);
  std::printf("%-41s%.1f s\n", "time:", elapsed.count());
  printList("naturalLog mismatches", tally.mismatchList, "correct",
            "naturalLog");
  printList("too close to call for the reference", tally.undecidedList,
            "long double", "naturalLog");
  printList("(float)log(double) misrounded", tally.viaDoubleWrongList,
            "correct", "via double");

  const bool withinBound =
      tally.worstEstimateUnits <= kEstimateErrorBound + kReferenceErrorUnits;
  if (!withinBound) {
    std::printf("FAILED: the estimate errs by more than its bound\n");
  }
  const bool listCurrent = closeCallsNoLonger == 0 && listComplete;
  if (!listCurrent) {
    std::printf("FAILED: the floats of log_check_floats.h are out of date\n");
  }
  if (tally.mismatches != 0) std::printf("FAILED: misrounded floats\n");
  return withinBound && listCurrent && tally.mismatches == 0 ? 0 : 1;
}

int run(std::span<char*> arguments) {
  if (arguments.empty()) return check(1);
  const std::string_view option = arguments[0];
  if (arguments.size() == 1 && option == "--list-close-calls") {
    listCloseCalls();
    return 0;
  }
  std::uint32_t stride = 0;
  if (arguments.size() == 2 && option == "--every") {
    const std::string_view number = arguments[1];
    const auto [end, problem] =
        std::from_chars(number.data(), number.data() + number.size(), stride);
    if (problem == std::errc() && end == number.data() + number.size() &&
        stride > 0) {
      return check(stride);
    }
  }
  std::fprintf(stderr, "usage: log_check [--every N | --list-close-calls]\n");
  return 2;
}

}  // namespace
}  // namespace talvik

int main(int argc, char** argv) {
  return talvik::run(std::span<char*>(argv + 1, argv + argc));
}
