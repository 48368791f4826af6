#ifndef TALVIK_BATCH_ANALYSIS_JOBS_H_
#define TALVIK_BATCH_ANALYSIS_JOBS_H_

#include <cstddef>
#include <string>
#include <utility>
#include <vector>

namespace talvik {

// One analysis of a run: a FILE with a seed.
struct AnalysisJob {
  std::size_t fileIndex = 0;  // among the FILE arguments
  std::string file;           // as given
  double seed = 0.0;
  bool firstOfFile = false;  // the file's first seed: its messages go out here
  bool lastOfFile = false;   // the file's last seed: its sizes are done with
  // Several seeds run, so each analysis's names (picture title, chart label,
  // plot file names) carry its seed to tell it from the file's others.
  bool seedInNames = false;
};

// Every FILE with every seed, in the order the table has them: each file in
// turn, with its seeds in the order given.
class AnalysisJobs {
 public:
  // Both lists must outlive the jobs.
  // REQUIRES: seeds is not empty
  AnalysisJobs(const std::vector<std::string>& files,
               const std::vector<double>& seeds)
      : files_(files), seeds_(seeds) {}

  std::size_t count() const { return files_.size() * seeds_.size(); }

  // REQUIRES: index < count()
  AnalysisJob at(std::size_t index) const;

 private:
  const std::vector<std::string>& files_;
  const std::vector<double>& seeds_;
};

// A file's name without its folder: "b.txt" of "a/b.txt".
std::string nameWithoutFolder(const std::string& file);

// `name` with ", seed N" when the job's names carry the seed: a picture's
// title, a chart row's label.
std::string withSeed(const AnalysisJob& job, std::string name);

// The chart label of each FILE, by its index: the --label TEXT given for it
// (the last, if several), else its name without the folder, or the FILE as
// given when another FILE has the same name.
std::vector<std::string> fileLabels(
    const std::vector<std::string>& files,
    const std::vector<std::pair<std::string, std::string>>& labels);

}  // namespace talvik

#endif  // TALVIK_BATCH_ANALYSIS_JOBS_H_
