// Fuzzes the gathering of a size file's sizes (--positive-only, --largest,
// --strict) against a reference that reads every value first and decides
// afterwards: which sizes are left out, which the cut keeps, which doubtful
// lines are warned about and which are only counted with the sizes cut.
//
// Input: one header byte, then the size file. Bit 0 is --largest, bit 1
// --positive-only, bit 2 --strict.

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "analysis/byte_source.h"
#include "analysis/observed_sizes.h"
#include "analysis/size_file.h"
#include "batch/input_sizes.h"

namespace talvik {
namespace {

void check(bool holds, const char* what) {
  if (holds) return;
  std::fprintf(stderr, "input_sizes_fuzz: %s\n", what);
  std::abort();
}

// Small chunks, so that values and line ends straddle them.
class TextSource : public ByteSource {
 public:
  explicit TextSource(std::string_view text) : text_(text) {}

  std::optional<std::size_t> read(char* buffer, std::size_t capacity) override {
    const std::size_t count =
        std::min({capacity, text_.size(), std::size_t{7}});
    std::memcpy(buffer, text_.data(), count);
    text_.remove_prefix(count);
    return count;
  }

 private:
  std::string_view text_;
};

struct Value {
  float size = 0.0f;
  std::int64_t line = 0;
};

struct Doubt {
  std::int64_t line = 0;
  bool notPositive = false;
};

// Every value and doubt of the file, as the size-file rules read them.
struct Reference {
  bool readError = false;
  std::vector<Value> values;
  std::vector<Doubt> doubts;
};

Reference readReference(std::string_view text) {
  Reference reference;
  TextSource source(text);
  const SizeFileReading reading = readEverySettlementSize(
      source,
      [&](const SizeFileValue& value) {
        if (!value.word && value.size == std::numeric_limits<float>::infinity())
          reference.doubts.push_back({value.line, false});
        reference.values.push_back({value.size, value.line});
        return true;
      },
      [&](const SizeFileDoubt& doubt) {
        reference.doubts.push_back(
            {doubt.line, doubt.kind == SizeFileDoubt::Kind::kNotPositive});
      });
  reference.readError = reading.ending == SizeFileReading::Ending::kReadError;
  return reference;
}

bool hasLogarithm(float size) { return size > 0.0f && std::isfinite(size); }

bool looksLikeTotalRow(const std::vector<Value>& values) {
  std::int64_t positives = 0;
  double sum = 0.0;
  float largest = 0.0f;
  for (const Value& value : values) {
    if (!hasLogarithm(value.size)) continue;
    ++positives;
    sum += value.size;
    largest = std::max(largest, value.size);
  }
  const double others = sum - largest;
  return positives > 5 && std::abs(largest - others) <= 0.005 * others;
}

void checkFile(std::string_view text, const SizeReadingRules& rules) {
  const Reference reference = readReference(text);
  TextSource source(text);
  const InputSizes input = readInputSizes(source, rules);
  check(input.observed.size() <= kMaxSettlements, "more than 1000 analysed");
  check(input.errors.size() <= kKeptFileMessages, "too many errors kept");
  if (reference.readError) {
    check(!input.errors.empty() && input.observed.empty(),
          "a read error not refused");
    return;
  }
  std::vector<std::size_t> analysed;  // indices of the values not left out
  UnusableSizes unusable;
  for (std::size_t i = 0; i < reference.values.size(); ++i) {
    const float size = reference.values[i].size;
    if (std::isnan(size)) {
      ++unusable.notANumber;
    } else if (size == 0.0f) {
      ++unusable.zero;
    } else if (size < 0.0f) {
      ++unusable.negative;
    } else if (!hasLogarithm(size)) {
      ++unusable.infinite;
    }
    if (!rules.positiveOnly || hasLogarithm(size)) analysed.push_back(i);
  }
  if (!rules.largest && analysed.size() > kMaxSettlements) {
    check(!input.errors.empty(), "more than 1000 sizes not refused");
    return;
  }
  const auto count = [](std::size_t n) { return static_cast<std::int64_t>(n); };
  check(input.sizesRead == count(reference.values.size()), "sizes read");
  check(input.unusable.zero == unusable.zero &&
            input.unusable.negative == unusable.negative &&
            input.unusable.notANumber == unusable.notANumber &&
            input.unusable.infinite == unusable.infinite,
        "unusable sizes miscounted");
  const std::int64_t leftOut =
      count(reference.values.size()) - count(analysed.size());
  check(input.leftOut == leftOut, "left out");
  if (analysed.empty()) {
    check(!input.errors.empty() && input.observed.empty(),
          "a file without sizes not refused");
    return;
  }
  std::int64_t relevant = 0;
  for (const Doubt& doubt : reference.doubts) {
    relevant += rules.positiveOnly && doubt.notPositive ? 0 : 1;
  }
  const bool totalRow = looksLikeTotalRow(reference.values);
  if (rules.strict) {
    const std::int64_t errors = count(input.errors.size()) + input.unkeptErrors;
    check(errors == (relevant > 0 ? relevant
                     : totalRow   ? 1
                                  : 0),
          "strict errors miscounted");
    if (errors > 0) return;
  }
  check(input.errors.empty(), "an error without cause");

  std::vector<float> sizes;
  for (const std::size_t i : analysed)
    sizes.push_back(reference.values[i].size);
  ObservedSizes expected = orderLargestFirst(sizes);
  if (expected.size() > kMaxSettlements) expected.resize(kMaxSettlements);
  check(expected.size() == input.observed.size() &&
            std::memcmp(expected.data(), input.observed.data(),
                        expected.size() * sizeof(float)) == 0,
        "analysed sizes differ");
  if (rules.strict) return;
  if (std::any_of(sizes.begin(), sizes.end(),
                  [](float size) { return std::isnan(size); })) {
    return;
  }

  // The values the cut keeps: the first 1000 in the analysis's order.
  std::vector<std::size_t> order = analysed;
  std::stable_sort(order.begin(), order.end(),
                   [&](std::size_t a, std::size_t b) {
                     return orderedSize(reference.values[a].size) >
                            orderedSize(reference.values[b].size);
                   });
  std::set<std::size_t> cut(
      order.begin() + std::min<std::size_t>(order.size(), kMaxSettlements),
      order.end());
  std::int64_t staying = 0;
  std::set<std::size_t> cutWithDoubts;
  for (const Doubt& doubt : reference.doubts) {
    if (rules.positiveOnly && doubt.notPositive) continue;
    // A doubt goes with the first value on its line or after it.
    std::size_t value = 0;
    while (value < reference.values.size() &&
           reference.values[value].line < doubt.line) {
      ++value;
    }
    if (cut.count(value) > 0) {
      cutWithDoubts.insert(value);
    } else {
      ++staying;
    }
  }
  const std::size_t summaries = (totalRow ? 1 : 0) + (leftOut > 0 ? 1 : 0) +
                                (analysed.size() > kMaxSettlements ? 1 : 0) +
                                (cutWithDoubts.empty() ? 0 : 1);
  check(input.warnings.size() >= summaries, "summaries missing");
  const std::int64_t shown = count(input.warnings.size() - summaries);
  check(shown == std::min<std::int64_t>(staying, kKeptFileMessages),
        "doubtful lines shown");
  check(shown + input.unkeptWarnings == staying, "doubtful lines counted");
  for (std::size_t i = summaries + 1; i < input.warnings.size(); ++i) {
    check(input.warnings[i - 1].line <= input.warnings[i].line,
          "warnings out of line order");
  }
  if (!cutWithDoubts.empty()) {
    const std::string start =
        "warnings about " + std::to_string(cutWithDoubts.size()) + " line";
    check(input.warnings[summaries - 1].text.starts_with(start),
          "lines cut miscounted");
  }
}

}  // namespace
}  // namespace talvik

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data,
                                      std::size_t size) {
  if (size < 1) return 0;
  talvik::SizeReadingRules rules;
  rules.largest = (data[0] & 1u) != 0;
  rules.positiveOnly = (data[0] & 2u) != 0;
  rules.strict = (data[0] & 4u) != 0;
  talvik::checkFile(
      std::string_view(reinterpret_cast<const char*>(data) + 1, size - 1),
      rules);
  return 0;
}
