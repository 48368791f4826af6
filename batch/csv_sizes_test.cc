#include "batch/csv_sizes.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>
#include <string>
#include <utility>
#include <vector>

namespace talvik {
namespace {

// Hands the text out a few bytes at a time, so that marks, quotes and line
// ends straddle the reads.
class TextSource : public ByteSource {
 public:
  TextSource(std::string text, std::size_t piece)
      : text_(std::move(text)), piece_(piece) {}
  std::optional<std::size_t> read(char* buffer, std::size_t capacity) override {
    const std::size_t count =
        std::min({piece_, capacity, text_.size() - position_});
    std::memcpy(buffer, text_.data() + position_, count);
    position_ += count;
    return count;
  }

 private:
  std::string text_;
  std::size_t piece_;
  std::size_t position_ = 0;
};

struct Read {
  std::vector<float> sizes;
  std::vector<std::int64_t> lines;
  std::vector<std::string> missing;  // the messages
  std::optional<std::string> groupingDoubt;
  std::optional<CsvProblem> problem;
};

Read readCsv(const std::string& text, const CsvLayout& layout,
             std::size_t piece = 2) {
  TextSource source(text, piece);
  CsvSizeReader reader(source, layout);
  Read read;
  while (const std::optional<CsvSize> size = reader.next()) {
    if (size->missing) {
      read.missing.push_back(std::to_string(size->line) + ": " +
                             reader.missingValueMessage(*size));
      continue;
    }
    read.sizes.push_back(size->size);
    read.lines.push_back(size->line);
  }
  read.groupingDoubt = reader.groupingPointsDoubt();
  read.problem = reader.problem();
  return read;
}

CsvLayout column(int number) {
  CsvLayout layout;
  layout.columnNumber = number;
  return layout;
}

CsvLayout named(std::string name) {
  CsvLayout layout;
  layout.columnName = std::move(name);
  layout.header = true;
  return layout;
}

TEST(CsvSizeReader, SpreadsheetExportWithMarkHeaderQuotesAndGroups) {
  const std::string text =
      "\xEF\xBB\xBF"
      "site,\"size, ha\",note\r\n"
      "Alpha,\"412,800\",\"said \"\"big\"\"\"\r\n"
      "Beta,\"1,234,567.5\",\"two\r\nlines\"\r\n"
      ",,\r\n"
      "Gamma,  12.5 ,\r\n"
      "Delta,1.2e3,x";
  for (const std::size_t piece : {1, 2, 3, 100}) {
    const Read read = readCsv(text, named("size, ha"), piece);
    EXPECT_FALSE(read.problem) << read.problem->reason;
    EXPECT_EQ(read.sizes,
              (std::vector<float>{412800.0f, 1234567.5f, 12.5f, 1200.0f}));
    EXPECT_EQ(read.lines, (std::vector<std::int64_t>{2, 3, 6, 7}));
  }
}

TEST(CsvSizeReader, DecimalCommaWithSemicolons) {
  CsvLayout layout = named("Area");
  layout.separator = ';';
  layout.decimalComma = true;
  const Read read = readCsv("site;Area\nA;12,5\nB;\"0,25\"\nC;3\n", layout);
  EXPECT_FALSE(read.problem);
  EXPECT_EQ(read.sizes, (std::vector<float>{12.5f, 0.25f, 3.0f}));
}

// A separator byte above 127 is a separator like any other, even where a
// signed char would make it look like the end of the file.
TEST(CsvSizeReader, SeparatorsAbove127) {
  for (const char separator : {'\xFE', '\xFF'}) {
    CsvLayout layout = column(2);
    layout.separator = separator;
    const Read read = readCsv(
        std::string("1") + separator + "2\n3" + separator + "4", layout);
    EXPECT_FALSE(read.problem) << read.problem->reason;
    EXPECT_EQ(read.sizes, (std::vector<float>{2.0f, 4.0f}));
  }
}

TEST(CsvSizeReader, NumberedColumnTakesTheFirstRowUnlessHeader) {
  EXPECT_EQ(readCsv("5,6\n7,8\n", column(2)).sizes,
            (std::vector<float>{6.0f, 8.0f}));
  CsvLayout withHeader = column(2);
  withHeader.header = true;
  EXPECT_EQ(readCsv("\n\na,b\n7,8\n", withHeader).sizes,
            (std::vector<float>{8.0f}));
}

// Conversion is the size-file reader's: correctly rounded, infinity beyond
// the float range, and the sign of zero kept.
TEST(CsvSizeReader, NumbersAreRoundedAsTheSizeFileReaderRoundsThem) {
  const Read read =
      readCsv("0.1\n16777217\n1e39\n-0\n1e-46\n+7\n.5\n5.\n", column(1));
  ASSERT_EQ(read.sizes.size(), 8u);
  EXPECT_EQ(read.sizes[0], 0.1f);
  EXPECT_EQ(read.sizes[1], 16777216.0f);
  EXPECT_EQ(read.sizes[2], std::numeric_limits<float>::infinity());
  EXPECT_TRUE(std::signbit(read.sizes[3]));
  EXPECT_EQ(read.sizes[4], 0.0f);
  EXPECT_EQ(read.sizes[5], 7.0f);
  EXPECT_EQ(read.sizes[6], 0.5f);
  EXPECT_EQ(read.sizes[7], 5.0f);
}

struct ProblemCase {
  std::string text;
  CsvLayout layout;
  std::int64_t line;
  std::string reason;
};

TEST(CsvSizeReader, ProblemsNameTheLineTheColumnAndTheCell) {
  CsvLayout semicolons = column(1);
  semicolons.separator = ';';
  CsvLayout decimalComma = semicolons;
  decimalComma.decimalComma = true;
  const ProblemCase cases[] = {
      {"5\n12a\n", column(1), 2,
       "column 1: \"12a\" is not a plain decimal number"},
      {"size\n5\n", column(1), 1,
       "column 1: \"size\" is not a plain decimal number"},
      {"1,2\n3\n", column(2), 2, "the row has 1 cell, no column 2"},
      {"site,size\na,5\nb,16,395\n", named("size"), 3,
       "the row has 3 cells, more than the 2 of the first row (a comma in a "
       "number without quotes?)"},
      {"5\n16,395\n", column(1), 2,
       "the row has 2 cells, more than the 1 of the first row (a comma in a "
       "number without quotes?)"},
      {"5\n\"12\n\n", column(1), 2, "a quoted cell is not closed"},
      {"\"12\"x\n", column(1), 1, "text after the closing quote of a cell"},
      {"1\"2\n", column(1), 1,
       "a quote inside a cell that does not start with one"},
      {"a,b\n", named("size"), 1,
       "the header has no column \"size\"; its 2 columns: \"a\", \"b\""},
      {"a,SIZE,Size\n", named("size"), 1,
       "the header has more than one column \"size\" when letter case and "
       "blanks are set aside; its 3 columns: \"a\", \"SIZE\", \"Size\""},
      {"1,2,3,4,5,6,7,8,9,10,11,\"\x1b\"\n", named("size"), 1,
       "the header has no column \"size\"; its 12 columns: \"1\", \"2\", "
       "\"3\", \"4\", \"5\", \"6\", \"7\", \"8\", \"9\", \"10\" and 2 more"},
      {"\n\n", named("size"), 3, "no header row naming the column \"size\""},
      {"size,Size,size\n", named("size"), 1,
       "the header names the column \"size\" twice; its 3 columns: "
       "\"size\", \"Size\", \"size\""},
      // Grouping only in quotes with the comma separator, in threes.
      {"\"1,23\"\n", column(1), 1,
       "column 1: \"1,23\" is not a plain decimal number"},
      {"\"1234,567\"\n", column(1), 1,
       "column 1: \"1234,567\" is not a plain decimal number"},
      {"\"1,234\"\n", semicolons, 1,
       "column 1: \"1,234\" is not a plain decimal number"},
      {"1.5\n", decimalComma, 1,
       "column 1: \"1.5\" is not a plain decimal number"},
      {"1,5e\n", decimalComma, 1,
       "column 1: \"1,5e\" is not a plain decimal number"},
      // Grouping points only in threes before the decimal comma.
      {"1.36\n", decimalComma, 1,
       "column 1: \"1.36\" is not a plain decimal number"},
      {"1.3610\n", decimalComma, 1,
       "column 1: \"1.3610\" is not a plain decimal number"},
      {"1..361\n", decimalComma, 1,
       "column 1: \"1..361\" is not a plain decimal number"},
      {"1.361.5\n", decimalComma, 1,
       "column 1: \"1.361.5\" is not a plain decimal number"},
      {"1234.567\n", decimalComma, 1,
       "column 1: \"1234.567\" is not a plain decimal number"},
      {"1.361,5.0\n", decimalComma, 1,
       "column 1: \"1.361,5.0\" is not a plain decimal number"},
      {".\n", column(1), 1, "column 1: \".\" is not a plain decimal number"},
      {"1\r5\n", column(1), 1,
       "column 1: \"1\\x0D5\" is not a plain decimal number"},
      {"\"\x1b[2J\"\n", column(1), 1,
       "column 1: \"\\x1B[2J\" is not a plain decimal number"},
      {"inf\n", column(1), 1,
       "column 1: \"inf\" is not a plain decimal number"},
      {std::string(50, '7') + "x\n", column(1), 1,
       "column 1: \"" + std::string(40, '7') +
           "...\" is not a plain decimal number"},
      // Kept only in part, after blanks that are not kept either.
      {std::string(4090, ' ') + "1234567890\n", column(1), 1,
       "column 1: \"123456...\" is not a plain decimal number"},
  };
  for (const ProblemCase& c : cases) {
    const Read read = readCsv(c.text, c.layout);
    ASSERT_TRUE(read.problem) << c.text;
    EXPECT_EQ(read.problem->line, c.line) << c.text;
    EXPECT_EQ(read.problem->reason, c.reason) << c.text;
  }
}

TEST(CsvSizeReader, PointsGroupWholeDigitsWithTheDecimalComma) {
  CsvLayout layout = named("Einwohner");
  layout.separator = ';';
  layout.decimalComma = true;
  const Read read = readCsv(
      "Gemeinde;Einwohner\nA;1.361\nB;12.345.678,5\nC;-999,25\nD;\"1.000\"\n",
      layout);
  EXPECT_FALSE(read.problem) << read.problem->reason;
  EXPECT_EQ(read.sizes,
            (std::vector<float>{1361.0f, 12345678.5f, -999.25f, 1000.0f}));
}

TEST(CsvSizeReader, EmptyCellsAndMarksAreMissingValues) {
  const Read read = readCsv(
      "site,size\na,5\nb,\nc, na \nd,\"N/A\"\ne,-\nf,..\ng,#n/a\n,\nh,\"\"\n",
      named(" SIZE "));
  EXPECT_FALSE(read.problem) << read.problem->reason;
  EXPECT_EQ(read.sizes, (std::vector<float>{5.0f}));
  const std::string no = ": no size in column 2 (\" SIZE \"): ";
  EXPECT_EQ(read.missing, (std::vector<std::string>{
                              "3" + no + "the cell is empty",
                              "4" + no + "\"na\" marks a missing value",
                              "5" + no + "\"N/A\" marks a missing value",
                              "6" + no + "\"-\" marks a missing value",
                              "7" + no + "\"..\" marks a missing value",
                              "8" + no + "\"#n/a\" marks a missing value",
                              "10" + no + "the cell is empty"}));
}

TEST(CsvSizeReader, SizesWithThreeDecimalsLookGrouped) {
  const std::string five = "1.361\n-12.500\n999.001\nNA\n2.000\n4.250\n";
  EXPECT_TRUE(readCsv(five, column(1)).groupingDoubt);
  EXPECT_EQ(readCsv(five, column(1)).groupingDoubt.value_or("").substr(0, 50),
            "all 5 sizes have three digits after a point, as if");
  EXPECT_FALSE(
      readCsv("1.361\n2.000\n4.250\n5.125\n", column(1)).groupingDoubt);
  for (const std::string odd : {"0.125", "1234.500", "1.25", "1.250e3", "7"}) {
    EXPECT_FALSE(readCsv(five + odd + "\n", column(1)).groupingDoubt) << odd;
  }
  CsvLayout decimalComma = column(1);
  decimalComma.separator = ';';
  decimalComma.decimalComma = true;
  EXPECT_FALSE(readCsv(five, decimalComma).groupingDoubt);
}

TEST(CsvSizeReader, CountsCellsOfRowsWiderThanAnInt) {
  // Reading 2^31 cells takes some twenty seconds, too long for a test; the
  // counts must hold such rows, and rows far wider than a column number are
  // counted and named in full.
  static_assert(std::numeric_limits<decltype(CsvRecord::cellCount)>::max() >=
                std::numeric_limits<std::int64_t>::max());
  const Read read =
      readCsv("1\n1" + std::string(70000, ',') + "\n", column(1), 4096);
  ASSERT_TRUE(read.problem);
  EXPECT_EQ(read.problem->reason,
            "the row has 70001 cells, more than the 1 of the first row (a "
            "comma in a number without quotes?)");
}

// A header is searched for the column's name cell by cell: of all its cells
// only the first two that bear the name are kept, however many there are.
TEST(CsvRecordReader, KeepsOnlyWhereTheNameStandsOfAHeader) {
  std::string header = "size";
  for (int i = 0; i < 100000; ++i) header += ",size";
  TextSource source(header + "\n", 4096);
  CsvRecordReader records(source, ',');
  const std::optional<CsvRecord> record = records.nextNonBlank(0, "size");
  ASSERT_TRUE(record);
  EXPECT_EQ(record->cellCount, 100001);
  EXPECT_EQ(record->named, (std::vector<std::int64_t>{1, 2}));
  EXPECT_LE(record->named.capacity(), 2u);
  EXPECT_LE(record->namedLoosely.capacity(), 2u);
  EXPECT_EQ(record->leading.size(), CsvRecord::kListedCells);
}

TEST(CsvSizeReader, FindsTheNamedColumnOfAWideHeader) {
  std::string header;
  for (int i = 1; i <= 100000; ++i) {
    header += 'c';
    header += std::to_string(i);
    header += ',';
  }
  const Read read =
      readCsv(header + "size\n" + header + "42\n", named("size"), 4096);
  EXPECT_FALSE(read.problem) << read.problem->reason;
  EXPECT_EQ(read.sizes, (std::vector<float>{42.0f}));
  // A cell longer than any kept is never the name, even where its kept start
  // would be.
  const std::string longName(CsvRecordReader::kMaxCellBytes, 'n');
  const Read cut = readCsv(longName + "n\n5\n", named(longName), 4096);
  ASSERT_TRUE(cut.problem);
  EXPECT_EQ(cut.problem->reason.substr(0, 30),
            "the header has no column \"nnnn");
}

}  // namespace
}  // namespace talvik
