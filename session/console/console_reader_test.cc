#include "session/console/console_reader.h"

#include <cmath>
#include <limits>
#include <sstream>
#include <string>
#include <tuple>
#include <vector>

#include "gtest/gtest.h"
#include "session/console/fault.h"
#include "session/console/fault_testutil.h"

namespace talvik {
namespace {

using Kind = Answer<double>::Kind;

const FaultFields kPastEndFault{
    "Run-time Error:", "Attempt to read past end of file",
    "Reading from the keyboard"};
const FaultFields kIllegalCharacterFault{
    "Run-time Error:", "Illegal character in numeric input",
    "Reading from the keyboard"};

std::string readText(const std::string& typed, int width) {
  std::istringstream keyboard(typed);
  return ConsoleReader(keyboard).readText(width);
}

TEST(ConsoleReaderText, CutsAndPadsTheLineToTheFieldWidth) {
  const struct {
    std::string typed;
    int width;
    std::string expected;
  } cases[] = {
      {"settlements.dat\n", 12, "settlements."},  // 15 characters
      {"sizes.txt\n", 12, "sizes.txt   "},
      {"  sizes.txt\n", 12, "  sizes.txt "},
      {"my sizes\n", 12, "my sizes    "},
      {"a,b;c\n", 12, "a,b;c       "},
      {"yes\n", 1, "y"},
      {"Yes\n", 1, "Y"},
      {" y\n", 1, " "},
      {"\n", 1, " "},
      {"\n", 12, "            "},
      {"sizes\r\n", 12, "sizes       "},
      {"si\rzes\r\n", 12, "sizes       "},
      {"\r\n", 1, " "},
      {"a\tb\n", 12, "a       b   "},
      {"\tsizes\n", 12, "        size"},
      {"abcdefgh\tb\n", 12, "abcdefgh    "},
      {"abcdefg\tb\n", 12, "abcdefg b   "},
      {"\ty\n", 1, " "},
      {"last", 12, "last        "},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(readText(c.typed, c.width), c.expected)
        << "typed: \"" << c.typed << "\"";
  }
}

TEST(ConsoleReaderText, EachReadConsumesExactlyOneLine) {
  std::istringstream keyboard("yes, please\n  results.txt\r\n\nlast");
  ConsoleReader reader(keyboard);
  EXPECT_EQ(reader.readText(1), "y");
  EXPECT_EQ(reader.readText(12), "  results.tx");
  EXPECT_EQ(reader.readText(12), "            ");
  EXPECT_EQ(reader.readText(1), "l");
  EXPECT_EQ(faultFrom([&] { reader.readText(1); }), kPastEndFault);
}

TEST(ConsoleReaderText, EndOfInputIsAFault) {
  std::istringstream keyboard("");
  ConsoleReader reader(keyboard);
  EXPECT_EQ(faultFrom([&] { reader.readText(12); }), kPastEndFault);
}

// Produces one line of `length` characters, then "next\n", in small pieces,
// without ever holding the long line.
class LongLineBuffer : public std::streambuf {
 public:
  explicit LongLineBuffer(long long length) : remaining_(length) {}

 protected:
  int_type underflow() override {
    if (remaining_ > 0) {
      const long long part = std::min<long long>(remaining_, sizeof(chunk_));
      std::fill_n(chunk_, part, '7');
      remaining_ -= part;
      setg(chunk_, chunk_, chunk_ + part);
      return traits_type::to_int_type(chunk_[0]);
    }
    if (!tailGiven_) {
      tailGiven_ = true;
      std::copy_n("\nnext\n", 6, chunk_);
      setg(chunk_, chunk_, chunk_ + 6);
      return traits_type::to_int_type(chunk_[0]);
    }
    return traits_type::eof();
  }

 private:
  long long remaining_;
  bool tailGiven_ = false;
  char chunk_[4096];
};

TEST(ConsoleReaderText, OverlongLineIsSkippedUpToItsLineFeed) {
  LongLineBuffer typed(100'000'000);
  std::istream keyboard(&typed);
  ConsoleReader reader(keyboard);
  EXPECT_EQ(reader.readText(12), "777777777777");
  EXPECT_EQ(reader.readText(12), "next        ");
  EXPECT_EQ(faultFrom([&] { reader.readText(1); }), kPastEndFault);
}

Answer<double> readReal(const std::string& typed) {
  std::istringstream keyboard(typed);
  return ConsoleReader(keyboard).readReal();
}

TEST(ConsoleReaderReal, ConvertsReadableAnswers) {
  const struct {
    std::string typed;
    double expected;
  } cases[] = {
      {"1234567\n", 1234567.0},
      {"123456789\n", 1234567.0},  // only the first 7 columns count
      {"12 34 5\n", 12345.0},
      {" 1 2 3 4 5 6 7\n", 123.0},
      {"\n", 0.0},
      {"       \n", 0.0},
      {"\t1234567\n", 0.0},  // the tab fills all 7 columns
      {"1.5E3\n", 1500.0},
      {"1.5e3\n", 1500.0},
      {"1.5D3\n", 1500.0},
      {"1.5d3\n", 1500.0},
      {"1.5Q3\n", 1500.0},
      {"1.5q3\n", 1500.0},
      {"15E-1\n", 1.5},
      {"1.5E+3\n", 1500.0},
      {"15+2\n", 1500.0},  // a sign on its own starts the exponent
      {"15-1\n", 1.5},
      {"1 E 3\n", 1000.0},
      {"12.5\n", 12.5},
      {".5\n", 0.5},
      {"7.\n", 7.0},
      {"+42\n", 42.0},
      {"-2.5\n", -2.5},
      {"+\n", 0.0},
      {"-\n", 0.0},
      {".\n", 0.0},
      {"1E\n", 1.0},  // an exponent without digits is 0
      {"1.5E+\n", 1.5},
      {"5-\n", 5.0},
      {"95,3\n", 95.0},
      {",5\n", 0.0},
      {"12\r\n", 12.0},
      {"1E999\n", std::numeric_limits<double>::infinity()},
      {"-1E999\n", -std::numeric_limits<double>::infinity()},
      {"1E-999\n", 0.0},
      {"1234567", 1234567.0},
  };
  for (const auto& c : cases) {
    const Answer<double> answer = readReal(c.typed);
    EXPECT_EQ(answer.kind, Kind::kValue) << "typed: \"" << c.typed << "\"";
    EXPECT_EQ(answer.value, c.expected) << "typed: \"" << c.typed << "\"";
  }
}

TEST(ConsoleReaderReal, IOrNAfterOptionalSignGivesInfinityOrNotANumber) {
  const double infinity = std::numeric_limits<double>::infinity();
  const struct {
    std::string typed;
    double expected;
  } infinities[] = {
      {"I\n", infinity},        {"i\n", infinity},   {"+Inf\n", infinity},
      {"Infinity\n", infinity}, {"-I\n", -infinity}, {"-ix.2E+\n", -infinity},
  };
  for (const auto& c : infinities) {
    const Answer<double> answer = readReal(c.typed);
    EXPECT_EQ(answer.kind, Kind::kValue) << "typed: \"" << c.typed << "\"";
    EXPECT_EQ(answer.value, c.expected) << "typed: \"" << c.typed << "\"";
  }
  for (const std::string typed : {"N\n", "nan\n", "-NaN\n", "+n12..\n"}) {
    const Answer<double> answer = readReal(typed);
    EXPECT_EQ(answer.kind, Kind::kValue) << "typed: \"" << typed << "\"";
    EXPECT_TRUE(std::isnan(answer.value)) << "typed: \"" << typed << "\"";
  }
}

TEST(ConsoleReaderReal, IllegalArrangementsAreUnreadable) {
  for (const std::string typed : {
           "1.2.3\n",   // second decimal point
           "abc\n",     // letters
           "12a\n",     // a letter that is no exponent letter
           "1X5\n",     // likewise
           "1E5E\n",    // second exponent letter
           "1E2D3\n",   // likewise
           "1E.5\n",    // decimal point after the exponent start
           "1+.5\n",    // likewise after a sign on its own
           "1E+A\n",    // letter after the exponent's sign
           "1+E\n",     // likewise
           "1+-2\n",    // a second sign after the leading one
           "1E+-2\n",   // likewise
           "-1-2-3\n",  // likewise
           "++1\n",     // an exponent start without a mantissa digit
           "E5\n",      // likewise
           ".E5\n",     // likewise
           "-+\n",      // likewise
           "95%\n",     // any other character
           "1_000\n",  "$5\n",
       }) {
    EXPECT_EQ(readReal(typed).kind, Kind::kUnreadable)
        << "typed: \"" << typed << "\"";
  }
}

TEST(ConsoleReaderReal, EndOfInputComesBackToTheCaller) {
  std::istringstream keyboard("abc\n5");
  ConsoleReader reader(keyboard);
  EXPECT_EQ(reader.readReal().kind, Kind::kUnreadable);
  const Answer<double> five = reader.readReal();
  EXPECT_EQ(five.kind, Kind::kValue);
  EXPECT_EQ(five.value, 5.0);
  EXPECT_EQ(reader.readReal().kind, Kind::kEndOfInput);
  EXPECT_EQ(reader.readReal().kind, Kind::kEndOfInput);
}

std::int64_t readWhole(const std::string& typed) {
  std::istringstream keyboard(typed);
  return ConsoleReader(keyboard).readWhole();
}

TEST(ConsoleReaderWhole, ConvertsReadableAnswers) {
  const struct {
    std::string typed;
    std::int64_t expected;
  } cases[] = {
      {"95\n", 95},
      {"9 5\n", 95},
      {" 95 \n", 95},
      {"95,3\n", 95},
      {"\n", 0},
      {",95\n", 0},
      {"+\n", 0},
      {"-\n", 0},
      {"+66\n", 66},
      {"-5\n", -5},
      {"\t\t95\n", 0},  // the tabs fill all 10 columns
      {"\t95\n", 95},   // 8 blanks, then the digits in columns 9 and 10
      {"\t955\n", 95},
      {"95\r\n", 95},
      {"9999999999\n", 9999999999},   // beyond 32 bits, for the caller
      {"-2147483649\n", -214748364},  // the eleventh column is ignored
      {"12345678901\n", 1234567890},
      {"80", 80},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(readWhole(c.typed), c.expected) << "typed: \"" << c.typed << "\"";
  }
}

TEST(ConsoleReaderWhole, AnyCharacterButSignAndDigitsIsAFault) {
  for (const std::string typed :
       {"95.5\n", "95%\n", "abc\n", "9a\n", "5+\n", "+-5\n", "1E2\n"}) {
    EXPECT_EQ(faultFrom([&] { readWhole(typed); }), kIllegalCharacterFault)
        << "typed: \"" << typed << "\"";
  }
}

TEST(ConsoleReaderWhole, EndOfInputIsAFault) {
  std::istringstream keyboard("");
  ConsoleReader reader(keyboard);
  EXPECT_EQ(faultFrom([&] { reader.readWhole(); }), kPastEndFault);
}

}  // namespace
}  // namespace talvik
