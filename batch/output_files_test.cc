#include "batch/output_files.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

namespace talvik {
namespace {

std::string inFolder(const std::string& name) {
  return (std::filesystem::path("plots") / name).string();
}

TEST(PlotFilesOf, TheStemCarriesTheSeedOnlyWhenSeveralRun) {
  const std::vector<std::string> files = {"data/sites.v2.txt"};
  const std::vector<double> oneSeed = {7.0};
  const std::vector<double> twoSeeds = {7.0, 0.25};
  const PlotFiles single =
      plotFilesOf("plots", AnalysisJobs(files, oneSeed).at(0));
  EXPECT_EQ(single.plottingFile, inFolder("sites.v2.csv"));
  EXPECT_EQ(single.picture, inFolder("sites.v2.svg"));
  const PlotFiles second =
      plotFilesOf("plots", AnalysisJobs(files, twoSeeds).at(1));
  EXPECT_EQ(second.plottingFile, inFolder("sites.v2_seed0.25.csv"));
  EXPECT_EQ(second.picture, inFolder("sites.v2_seed0.25.svg"));
}

TEST(OutputClash, TwoAnalysesWithTheSamePlotFilesAreNamedAsTheirJobs) {
  BatchOptions options;
  options.files = {"a/sites.txt", "b/sites.txt"};
  options.seeds = {1.0};
  options.plotFolder = "plots";
  EXPECT_EQ(outputClash(options),
            "--plot for \"a/sites.txt\" and --plot for \"b/sites.txt\" would "
            "both write " +
                inFolder("sites.csv"));
  options.seeds = {1.0, 2.0};
  EXPECT_EQ(outputClash(options),
            "--plot for \"a/sites.txt\" with seed 1 and --plot for "
            "\"b/sites.txt\" with seed 1 would both write " +
                inFolder("sites_seed1.csv"));
  options.files = {"sites.txt"};
  EXPECT_EQ(outputClash(options), "");
}

}  // namespace
}  // namespace talvik
