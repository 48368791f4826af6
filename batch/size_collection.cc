#include "batch/size_collection.h"

#include <cmath>
#include <cstddef>
#include <utility>
#include <vector>

#include "analysis/observed_sizes.h"

namespace talvik {
namespace {

constexpr char kTooManySizes[] =
    "more than 1000 sizes (--largest analyses the largest 1000)";

// How near the sum of the other sizes the largest must be to look like their
// total: spreadsheets round the total row as they round the others.
constexpr double kTotalTolerance = 0.005;
// Among a handful of sizes one is the sum of the others by chance too often,
// and a total row there is plain to see.
constexpr std::int64_t kTotalRowOthers = 5;

// A doubtful line is a warning, or with --strict an error. Only a file's first
// kKeptFileMessages of each are kept, their text made only then; the rest
// are counted.
template <typename MakeText>
void addDoubt(InputSizes& input, std::int64_t line, bool strict,
              MakeText makeText) {
  std::vector<FileMessage>& kept = strict ? input.errors : input.warnings;
  if (kept.size() < kKeptFileMessages) {
    kept.push_back({line, makeText()});
  } else {
    ++(strict ? input.unkeptErrors : input.unkeptWarnings);
  }
}

// "3 sizes" or "1 size".
std::string sizesText(std::int64_t count) {
  return std::to_string(count) + (count == 1 ? " size" : " sizes");
}

// "2 of 0, 1 not a number": the sizes without a logarithm by kind.
std::string kindsText(const UnusableSizes& unusable) {
  std::string text;
  const auto add = [&text](std::int64_t count, const char* kind) {
    if (count == 0) return;
    if (!text.empty()) text += ", ";
    text += std::to_string(count) + kind;
  };
  add(unusable.zero, " of 0");
  add(unusable.negative, " below 0");
  add(unusable.notANumber, " not a number");
  add(unusable.infinite, " infinite");
  return text;
}

}  // namespace

SizeCollection::SizeCollection(const SizeReadingRules& rules)
    : rules_(rules),
      // Without --largest a 1001st size is enough to refuse the file.
      sizes_(rules.largest ? kMaxSettlements : kMaxSettlements + 1),
      doubts_(rules.largest ? kMaxSettlements : 0, kKeptFileMessages) {}

void SizeCollection::doubt(const LineDoubt& doubt) {
  // The left-out sizes are summed up once for the file.
  if (rules_.positiveOnly && doubt.kind == SizeFileDoubt::Kind::kNotPositive) {
    return;
  }
  if (rules_.strict) {
    addDoubt(input_, doubt.line, true,
             [&] { return doubtMessage(doubt, rules_.positiveOnly); });
    return;
  }
  doubts_.add(doubt);
}

bool SizeCollection::add(float size, std::int64_t line) {
  ++input_.sizesRead;
  UnusableSizes& unusable = input_.unusable;
  const bool hasLogarithm = size > 0.0f && std::isfinite(size);
  if (std::isnan(size)) {
    ++unusable.notANumber;
  } else if (size == 0.0f) {
    ++unusable.zero;
  } else if (size < 0.0f) {
    ++unusable.negative;
  } else if (!hasLogarithm) {
    ++unusable.infinite;
  }
  if (hasLogarithm) {
    ++positives_;
    sum_ += size;
    if (size > largest_) {
      largest_ = size;
      largestLine_ = line;
    }
  }
  if (rules_.positiveOnly && !hasLogarithm) {
    ++input_.leftOut;
    doubts_.keep(line);
    return true;
  }
  // A not-a-number makes the order of the sizes depend on every position.
  if (std::isnan(size)) doubts_.stopCutting();
  sizes_.add(size);
  if (!rules_.largest && sizes_.count() > kMaxSettlements) {
    error(line, kTooManySizes);
    return false;
  }
  doubts_.take(line, size);
  return true;
}

// No size goes with the line, so no cut can make its warning pointless.
void SizeCollection::missing(std::int64_t line, std::string text) {
  doubt({line, std::nullopt, std::move(text)});
  if (!rules_.strict) doubts_.keep(line);
}

void SizeCollection::fileWarning(std::string text) {
  fileWarnings_.push_back(std::move(text));
}

void SizeCollection::error(std::int64_t line, std::string text) {
  addDoubt(input_, line, true, [&text] { return std::move(text); });
}

InputSizes SizeCollection::finish() {
  const std::vector<LineDoubt> shown = doubts_.finish();
  for (std::string& text : fileWarnings_) {
    input_.warnings.push_back({0, std::move(text)});
  }
  if (input_.errors.empty()) {
    if (input_.sizesRead == 0) {
      error(0, "no sizes in the file");
    } else if (input_.leftOut == input_.sizesRead) {
      error(0,
            std::string("no sizes left: ") +
                (input_.sizesRead == 1
                     ? "the 1 size read was"
                     : "all " + sizesText(input_.sizesRead) + " read were") +
                " left out (--positive-only): " + kindsText(input_.unusable));
    } else {
      addSummaries();
    }
  }
  for (const LineDoubt& doubt : shown) {
    input_.warnings.push_back(
        {doubt.line, doubtMessage(doubt, rules_.positiveOnly)});
  }
  input_.unkeptWarnings += doubts_.unshown();
  if (input_.errors.empty()) {
    input_.observed = sizes_.ordered();
  }
  return std::move(input_);
}

// Said of the file as a whole, before its lines' warnings, so that however
// many those are, these are never among the uncounted ones.
void SizeCollection::addSummaries() {
  checkTotalRow();
  if (input_.leftOut > 0) {
    input_.warnings.push_back(
        {0, sizesText(input_.leftOut) +
                " left out (--positive-only): " + kindsText(input_.unusable)});
  }
  const std::int64_t analysable = input_.sizesRead - input_.leftOut;
  if (analysable > kMaxSettlements) {
    std::string text = sizesText(input_.sizesRead) + " read";
    if (input_.leftOut > 0) {
      text += ", " + std::to_string(input_.leftOut) +
              " left out: the largest 1000 of the other " +
              std::to_string(analysable);
    } else {
      text += ": the largest 1000";
    }
    input_.warnings.push_back({0, text + " analysed (--largest)"});
  }
  if (const std::int64_t cut = doubts_.cutLines(); cut > 0) {
    std::string text = "warnings about ";
    text += cut == 1 ? "1 line" : std::to_string(cut) + " lines";
    text += " not shown (";
    text += cut == 1 ? "line " : "the first: line ";
    text += std::to_string(doubts_.firstCutLine());
    text += cut == 1 ? "): its size is" : "): their sizes are";
    text += " not among the largest 1000 analysed (--largest)";
    input_.warnings.push_back({0, std::move(text)});
  }
}

// A spreadsheet's sum under its column, exported with the rest, would be
// analysed as the largest settlement.
void SizeCollection::checkTotalRow() {
  if (positives_ <= kTotalRowOthers) return;
  const double others = sum_ - largest_;
  if (std::abs(largest_ - others) > kTotalTolerance * others) return;
  addDoubt(input_, largestLine_, rules_.strict, [] {
    return std::string(
        "the largest size equals the sum of all the others (within 0.5 %): "
        "a total row, not a settlement?");
  });
}

}  // namespace talvik
