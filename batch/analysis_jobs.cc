#include "batch/analysis_jobs.h"

#include "batch/option_values.h"

namespace talvik {

AnalysisJob AnalysisJobs::at(std::size_t index) const {
  const std::size_t seed = index % seeds_.size();
  AnalysisJob job;
  job.fileIndex = index / seeds_.size();
  job.file = files_[job.fileIndex];
  job.seed = seeds_[seed];
  job.firstOfFile = seed == 0;
  job.lastOfFile = seed + 1 == seeds_.size();
  job.seedInNames = seeds_.size() > 1;
  return job;
}

std::string analysisLabel(const AnalysisJob& job) {
  std::string label = job.file;
  if (job.seedInNames) {
    label += ", seed ";
    label += seedText(job.seed);
  }
  return label;
}

}  // namespace talvik
