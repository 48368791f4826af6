#include "batch/analysis_jobs.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace talvik {
namespace {

TEST(AnalysisJobs, EachFileWithEachSeedInTheOrderGiven) {
  const std::vector<std::string> files = {"a.txt", "b.txt"};
  const std::vector<double> seeds = {5.0, 0.5, 7.0};
  const AnalysisJobs jobs(files, seeds);
  ASSERT_EQ(jobs.count(), 6u);
  for (std::size_t index = 0; index < jobs.count(); ++index) {
    const AnalysisJob job = jobs.at(index);
    EXPECT_EQ(job.fileIndex, index / 3) << index;
    EXPECT_EQ(job.file, files[index / 3]) << index;
    EXPECT_EQ(job.seed, seeds[index % 3]) << index;
    EXPECT_EQ(job.firstOfFile, index % 3 == 0) << index;
    EXPECT_EQ(job.lastOfFile, index % 3 == 2) << index;
    EXPECT_TRUE(job.seedInNames) << index;
  }
}

TEST(AnalysisJobs, WithOneSeedEachJobIsItsFilesFirstAndLast) {
  const std::vector<std::string> files = {"a.txt", "b.txt", "a.txt"};
  const std::vector<double> seeds = {1234567.0};
  const AnalysisJobs jobs(files, seeds);
  ASSERT_EQ(jobs.count(), 3u);
  for (std::size_t index = 0; index < jobs.count(); ++index) {
    const AnalysisJob job = jobs.at(index);
    EXPECT_EQ(job.fileIndex, index);
    EXPECT_TRUE(job.firstOfFile && job.lastOfFile);
    EXPECT_FALSE(job.seedInNames);
  }
}

TEST(AnalysisNames, NameTheSeedOnlyWhenSeveralRun) {
  const std::vector<std::string> files = {"dir/sites.txt"};
  const std::vector<double> oneSeed = {0.5};
  const std::vector<double> twoSeeds = {0.5, 2.0};
  EXPECT_EQ(nameWithoutFolder("dir/sites.txt"), "sites.txt");
  EXPECT_EQ(withSeed(AnalysisJobs(files, oneSeed).at(0), "s"), "s");
  EXPECT_EQ(withSeed(AnalysisJobs(files, twoSeeds).at(1), "s"), "s, seed 2");
}

TEST(FileLabels, GivenLastOrNamesWithoutFolderUnlessTwoShareOne) {
  const std::vector<std::string> files = {"a/x.txt", "b/x.txt", "c/y.txt",
                                          "z.txt"};
  const std::vector<std::pair<std::string, std::string>> labels = {
      {"z.txt", "first"}, {"z.txt", "Zeta"}};
  EXPECT_EQ(fileLabels(files, labels),
            (std::vector<std::string>{"a/x.txt", "b/x.txt", "y.txt", "Zeta"}));
}

}  // namespace
}  // namespace talvik
