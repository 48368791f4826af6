#include "reports/results_report.h"

#include <string>
#include <vector>

#include "gtest/gtest.h"
#include "session/console/collected_records_testutil.h"

namespace talvik {
namespace {

using Records = std::vector<std::string>;

// Bounds chosen so that every shifted bound and width is exact in float.
BootstrapResult resultWithKnownRanges() {
  BootstrapResult result;
  result.observedA = 0.4567f;
  result.shift = 0.125f;
  const int upper[] = {5, 25, 50, 100, 170};
  const float upperA[] = {0.75f, 0.625f, 0.5f, 0.375f, 0.25f};
  for (int i = 0; i < 5; ++i) {
    result.orderedA[upper[i] - 1] = upperA[i];
    result.orderedA[1001 - upper[i] - 1] = -upperA[i];
  }
  return result;
}

TEST(ResultsReport, ObservedAOnScreenAndItsTwinInTheFile) {
  CollectedRecords screen;
  CollectedRecords file;
  reportObservedA(screen, file, 0.4567f, 37);
  EXPECT_EQ(screen.records,
            (Records{" \r\n", " A =   0.457 for   37 settlements observed.\r\n",
                     " \r\n", " Resampling . . .\r\n", "\r\n"}));
  EXPECT_EQ(file.records,
            Records{"A =   0.457 for   37 settlements observed.\r\n"});
}

TEST(ResultsReport, ThousandSettlementsFillTheirFourColumns) {
  CollectedRecords screen;
  CollectedRecords file;
  reportObservedA(screen, file, -3.1476f, 1000);
  EXPECT_EQ(file.records,
            Records{"A =  -3.148 for 1000 settlements observed.\r\n"});
}

TEST(ResultsReport, FiveRangesInOrderWithTheirFileTwins) {
  CollectedRecords screen;
  CollectedRecords file;
  reportErrorRanges(screen, file, resultWithKnownRanges(), "res37.txt   ");
  EXPECT_EQ(screen.records,
            (Records{
                " \r\n",
                " --Error ranges for A--\r\n",
                " 99% Confidence: -0.625 to  0.875   (Range=  1.500)\r\n",
                " 95% Confidence: -0.500 to  0.750   (Range=  1.250)\r\n",
                " 90% Confidence: -0.375 to  0.625   (Range=  1.000)\r\n",
                " 80% Confidence: -0.250 to  0.500   (Range=  0.750)\r\n",
                " 66% Confidence: -0.125 to  0.375   (Range=  0.500)\r\n",
                " \r\n",
                " Results have been written to the file:res37.txt   \r\n",
            }));
  EXPECT_EQ(file.records,
            (Records{
                " \r\n",
                "--Error ranges for A--\r\n",
                "99% Confidence: -0.625 to  0.875   (Range=  1.500)\r\n",
                "95% Confidence: -0.500 to  0.750   (Range=  1.250)\r\n",
                "90% Confidence: -0.375 to  0.625   (Range=  1.000)\r\n",
                "80% Confidence: -0.250 to  0.500   (Range=  0.750)\r\n",
                "66% Confidence: -0.125 to  0.375   (Range=  0.500)\r\n",
            }));
}

}  // namespace
}  // namespace talvik
