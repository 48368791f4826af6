#include "batch/comparison_rows.h"

#include <gtest/gtest.h>

#include <initializer_list>
#include <string>
#include <utility>
#include <vector>

namespace talvik {
namespace {

// Sizes largest first, as read.
InputSizes sizes(std::initializer_list<float> values) {
  InputSizes input;
  for (const float value : values) input.observed.push_back(value);
  input.sizesRead = static_cast<int>(values.size());
  return input;
}

InputSizes unreadable() {
  InputSizes input;
  input.errors.push_back({0, "the file has no sizes"});
  return input;
}

BatchOptions comparing(std::vector<std::string> files) {
  BatchOptions options;
  options.compare = true;
  options.files = std::move(files);
  options.levels = {60};
  return options;
}

TEST(ComparisonRowsTest, AnUnreadableReferenceFailsEveryRowWithItsError) {
  const BatchOptions options = comparing({"ref.txt", "b.txt"});
  const InputSizes reference = unreadable();
  const std::string error = referenceError("ref.txt", reference);
  EXPECT_EQ(error.rfind("reference ref.txt not analysed: ", 0), 0u);
  const std::vector<std::string> compared{"b.txt"};
  const std::vector<double> seeds{1.0};
  const AnalysisJobs jobs(compared, seeds);
  const ComparisonRow row =
      compareJob(options, jobs.at(0), sizes({9, 5, 3, 2}), reference, error);
  EXPECT_EQ(row.error, error);
  EXPECT_FALSE(row.numbers);
  EXPECT_EQ(row.reference, "ref.txt");
}

TEST(ComparisonRowsTest, ARowHoldsTheFixedLevelsThenTheExtraOnes) {
  const BatchOptions options = comparing({"ref.txt", "b.txt"});
  const InputSizes reference = sizes({20, 9, 7, 3, 2, 1});
  EXPECT_EQ(referenceError("ref.txt", reference), "");
  const std::vector<std::string> compared{"b.txt"};
  const std::vector<double> seeds{7.0};
  const AnalysisJobs jobs(compared, seeds);
  const ComparisonRow row =
      compareJob(options, jobs.at(0), sizes({9, 5, 3, 2}), reference, "");
  ASSERT_TRUE(row.numbers);
  EXPECT_EQ(row.numbers->settlements, 4);
  EXPECT_EQ(row.numbers->referenceSettlements, 6);
  ASSERT_EQ(row.numbers->ranges.size(), 6u);
  EXPECT_EQ(row.numbers->ranges.back().level, 60);
}

TEST(ComparisonRowsTest, TheChartNamesAFileNotComparedOnce) {
  const BatchOptions options = comparing({"ref.txt", "b.txt", "c.txt"});
  const std::vector<std::string> compared{"b.txt", "c.txt"};
  const std::vector<double> seeds{1.0, 2.0};
  const AnalysisJobs jobs(compared, seeds);
  DifferenceChartRows chart(options);
  ComparisonRow failed;
  failed.error = "not read";
  chart.add(jobs.at(0), failed);
  chart.add(jobs.at(1), failed);
  const std::string svg = chart.draw();
  EXPECT_NE(svg.find("b.txt"), std::string::npos);
  EXPECT_EQ(svg.find("b.txt"), svg.rfind("b.txt"));
  EXPECT_NE(svg.find("ref.txt"), std::string::npos);
}

}  // namespace
}  // namespace talvik
