#ifndef TALVIK_SESSION_CONSOLE_FORMAT_TEXT_H_
#define TALVIK_SESSION_CONSOLE_FORMAT_TEXT_H_

#include <array>
#include <concepts>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string_view>
#include <type_traits>

namespace talvik {

// A format text such as "(' A = ',F7.3,' for ',I4,' settlements observed.')",
// parsed and checked against the kinds of its values at compile time, so that
// a wrong format does not compile.

namespace format_internal {

enum class ItemKind : std::uint8_t {
  kLiteral,
  kRecordBreak,
  kText,
  kWhole,
  kReal
};

struct Item {
  ItemKind kind = ItemKind::kLiteral;
  int width = 0;             // A, I and F
  int decimals = 0;          // F
  std::string_view literal;  // the characters between the quotes
};

inline constexpr int kMaxItems = 32;
inline constexpr int kMaxFieldWidth = 255;

enum class Problem {
  kNone,
  kMalformed,
  kTooManyItems,
  kTooFewValues,
  kTooManyValues,
  kValueOfWrongKind,
};

struct ParsedFormat {
  std::array<Item, kMaxItems> items{};
  int itemCount = 0;
  Problem problem = Problem::kNone;
};

// Reads a format text: "(" items ")", items separated by commas, where a "/"
// needs no comma on either side. Items: a literal in single quotes (a quote
// inside it is not supported), A<w>, I<w>, F<w>.<d> and "/".
class FormatParser {
 public:
  constexpr explicit FormatParser(std::string_view text) : text_(text) {}

  constexpr ParsedFormat parse() {
    ParsedFormat format;
    if (text_.size() < 2 || text_.front() != '(' || text_.back() != ')') {
      return malformed();
    }
    text_ = text_.substr(1, text_.size() - 2);
    enum class Previous { kStart, kItem, kRecordBreak, kComma };
    Previous previous = Previous::kStart;
    while (position_ < text_.size()) {
      Item item;
      if (text_[position_] == ',') {
        if (previous == Previous::kStart || previous == Previous::kComma) {
          return malformed();
        }
        ++position_;
        previous = Previous::kComma;
        continue;
      }
      if (text_[position_] == '/') {
        ++position_;
        item.kind = ItemKind::kRecordBreak;
        previous = Previous::kRecordBreak;
      } else {
        // Two items in a row need a comma between them.
        if (previous == Previous::kItem) return malformed();
        const std::optional<Item> next = literalOrField();
        if (!next) return malformed();
        item = *next;
        previous = Previous::kItem;
      }
      if (format.itemCount == kMaxItems) {
        format.problem = Problem::kTooManyItems;
        return format;
      }
      format.items[format.itemCount++] = item;
    }
    if (previous == Previous::kComma) return malformed();
    return format;
  }

 private:
  static constexpr ParsedFormat malformed() {
    ParsedFormat format;
    format.problem = Problem::kMalformed;
    return format;
  }

  constexpr std::optional<Item> literalOrField() {
    Item item;
    switch (text_[position_++]) {
      case '\'': {
        const std::size_t closing = text_.find('\'', position_);
        if (closing == std::string_view::npos) return std::nullopt;
        item.literal = text_.substr(position_, closing - position_);
        position_ = closing + 1;
        if (position_ < text_.size() && text_[position_] == '\'') {
          return std::nullopt;
        }
        return item;
      }
      case 'A':
        item.kind = ItemKind::kText;
        break;
      case 'I':
        item.kind = ItemKind::kWhole;
        break;
      case 'F':
        item.kind = ItemKind::kReal;
        break;
      default:
        return std::nullopt;
    }
    item.width = number();
    if (item.width < 1) return std::nullopt;
    if (item.kind == ItemKind::kReal) {
      if (position_ == text_.size() || text_[position_] != '.') {
        return std::nullopt;
      }
      ++position_;
      item.decimals = number();
      if (item.decimals < 0) return std::nullopt;
    }
    return item;
  }

  // The decimal number at the current position, or -1 when no digit stands
  // there or the number is larger than kMaxFieldWidth.
  constexpr int number() {
    int value = -1;
    while (position_ < text_.size() && text_[position_] >= '0' &&
           text_[position_] <= '9') {
      value = (value < 0 ? 0 : value * 10) + (text_[position_++] - '0');
      if (value > kMaxFieldWidth) return -1;
    }
    return value;
  }

  std::string_view text_;
  std::size_t position_ = 0;
};

// The item kind that takes a value of type T: I takes int, F takes float and
// A takes text; any other type (double, long, char, ...) is taken by none.
template <typename T>
constexpr std::optional<ItemKind> itemKindFor() {
  using Value = std::remove_cv_t<T>;
  if constexpr (std::same_as<Value, int>) {
    return ItemKind::kWhole;
  } else if constexpr (std::same_as<Value, float>) {
    return ItemKind::kReal;
  } else if constexpr (std::convertible_to<const Value&, std::string_view>) {
    return ItemKind::kText;
  } else {
    return std::nullopt;
  }
}

template <typename... Values>
constexpr ParsedFormat checkFormat(std::string_view text) {
  ParsedFormat format = FormatParser(text).parse();
  if (format.problem != Problem::kNone) return format;
  constexpr std::array<std::optional<ItemKind>, sizeof...(Values)> kValueKinds{
      itemKindFor<Values>()...};
  std::size_t next = 0;
  for (int i = 0; i < format.itemCount; ++i) {
    const ItemKind kind = format.items[i].kind;
    if (kind == ItemKind::kLiteral || kind == ItemKind::kRecordBreak) continue;
    if (next == kValueKinds.size()) {
      format.problem = Problem::kTooFewValues;
      return format;
    }
    if (kValueKinds[next++] != kind) {
      format.problem = Problem::kValueOfWrongKind;
      return format;
    }
  }
  if (next != kValueKinds.size()) format.problem = Problem::kTooManyValues;
  return format;
}

// Deliberately not constexpr and never defined: a format text that fails its
// compile-time check calls one of these, and the compiler's error names it.
void formatTextIsMalformed();
void formatTextHasMoreThan32Items();
void formatTextHasMoreDataItemsThanValues();
void formatTextHasFewerDataItemsThanValues();
void valueKindDoesNotMatchItsItem();

consteval void rejectProblem(Problem problem) {
  switch (problem) {
    case Problem::kNone:
      return;
    case Problem::kMalformed:
      formatTextIsMalformed();
      return;
    case Problem::kTooManyItems:
      formatTextHasMoreThan32Items();
      return;
    case Problem::kTooFewValues:
      formatTextHasMoreDataItemsThanValues();
      return;
    case Problem::kTooManyValues:
      formatTextHasFewerDataItemsThanValues();
      return;
    case Problem::kValueOfWrongKind:
      valueKindDoesNotMatchItsItem();
      return;
  }
}

}  // namespace format_internal

// Whether the format text is well formed and takes values of these types, in
// this order, for its data items.
template <typename... Values>
constexpr bool formatAccepts(std::string_view text) {
  return format_internal::checkFormat<Values...>(text).problem ==
         format_internal::Problem::kNone;
}

// A format text checked at compile time against the kinds of the values
// written with it, and parsed there into its items.
template <typename... Values>
class FormatText {
 public:
  // Implicit, so that a call names its format as a plain string literal.
  template <typename Text>
  requires std::convertible_to<const Text&, std::string_view>
  consteval FormatText(const Text& text)
      : format_(format_internal::checkFormat<Values...>(text)) {
    format_internal::rejectProblem(format_.problem);
  }

  std::span<const format_internal::Item> items() const {
    return {format_.items.data(), static_cast<std::size_t>(format_.itemCount)};
  }

 private:
  format_internal::ParsedFormat format_;
};

}  // namespace talvik

#endif  // TALVIK_SESSION_CONSOLE_FORMAT_TEXT_H_
