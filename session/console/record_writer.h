#ifndef TALVIK_SESSION_CONSOLE_RECORD_WRITER_H_
#define TALVIK_SESSION_CONSOLE_RECORD_WRITER_H_

#include <array>
#include <span>
#include <string>
#include <string_view>
#include <type_traits>
#include <variant>

#include "session/console/format_text.h"
#include "session/console/record_destination.h"

namespace talvik {

// Field editing, F fields in real_field.h. Every result is exactly `width`
// characters; a value too wide for its field gives `width` asterisks (I) or is
// cut (A).

// A<w>: blanks on the left, or the first `width` characters of a longer text.
// REQUIRES: width >= 1
std::string editText(std::string_view text, int width);

// I<w>: the decimal digits, "-" before a negative value, right-aligned.
// REQUIRES: width >= 1
std::string editWhole(int value, int width);

namespace format_internal {

using Value = std::variant<int, float, std::string_view>;

template <typename T>
Value toValue(const T& value) {
  if constexpr (itemKindFor<T>() == ItemKind::kText) {
    return std::string_view(value);
  } else {
    return value;
  }
}

// Builds the records of `items` with `values`, whose kinds have been checked
// against the items, and hands each one to `destination`.
void writeItems(RecordDestination& destination, std::span<const Item> items,
                std::span<const Value> values);

}  // namespace format_internal

// Writes the records of one format text with the given values: each "/" and
// the end of the format end a record, with CR LF, and hand it to
// `destination`. I takes int, F takes float and A takes text.
//   writeRecords(screen, "(' A = ',F7.3,' for ',I4,' settlements observed.')",
//                observedA, settlementCount);
template <typename... Values>
void writeRecords(RecordDestination& destination,
                  const FormatText<std::type_identity_t<Values>...>& format,
                  const Values&... values) {
  const std::array<format_internal::Value, sizeof...(Values)> fieldValues{
      format_internal::toValue(values)...};
  format_internal::writeItems(destination, format.items(), fieldValues);
}

}  // namespace talvik

#endif  // TALVIK_SESSION_CONSOLE_RECORD_WRITER_H_
