#include "batch/result_table.h"

#include <gtest/gtest.h>

#include <limits>
#include <string>
#include <vector>

namespace talvik {
namespace {

AnalysisRow analysedRow() {
  AnalysisNumbers numbers;
  numbers.settlements = 37;
  numbers.resamples = 5000;
  numbers.a = 0.09632224f;
  const float inf = std::numeric_limits<float>::infinity();
  const float nan = -std::numeric_limits<float>::quiet_NaN();
  for (const int level : {99, 95, 90, 80, 66, 50}) {
    numbers.ranges.push_back({level, -inf, nan, 0.1f});
  }
  numbers.ranges[0] = {99, -0.27574524f, 0.5224027f, 0.7981479f};
  AnalysisRow row;
  row.file = "a \"b\",c.txt";
  row.seed = 0.5;
  row.numbers = numbers;
  row.sizesRead = 40;
  row.leftOut = 3;
  row.note = "the bounds at 95, 90, 80, 66 and 50 % are not finite";
  return row;
}

AnalysisRow failedRow() {
  AnalysisRow row;
  row.file = "caf\xC3\xA9\xFF.txt";
  row.seed = 1234567.0;
  row.error = "line 3: no \"number\"\ttab";
  return row;
}

TEST(ResultTable, CsvRowsQuoteWhatNeedsItAndLeaveFailedNumbersEmpty) {
  // Widths beside bounds that are not both finite are left out.
  const std::vector<int> extra{50};
  ResultTable table(TableFormat::kCsv, extra);
  EXPECT_EQ(table.opening(),
            "file,seed,settlements,sizes_read,left_out,resamples,A,lower_99,"
            "upper_99,"
            "range_99,lower_95,"
            "upper_95,range_95,lower_90,upper_90,range_90,lower_80,upper_80,"
            "range_80,lower_66,upper_66,range_66,lower_50,upper_50,range_50,"
            "error,note\n");
  EXPECT_EQ(table.row(analysedRow()),
            "\"a \"\"b\"\",c.txt\",0.5,37,40,3,5000,0.09632224,-0.27574524,"
            "0.5224027,0.7981479,-inf,-nan,,-inf,-nan,,-inf,-nan,,-inf,-nan,,"
            "-inf,-nan,,,\"the bounds at 95, 90, 80, 66 and 50 % are not "
            "finite\"\n");
  EXPECT_EQ(table.row(failedRow()),
            "caf\xC3\xA9\xFF.txt,1234567,,,,,,,,,,,,,,,,,,,,,,,,"
            "\"line 3: no \"\"number\"\"\ttab\",\n");
  EXPECT_EQ(table.closing(), "");
}

TEST(ResultTable, JsonIsAnArrayWithStringsForNonFiniteNumbers) {
  // A width beside bounds that are not both finite is null.
  ResultTable table(TableFormat::kJson, {});
  AnalysisRow analysed = analysedRow();
  analysed.numbers->ranges.resize(2);
  std::string json = table.opening();
  json += table.row(analysed);
  json += table.row(failedRow());
  json += table.closing();
  EXPECT_EQ(json,
            "[\n"
            "  {\"file\": \"a \\\"b\\\",c.txt\", \"seed\": 0.5, "
            "\"settlements\": 37, \"sizes_read\": 40, \"left_out\": 3, "
            "\"resamples\": 5000, \"A\": 0.09632224, \"ranges\": [\n"
            "    {\"level\": 99, \"lower\": -0.27574524, \"upper\": "
            "0.5224027, \"range\": 0.7981479},\n"
            "    {\"level\": 95, \"lower\": \"-inf\", \"upper\": \"-nan\", "
            "\"range\": null}], \"note\": \"the bounds at 95, 90, 80, 66 "
            "and 50 % are not finite\"},\n"
            "  {\"file\": \"caf\xC3\xA9\\ufffd.txt\", \"seed\": 1234567, "
            "\"error\": \"line 3: no \\\"number\\\"\\u0009tab\"}\n"
            "]\n");
}

TEST(ResultTable, JsonWithoutRowsIsAnEmptyArray) {
  ResultTable table(TableFormat::kJson, {});
  EXPECT_EQ(table.opening() + table.closing(), "[]\n");
}

}  // namespace
}  // namespace talvik
