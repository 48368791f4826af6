#include "plot/plotting_rows.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "analysis/byte_source.h"
#include "plot/plot_error.h"

namespace talvik {
namespace {

constexpr std::string_view kHeader = "RANK,SETSIZE,LOGNORM,SIZEUP,SIZELO\r\n";
constexpr std::string_view kRow1 =
    "   1,        25.0000,        25.0000,        25.0000,        12.5000\r\n";
constexpr std::string_view kRow2 =
    "   2,         0.0000,        12.5000,      1234.5678,         0.0001\r\n";

// A row of rank `rank` whose sizes are the four given 15-character fields.
std::string row(std::string_view rank, std::string_view setSize,
                std::string_view logNorm = "        25.0000",
                std::string_view sizeUp = "        25.0000",
                std::string_view sizeLo = "        25.0000") {
  return std::string(rank) + "," + std::string(setSize) + "," +
         std::string(logNorm) + "," + std::string(sizeUp) + "," +
         std::string(sizeLo) + "\r\n";
}

std::string withHeader(std::string_view rows) {
  return std::string(kHeader) + std::string(rows);
}

// A file that never ends: `start`, then `filler` for ever, or without a
// filler a refused read. Counts the bytes it handed out.
class EndlessSource : public ByteSource {
 public:
  EndlessSource(std::string start, std::optional<char> filler)
      : start_(std::move(start)), filler_(filler) {}

  std::optional<std::size_t> read(char* buffer, std::size_t capacity) override {
    const std::size_t fromStart =
        std::min(capacity, start_.size() - std::min(start_.size(), handedOut_));
    if (fromStart == 0 && !filler_) return std::nullopt;
    std::copy_n(start_.data() + handedOut_, fromStart, buffer);
    const std::size_t count = fromStart > 0 ? fromStart : capacity;
    std::fill(buffer + fromStart, buffer + count, filler_.value_or(' '));
    handedOut_ += count;
    return count;
  }

  std::size_t handedOut() const { return handedOut_; }

 private:
  std::string start_;
  std::optional<char> filler_;
  std::size_t handedOut_ = 0;
};

// The error of reading `file`, which must be refused.
PlotError refusalOf(ByteSource& file) {
  try {
    readPlottingRows(file, "plot.csv");
  } catch (const PlotError& error) {
    return error;
  }
  ADD_FAILURE() << "the file was accepted";
  return {};
}

TEST(PlottingRows, ReadsEachRankAndItsFourSizes) {
  const std::vector<PlottingRow> rows = readPlottingRows(
      withHeader(std::string(kRow1) + std::string(kRow2)), "plot.csv");
  ASSERT_EQ(rows.size(), 2u);
  EXPECT_EQ(rows[0].rank, 1);
  EXPECT_EQ(rows[1].rank, 2);
  const double expected[2][4] = {{25.0, 25.0, 25.0, 12.5},
                                 {0.0, 12.5, 1234.5678, 0.0001}};
  for (int r = 0; r < 2; ++r) {
    for (std::size_t column = 0; column < kSizeColumnCount; ++column) {
      EXPECT_EQ(rows[r].sizes[column].reading, SizeReading::kNumber);
      EXPECT_EQ(rows[r].sizes[column].value, expected[r][column])
          << "rank " << r + 1 << ", " << kSizeColumnNames[column];
    }
  }
  EXPECT_FALSE(rows[1].sizes[kSetSize].hasLogarithm());
  EXPECT_TRUE(rows[1].sizes[kSizeLo].hasLogarithm());
}

TEST(PlottingRows, AcceptsLineFeedsAloneAndALastRecordWithoutEnd) {
  const std::string text =
      "RANK,SETSIZE,LOGNORM,SIZEUP,SIZELO\n"
      "   1,        25.0000,        25.0000,        25.0000,        12.5000\n"
      "   2,         0.0000,        12.5000,      1234.5678,         0.0001";
  const std::vector<PlottingRow> rows = readPlottingRows(text, "plot.csv");
  ASSERT_EQ(rows.size(), 2u);
  EXPECT_EQ(rows[1].sizes[kSizeUp].value, 1234.5678);
}

TEST(PlottingRows, ReadsTheWritersFillingsAsSizesWithoutLogarithm) {
  struct Case {
    std::string_view field;
    SizeReading reading;
  };
  const Case cases[] = {
      {"***************", SizeReading::kOverflow},
      {"            NaN", SizeReading::kNotANumber},
      {"           -NaN", SizeReading::kNotANumber},
      {"            INF", SizeReading::kInfinity},
      {"           -INF", SizeReading::kInfinity},
  };
  for (const Case& c : cases) {
    const std::vector<PlottingRow> rows =
        readPlottingRows(withHeader(row("   1", c.field)), "plot.csv");
    EXPECT_EQ(rows[0].sizes[kSetSize].reading, c.reading) << c.field;
    EXPECT_FALSE(rows[0].sizes[kSetSize].hasLogarithm()) << c.field;
  }
  const std::vector<PlottingRow> widest =
      readPlottingRows(withHeader(row("   1", "9999999999.9999")), "plot.csv");
  EXPECT_EQ(widest[0].sizes[kSetSize].value, 9999999999.9999);
}

TEST(PlottingRows, ReadsAThousandRows) {
  std::string text(kHeader);
  for (int rank = 1; rank <= 1000; ++rank) {
    std::string field = std::to_string(rank);
    text += row(std::string(4 - field.size(), ' ') + field, "         1.0000");
  }
  EXPECT_EQ(readPlottingRows(text, "plot.csv").size(), 1000u);
  text += row("1001", "         1.0000");
  try {
    readPlottingRows(text, "plot.csv");
    FAIL() << "1001 rows were accepted";
  } catch (const PlotError& error) {
    EXPECT_EQ(error.file, "plot.csv");
    EXPECT_EQ(error.line, 1002u);
    EXPECT_EQ(error.reason, "more than 1000 rows");
    EXPECT_EQ(error.operation, "reading the plotting file");
  }
}

// However much a file holds, the reading stops at the first record that cannot
// be a plotting file's, after at most one buffer of 64 KiB.
TEST(PlottingRows, StopsAtTheFirstBadRecordOfAnEndlessFile) {
  constexpr std::size_t kBuffer = 64 * 1024;
  struct Case {
    std::string start;
    char filler;
    std::size_t line;
    std::string reason;
  };
  std::string thousandRows(kHeader);
  for (int rank = 1; rank <= 1000; ++rank) {
    const std::string field = std::to_string(rank);
    thousandRows +=
        row(std::string(4 - field.size(), ' ') + field, "         1.0000");
  }
  const Case cases[] = {
      {"", '\0', 1, "the header is not \"RANK,SETSIZE,LOGNORM,SIZEUP,SIZELO\""},
      {"", '\n', 1, "the header is not \"RANK,SETSIZE,LOGNORM,SIZEUP,SIZELO\""},
      {std::string(kHeader), 'x', 2,
       "a line of more than 256 characters where row 1 should be"},
      {std::string(kHeader), '\n', 2, "empty line where row 1 should be"},
      {thousandRows, '\n', 1002, "more than 1000 rows"},
  };
  for (const Case& c : cases) {
    EndlessSource file(c.start, c.filler);
    const PlotError error = refusalOf(file);
    EXPECT_EQ(error.line, c.line) << c.reason;
    EXPECT_EQ(error.reason, c.reason);
    EXPECT_LE(file.handedOut(), c.start.size() + kBuffer) << c.reason;
  }
}

// A row of up to 256 characters, its CR LF aside, is described field by
// field; a longer line only by its length.
TEST(PlottingRows, DescribesARowOfUpTo256CharactersFieldByField) {
  const std::string start =
      "   1,        25.0000,        25.0000,        25.0000,";
  const std::string longest =
      start + std::string(256 - start.size() - 7, ' ') + "25.0000";
  try {
    readPlottingRows(withHeader(longest + "\r\n"), "plot.csv");
    ADD_FAILURE() << "a 256-character row was accepted";
  } catch (const PlotError& error) {
    EXPECT_EQ(error.reason, "SIZELO \"" + std::string(40, ' ') +
                                "...\" is not 15 characters wide");
  }
  try {
    readPlottingRows(withHeader(" " + longest + "\r\n"), "plot.csv");
    ADD_FAILURE() << "a 257-character row was accepted";
  } catch (const PlotError& error) {
    EXPECT_EQ(error.line, 2u);
    EXPECT_EQ(error.reason,
              "a line of more than 256 characters where row 1 should be");
  }
}

TEST(PlottingRows, RefusesAReadTheSystemRefusedNamingItsLine) {
  EndlessSource file(std::string(kHeader) + std::string(kRow1), std::nullopt);
  const PlotError error = refusalOf(file);
  EXPECT_EQ(error.line, 3u);
  EXPECT_EQ(error.reason, "the system refused a read");
  EXPECT_EQ(error.operation, "reading the plotting file");
}

TEST(PlottingRows, RefusesAnythingElseNamingTheFileAndLine) {
  struct Case {
    std::string text;
    std::size_t line;
    std::string reason;
  };
  const Case cases[] = {
      {"", 1,
       "empty file, expected the header "
       "\"RANK,SETSIZE,LOGNORM,SIZEUP,SIZELO\""},
      {"RANK,SETSIZE,LOGNORM,SIZEUP\r\n" + std::string(kRow1), 1,
       "the header is not \"RANK,SETSIZE,LOGNORM,SIZEUP,SIZELO\""},
      {"rank,setsize,lognorm,sizeup,sizelo\r\n" + std::string(kRow1), 1,
       "the header is not \"RANK,SETSIZE,LOGNORM,SIZEUP,SIZELO\""},
      {"RANK,SETSIZE,LOGNORM,SIZEUP,SIZELO \r\n" + std::string(kRow1), 1,
       "the header is not \"RANK,SETSIZE,LOGNORM,SIZEUP,SIZELO\""},
      {std::string(kHeader), 2, "no rows after the header"},
      {withHeader(std::string(kRow1) + "\r\n" + std::string(kRow2)), 3,
       "empty line where row 2 should be"},
      {withHeader("   1,        25.0000,        25.0000,        25.0000\r\n"),
       2, "expected RANK and 4 sizes separated by commas, found 4 fields"},
      {withHeader(row("   1", "        25.0000", "        25.0000",
                      "        25.0000", "        25.0000,")),
       2, "expected RANK and 4 sizes separated by commas, found 6 fields"},
      {withHeader(row("   2", "        25.0000")), 2, "RANK is 2, expected 1"},
      {withHeader(std::string(kRow1) + row("   3", "        25.0000")), 3,
       "RANK is 3, expected 2"},
      {withHeader(row("  01", "        25.0000")), 2,
       "RANK \"  01\" is not a whole number right-aligned in 4 characters"},
      {withHeader(row("1   ", "        25.0000")), 2,
       "RANK \"1   \" is not a whole number right-aligned in 4 characters"},
      {withHeader(row("    1", "        25.0000")), 2,
       "RANK \"    1\" is not a whole number right-aligned in 4 characters"},
      {withHeader(row("  -1", "        25.0000")), 2,
       "RANK \"  -1\" is not a whole number right-aligned in 4 characters"},
      {withHeader(row("   1", "       25.0000")), 2,
       "SETSIZE \"       25.0000\" is not 15 characters wide"},
      {withHeader(row("   1", "        25.0000", "         25.000")), 2,
       "LOGNORM \"         25.000\" is not a size with 4 decimals "
       "right-aligned in 15 characters"},
      {withHeader(row("   1", "        25.0000", "        25.0000",
                      "25.0000        ")),
       2,
       "SIZEUP \"25.0000        \" is not a size with 4 decimals "
       "right-aligned in 15 characters"},
      {withHeader(row("   1", "        25.0000", "        25.0000",
                      "        25.0000", "            nan")),
       2,
       "SIZELO \"            nan\" is not a size with 4 decimals "
       "right-aligned in 15 characters"},
      {withHeader(row("   1", "       025.0000")), 2,
       "SETSIZE \"       025.0000\" is not a size with 4 decimals "
       "right-aligned in 15 characters"},
      {withHeader(row("   1", "      2.5e+0001")), 2,
       "SETSIZE \"      2.5e+0001\" is not a size with 4 decimals "
       "right-aligned in 15 characters"},
      {withHeader(row("   1", "       \t25.0000")), 2,
       "SETSIZE \"       \\x0925.0000\" is not a size with 4 decimals "
       "right-aligned in 15 characters"},
      {withHeader(row("\x1B[2J", "        25.0000")), 2,
       "RANK \"\\x1B[2J\" is not a whole number right-aligned in 4 "
       "characters"},
      {withHeader(row("   1",
                      "      \xC3\xA9"
                      "25.0000")),
       2,
       "SETSIZE \"      \xC3\xA9"
       "25.0000\" is not a size with 4 decimals "
       "right-aligned in 15 characters"},
      {withHeader(row("   1", std::string(39, ' ') + "\r25.0000")), 2,
       "SETSIZE \"" + std::string(39, ' ') +
           "\\x0D...\" is not 15 characters wide"},
      {withHeader(row("   1", "        -1.0000")), 2,
       "SETSIZE \"        -1.0000\" is negative"},
  };
  for (const Case& c : cases) {
    try {
      readPlottingRows(c.text, "plot.csv");
      ADD_FAILURE() << "accepted: " << c.text;
    } catch (const PlotError& error) {
      EXPECT_EQ(error.file, "plot.csv") << c.text;
      EXPECT_EQ(error.line, c.line) << c.text;
      EXPECT_EQ(error.reason, c.reason) << c.text;
    }
  }
}

}  // namespace
}  // namespace talvik
