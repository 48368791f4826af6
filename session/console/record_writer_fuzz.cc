// Fuzzes field editing and record building on random values and widths.
//
// The first input byte chooses what is edited: an F field (above all F7.3 and
// F15.4), an I field, an A field, a format text parsed at run time, or the
// program's own formats. Every field must be exactly w characters; an F field
// must equal the one derived from the value's exact decimal expansion
// (real_field_testutil.h) and, unless it is asterisks, lie within half a
// unit of its last decimal plus the cut to 8 significant digits.

#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <limits>
#include <span>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "session/console/collected_records_testutil.h"
#include "session/console/real_field.h"
#include "session/console/real_field_testutil.h"
#include "session/console/record_destination.h"
#include "session/console/record_writer.h"

namespace talvik {
namespace {

void check(bool holds, const char* what) {
  if (holds) return;
  std::fprintf(stderr, "record_writer_fuzz: %s\n", what);
  std::abort();
}

// Blanks, an optional "-", then "NaN", "INF" or digits, a point and exactly
// `decimals` digits; or all asterisks.
bool wellFormedReal(std::string_view field, int decimals) {
  if (field.find_first_not_of('*') == std::string_view::npos) return true;
  field.remove_prefix(std::min(field.find_first_not_of(' '), field.size()));
  if (!field.empty() && field.front() == '-') field.remove_prefix(1);
  if (field == "NaN" || field == "INF") return true;
  const std::size_t point = field.find('.');
  if (point == std::string_view::npos) return false;
  const std::string_view integer = field.substr(0, point);
  const std::string_view fraction = field.substr(point + 1);
  const auto digitsOnly = [](std::string_view part) {
    return part.find_first_not_of("0123456789") == std::string_view::npos;
  };
  return digitsOnly(integer) && digitsOnly(fraction) &&
         fraction.size() == static_cast<std::size_t>(decimals);
}

// Independently of the derivation above: cutting to 8 significant digits
// loses less than one unit of the 8th, and rounding adds at most half a unit
// of the last decimal (or, when the 8th digit rounds into the 7th, at most
// half a unit of the 7th). So the field lies within half a unit of its last
// decimal plus one unit of the 7th significant digit.
void checkRealCloseToValue(const std::string& field, float value,
                           int decimals) {
  if (field.front() == '*' || !std::isfinite(value) || value == 0.0f) return;
  const double shown = std::strtod(field.c_str(), nullptr);
  const double exact = value;
  const int before = exactDigits(std::fabs(value)).before;
  const double bound =
      0.5 * std::pow(10.0, -decimals) + std::pow(10.0, before - 7);
  check(std::fabs(shown - exact) <= bound * (1.0 + 1e-9),
        "F field too far from its value");
}

void checkReal(float value, int width, int decimals) {
  const std::string field = editReal(value, width, decimals);
  check(field.size() == static_cast<std::size_t>(width), "F field width");
  check(wellFormedReal(field, decimals), "F field malformed");
  check(field == expectedReal(value, width, decimals),
        "F field differs from the exact derivation");
  checkRealCloseToValue(field, value, decimals);
}

float fuzzedFloat(FuzzedDataProvider& input) {
  switch (input.ConsumeIntegralInRange(0, 2)) {
    case 0:
      return std::bit_cast<float>(input.ConsumeIntegral<std::uint32_t>());
    case 1: {
      // Short decimals, whose float lies just beside a rounding boundary.
      const float whole = static_cast<float>(input.ConsumeIntegral<int>());
      return whole / std::pow(10.0f, input.ConsumeIntegralInRange(0, 12));
    }
    default: {
      float value =
          static_cast<float>(input.ConsumeIntegralInRange(-1000, 1000)) /
          std::pow(10.0f, input.ConsumeIntegralInRange(0, 8));
      const float infinity = std::numeric_limits<float>::infinity();
      const float towards = input.ConsumeBool() ? infinity : -infinity;
      for (int steps = input.ConsumeIntegralInRange(0, 3); steps > 0; --steps) {
        value = std::nextafter(value, towards);
      }
      return value;
    }
  }
}

int fuzzedWidth(FuzzedDataProvider& input) {
  return input.ConsumeIntegralInRange(1, format_internal::kMaxFieldWidth);
}

void fuzzReal(FuzzedDataProvider& input) {
  int width = 7;
  int decimals = 3;
  switch (input.ConsumeIntegralInRange(0, 3)) {
    case 0:
      break;
    case 1:
      width = 15;
      decimals = 4;
      break;
    case 2:
      width = input.ConsumeIntegralInRange(1, 20);
      decimals = input.ConsumeIntegralInRange(0, 10);
      break;
    default:
      width = fuzzedWidth(input);
      decimals =
          input.ConsumeIntegralInRange(0, format_internal::kMaxFieldWidth);
      break;
  }
  checkReal(fuzzedFloat(input), width, decimals);
}

void fuzzWhole(FuzzedDataProvider& input) {
  const int width =
      input.ConsumeBool() ? input.PickValueInArray({2, 4}) : fuzzedWidth(input);
  const int value = input.ConsumeIntegral<int>();
  const std::string field = editWhole(value, width);
  check(field == rightAlignedOrAsterisks(std::to_string(value), width),
        "I field differs");
}

void fuzzText(FuzzedDataProvider& input) {
  const int width = input.ConsumeBool() ? 12 : fuzzedWidth(input);
  const std::string text = input.ConsumeRandomLengthString(300);
  const std::string field = editText(text, width);
  const std::string cut = text.substr(0, width);
  check(field == std::string(width - cut.size(), ' ') + cut, "A field differs");
}

// Each record is its items' characters, each data item exactly its width,
// and CR LF; one record per "/" and one more.
void checkRecords(std::span<const format_internal::Item> items,
                  std::span<const format_internal::Value> values,
                  const CollectedRecords& written) {
  using format_internal::ItemKind;
  std::string expected;
  std::vector<std::string> records;
  std::size_t next = 0;
  for (const format_internal::Item& item : items) {
    switch (item.kind) {
      case ItemKind::kLiteral:
        expected += item.literal;
        break;
      case ItemKind::kRecordBreak:
        records.push_back(expected + "\r\n");
        expected.clear();
        break;
      case ItemKind::kText: {
        const std::string_view text =
            std::get<std::string_view>(values[next++]);
        const std::string_view cut = text.substr(0, item.width);
        expected += std::string(item.width - cut.size(), ' ');
        expected += cut;
        break;
      }
      case ItemKind::kWhole:
        expected += rightAlignedOrAsterisks(
            std::to_string(std::get<int>(values[next++])), item.width);
        break;
      case ItemKind::kReal:
        expected += expectedReal(std::get<float>(values[next++]), item.width,
                                 item.decimals);
        break;
    }
  }
  records.push_back(expected + "\r\n");
  check(written.records == records, "records differ");
}

void fuzzFormat(FuzzedDataProvider& input) {
  using format_internal::ItemKind;
  const std::string text = input.ConsumeRandomLengthString(160);
  const format_internal::ParsedFormat format =
      format_internal::FormatParser(text).parse();
  if (format.problem != format_internal::Problem::kNone) return;
  const std::span<const format_internal::Item> items(format.items.data(),
                                                     format.itemCount);
  std::vector<std::string> texts;
  texts.reserve(items.size());
  std::vector<format_internal::Value> values;
  for (const format_internal::Item& item : items) {
    if (item.kind == ItemKind::kText) {
      texts.push_back(input.ConsumeRandomLengthString(20));
      values.emplace_back(std::string_view(texts.back()));
    } else if (item.kind == ItemKind::kWhole) {
      values.emplace_back(input.ConsumeIntegral<int>());
    } else if (item.kind == ItemKind::kReal) {
      values.emplace_back(fuzzedFloat(input));
    }
  }
  CollectedRecords written;
  format_internal::writeItems(written, items, values);
  checkRecords(items, values, written);
}

// The program's own formats with any values: fixed record lengths.
void fuzzProgramFormats(FuzzedDataProvider& input) {
  CollectedRecords written;
  const float a = fuzzedFloat(input);
  const int count = input.ConsumeIntegral<int>();
  writeRecords(written, "(' A = ',F7.3,' for ',I4,' settlements observed.')", a,
               count);
  writeRecords(written,
               "(I4,'% Confidence:',F7.3,' to',F7.3,'   (Range=',F7.3,')')",
               input.ConsumeIntegral<int>(), fuzzedFloat(input),
               fuzzedFloat(input), fuzzedFloat(input));
  writeRecords(written, "(I4,',',F15.4,',',F15.4,',',F15.4,',',F15.4)",
               input.ConsumeIntegral<int>(), fuzzedFloat(input),
               fuzzedFloat(input), fuzzedFloat(input), fuzzedFloat(input));
  const std::string name = input.ConsumeRandomLengthString(12);
  writeRecords(written, "(' Results have been written to the file:',A12)",
               name);
  const std::size_t lengths[] = {45, 54, 70, 53};
  check(written.records.size() == std::size(lengths), "record count");
  for (std::size_t k = 0; k < written.records.size(); ++k) {
    check(written.records[k].size() == lengths[k], "record length");
    check(written.records[k].ends_with("\r\n"), "record end");
  }
}

}  // namespace
}  // namespace talvik

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data,
                                      std::size_t size) {
  FuzzedDataProvider input(data, size);
  switch (input.ConsumeIntegralInRange(0, 4)) {
    case 0:
      talvik::fuzzReal(input);
      break;
    case 1:
      talvik::fuzzWhole(input);
      break;
    case 2:
      talvik::fuzzText(input);
      break;
    case 3:
      talvik::fuzzFormat(input);
      break;
    default:
      talvik::fuzzProgramFormats(input);
      break;
  }
  return 0;
}
