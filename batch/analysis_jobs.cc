#include "batch/analysis_jobs.h"

#include <filesystem>
#include <map>

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

std::string nameWithoutFolder(const std::string& file) {
  std::string name = std::filesystem::path(file).filename().string();
  return name.empty() ? file : name;
}

std::string withSeed(const AnalysisJob& job, std::string name) {
  if (job.seedInNames) {
    name += ", seed ";
    name += seedText(job.seed);
  }
  return name;
}

std::vector<std::string> fileLabels(
    const std::vector<std::string>& files,
    const std::vector<std::pair<std::string, std::string>>& labels) {
  std::map<std::string, std::size_t> named;  // name: how many FILEs have it
  for (const std::string& file : files) ++named[nameWithoutFolder(file)];
  std::vector<std::string> shown;
  for (const std::string& file : files) {
    const std::string name = nameWithoutFolder(file);
    shown.push_back(named[name] > 1 ? file : name);
    for (const auto& [labelled, text] : labels) {
      if (labelled == file) shown.back() = text;
    }
  }
  return shown;
}

}  // namespace talvik
