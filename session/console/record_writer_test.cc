#include "session/console/record_writer.h"

#include <gtest/gtest.h>

#include <limits>
#include <string>
#include <string_view>
#include <vector>

#include "session/console/collected_records_testutil.h"
#include "session/console/fault.h"

namespace talvik {
namespace {

// Refuses every record, as a full disk would.
class RefusingDestination : public RecordDestination {
 public:
  void putRecord(std::string_view) override {
    ++attempts;
    throw Fault{"System Error:", "No space left on device", "Writing a file"};
  }
  int attempts = 0;
};

using Records = std::vector<std::string>;

TEST(RecordWriter, EditsWholeNumbersRightAligned) {
  struct WholeCase {
    int value;
    int width;
    std::string_view expected;
  };
  const WholeCase cases[] = {
      {37, 4, "  37"},
      {-37, 4, " -37"},
      {0, 4, "   0"},
      {12345, 4, "****"},
      {5, 2, " 5"},
      {99, 2, "99"},
      {100, 2, "**"},
      {-1, 2, "-1"},
      {-10, 2, "**"},
      {std::numeric_limits<int>::min(), 11, "-2147483648"},
      {std::numeric_limits<int>::min(), 10, "**********"},
      {std::numeric_limits<int>::max(), 12, "  2147483647"},
  };
  for (const WholeCase& c : cases) {
    EXPECT_EQ(editWhole(c.value, c.width), c.expected)
        << "I" << c.width << " of " << c.value;
  }
}

TEST(RecordWriter, EditsTextPaddedOnTheLeftOrCut) {
  EXPECT_EQ(editText("RESULTS.TXT ", 12), "RESULTS.TXT ");
  EXPECT_EQ(editText("RES.TXT     ", 12), "RES.TXT     ");
  EXPECT_EQ(editText("RES.TXT", 12), "     RES.TXT");
  EXPECT_EQ(editText("RESULTS.TXT ", 4), "RESU");
  EXPECT_EQ(editText("", 3), "   ");
}

TEST(RecordWriter, ScreenAndFileTwinsOfTheALineDifferInTheFirstByteOnly) {
  CollectedRecords screen;
  CollectedRecords resultsFile;
  const float observedA = 0.4567f;
  const int settlementCount = 37;
  writeRecords(screen, "(' A = ',F7.3,' for ',I4,' settlements observed.')",
               observedA, settlementCount);
  writeRecords(resultsFile, "('A = ',F7.3,' for ',I4,' settlements observed.')",
               observedA, settlementCount);
  EXPECT_EQ(screen.records,
            Records{" A =   0.457 for   37 settlements observed.\r\n"});
  EXPECT_EQ(screen.records[0].size(), 43u + 2u);
  EXPECT_EQ(resultsFile.records,
            Records{"A =   0.457 for   37 settlements observed.\r\n"});
}

TEST(RecordWriter, OneBlankLiteralIsOneRecordOfOneBlank) {
  CollectedRecords screen;
  writeRecords(screen, "(' ')");
  EXPECT_EQ(screen.records, Records{" \r\n"});
}

TEST(RecordWriter, FormatEndingInSlashEndsWithAnEmptyRecord) {
  CollectedRecords screen;
  writeRecords(screen, "(' '/' Resampling . . .'/)");
  EXPECT_EQ(screen.records,
            (Records{" \r\n", " Resampling . . .\r\n", "\r\n"}));
}

TEST(RecordWriter, EveryRecordBreakEndsOneRecord) {
  CollectedRecords file;
  writeRecords(file, "(//'x',/,'y'/)");
  EXPECT_EQ(file.records, (Records{"\r\n", "\r\n", "x\r\n", "y\r\n", "\r\n"}));
  CollectedRecords empty;
  writeRecords(empty, "()");
  EXPECT_EQ(empty.records, Records{"\r\n"});
}

TEST(RecordWriter, ShortNameLeavesTrailingBlanksBeforeTheRecordEnd) {
  CollectedRecords screen;
  const std::string resultsFileName = "RES.TXT     ";
  writeRecords(screen, "(' Results have been written to the file:',A12)",
               resultsFileName);
  EXPECT_EQ(screen.records,
            Records{" Results have been written to the file:RES.TXT     \r\n"});
}

TEST(RecordWriter, TakesValuesOfEveryKindInOrder) {
  CollectedRecords file;
  const int level = 90;
  writeRecords(file,
               "(I4,'% Confidence:',F7.3,' to',F7.3,'   (Range=',F7.3,')')",
               level, -0.125f, 0.5f, 0.625f);
  writeRecords(file, "(I4,',',F15.4,',',F15.4,',',F15.4,',',F15.4)", 1,
               12500.0f, 12500.0f, 4166.6665f, 123456.75f);
  writeRecords(file, "(A12,'|',A3,'|',I2)", std::string_view("a.txt"), "abcdef",
               7);
  EXPECT_EQ(file.records,
            (Records{"  90% Confidence: -0.125 to  0.500   (Range=  0.625)\r\n",
                     "   1,     12500.0000,     12500.0000,      4166.6670,    "
                     "123456.8000\r\n",
                     "       a.txt|abc| 7\r\n"}));
}

TEST(RecordWriter, LongRecordIsNeverWrapped) {
  CollectedRecords screen;
  writeRecords(screen,
               "(' 0123456789012345678901234567890123456789012345678901234567"
               "8901234567890123456789012345678901234567890123456789',I4)",
               -5);
  EXPECT_EQ(screen.records,
            Records{" 01234567890123456789012345678901234567890123456789012345"
                    "67890123456789012345678901234567890123456789012345678"
                    "9  -5\r\n"});
}

TEST(RecordWriter, RefusedRecordIsNotRetriedAndEndsTheCall) {
  RefusingDestination file;
  EXPECT_THROW(writeRecords(file, "('a'/'b')"), Fault);
  EXPECT_EQ(file.attempts, 1);
}

// Format texts are checked when the program is compiled; these are the checks
// a call of writeRecords makes.
static_assert(formatAccepts<>("(' ')"));
static_assert(formatAccepts<>("(' '/' Resampling . . .'/)"));
static_assert(formatAccepts<float, int>(
    "(' A = ',F7.3,' for ',I4,' settlements observed.')"));
static_assert(formatAccepts<std::string>("(' Written to:',A12)"));
static_assert(formatAccepts<std::string_view>("(A12)"));
static_assert(formatAccepts<int, float, float, float, float>(
    "(I4,',',F15.4,',',F15.4,',',F15.4,',',F15.4)"));
static_assert(formatAccepts<>("(/,/)"));

// Wrong number of values.
static_assert(!formatAccepts<>("(I4)"));
static_assert(!formatAccepts<int, int>("(I4)"));
static_assert(!formatAccepts<int>("(' ')"));
// Wrong kind of value.
static_assert(!formatAccepts<float>("(I4)"));
static_assert(!formatAccepts<double>("(F7.3)"));
static_assert(!formatAccepts<int>("(F7.3)"));
static_assert(!formatAccepts<long>("(I4)"));
static_assert(!formatAccepts<unsigned>("(I4)"));
static_assert(!formatAccepts<char>("(A1)"));
static_assert(!formatAccepts<std::string>("(I4)"));
static_assert(!formatAccepts<int>("(A12)"));
static_assert(!formatAccepts<float, int>("(I4,F7.3)"));
// Malformed format texts.
static_assert(!formatAccepts<>(""));
static_assert(!formatAccepts<>("' '"));
static_assert(!formatAccepts<>("(' ')x"));
static_assert(!formatAccepts<>("(' '"));
static_assert(!formatAccepts<>("(' )"));
static_assert(!formatAccepts<>("(,' ')"));
static_assert(!formatAccepts<>("(' ',)"));
static_assert(!formatAccepts<>("(' ',,' ')"));
static_assert(!formatAccepts<>("(' '' ')"));
static_assert(!formatAccepts<>("(' ' ' ')"));
static_assert(!formatAccepts<int, float>("(I4F7.3)"));
static_assert(!formatAccepts<int>("(I)"));
static_assert(!formatAccepts<int>("(I0)"));
static_assert(!formatAccepts<int>("(i4)"));
static_assert(!formatAccepts<int>("(I256)"));
static_assert(!formatAccepts<float>("(F7)"));
static_assert(!formatAccepts<float>("(F7.)"));
static_assert(!formatAccepts<float>("(F.3)"));
static_assert(!formatAccepts<>("(2X)"));
static_assert(!formatAccepts<>("( ' ')"));
static_assert(
    !formatAccepts<>("('1','2','3','4','5','6','7','8','9','10','11','12','13',"
                     "'14','15','16','17','18','19','20','21','22','23','24',"
                     "'25','26','27','28','29','30','31','32','33')"));

}  // namespace
}  // namespace talvik
