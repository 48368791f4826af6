#ifndef TALVIK_SESSION_CONSOLE_CONSOLE_READER_H_
#define TALVIK_SESSION_CONSOLE_CONSOLE_READER_H_

#include <cstdint>
#include <istream>
#include <optional>
#include <string>

namespace talvik {

// A typed answer for a read whose caller handles its failures.
template <typename T>
struct Answer {
  enum class Kind { kValue, kUnreadable, kEndOfInput };
  Kind kind = Kind::kEndOfInput;
  T value{};
};

// Reads typed answers, one line per read, under fixed-width fields. Carriage
// returns are dropped and tabs expanded to 8-column stops before the field is
// cut; characters beyond the field are ignored.
class ConsoleReader {
 public:
  explicit ConsoleReader(std::istream& keyboard) : keyboard_(keyboard) {}

  // Text field of `width` columns (1 or 12), blank-padded, nothing trimmed.
  // Throws Fault at the end of input.
  std::string readText(int width);

  // Real field of 7 columns (the seed). Its caller handles both failures.
  Answer<double> readReal();

  // Whole-number field of 10 columns (the level). The value is not limited to
  // 32 bits: ten digits that overflow an int are returned as they are, for
  // the caller to refuse as out of range. Throws Fault on an unreadable
  // answer or at the end of input.
  std::int64_t readWhole();

 private:
  std::istream& keyboard_;
};

}  // namespace talvik

#endif  // TALVIK_SESSION_CONSOLE_CONSOLE_READER_H_
