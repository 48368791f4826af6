#include "session/console/record_writer.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cstddef>
#include <string>

#include "session/console/field_fill.h"
#include "session/console/real_field.h"

namespace talvik {
namespace {

using format_internal::putRightAligned;

char* putText(char* field, std::string_view text, int width) {
  return putRightAligned(field, text.substr(0, width), width);
}

char* putWhole(char* field, int value, int width) {
  std::array<char, 12> digits;  // "-2147483648"
  const char* end =
      std::to_chars(digits.data(), digits.data() + digits.size(), value).ptr;
  return putRightAligned(
      field, std::string_view(digits.data(), end - digits.data()), width);
}

std::string blankField(int width) {
  return std::string(static_cast<std::size_t>(width), ' ');
}

}  // namespace

std::string editText(std::string_view text, int width) {
  std::string field = blankField(width);
  putText(field.data(), text, width);
  return field;
}

std::string editWhole(int value, int width) {
  std::string field = blankField(width);
  putWhole(field.data(), value, width);
  return field;
}

namespace format_internal {

void writeItems(RecordDestination& destination, std::span<const Item> items,
                std::span<const Value> values) {
  // Every record of the program's own formats fits on the stack; a longer
  // one is built on the heap.
  std::array<char, 256> shortRecord;
  std::string longRecord;
  char* record = nullptr;
  char* end = nullptr;  // where the next item goes
  // Each field is exactly its width, so the record's length is known before
  // it is built.
  const auto startRecord = [&](std::span<const Item> rest) {
    std::size_t length = 2;  // CR LF
    for (const Item& item : rest) {
      if (item.kind == ItemKind::kRecordBreak) break;
      length += item.kind == ItemKind::kLiteral
                    ? item.literal.size()
                    : static_cast<std::size_t>(item.width);
    }
    if (length <= shortRecord.size()) {
      record = shortRecord.data();
    } else {
      longRecord.resize(length);
      record = longRecord.data();
    }
    end = record;
  };
  const auto endRecord = [&] {
    *end++ = '\r';
    *end++ = '\n';
    destination.putRecord(std::string_view(record, end - record));
  };

  startRecord(items);
  std::size_t next = 0;
  for (std::size_t k = 0; k < items.size(); ++k) {
    const Item& item = items[k];
    switch (item.kind) {
      case ItemKind::kLiteral:
        end = std::copy(item.literal.begin(), item.literal.end(), end);
        break;
      case ItemKind::kRecordBreak:
        endRecord();
        startRecord(items.subspan(k + 1));
        break;
      case ItemKind::kText:
        end = putText(end, std::get<std::string_view>(values[next++]),
                      item.width);
        break;
      case ItemKind::kWhole:
        end = putWhole(end, std::get<int>(values[next++]), item.width);
        break;
      case ItemKind::kReal:
        end = putReal(end, std::get<float>(values[next++]), item.width,
                      item.decimals);
        break;
    }
  }
  endRecord();
}

}  // namespace format_internal
}  // namespace talvik
