#include "batch/output_files.h"

#include <cstddef>
#include <filesystem>
#include <system_error>
#include <unordered_map>

#include "batch/option_values.h"
#include "session/console/whole_file.h"

namespace talvik {
namespace {

// A path as the system would resolve it, without asking the system about the
// files on it: absolute, with "." and ".." worked out.
std::string normalPath(const std::string& path) {
  std::error_code error;
  const std::filesystem::path absolute = std::filesystem::absolute(path, error);
  if (error) return path;
  return absolute.lexically_normal().string();
}

std::string analysisName(const AnalysisJob& job) {
  std::string name = "\"" + job.file + "\"";
  if (job.seedInNames) {
    name += " with seed ";
    name += seedText(job.seed);
  }
  return name;
}

}  // namespace

PlotFiles plotFilesOf(const std::string& folder, const AnalysisJob& job) {
  std::string stem = std::filesystem::path(job.file).stem().string();
  if (job.seedInNames) {
    stem += "_seed";
    stem += seedText(job.seed);
  }
  const std::filesystem::path base = std::filesystem::path(folder) / stem;
  return {base.string() + ".csv", base.string() + ".svg"};
}

std::string outputClash(const BatchOptions& options) {
  // Each output by its normal path, with what writes it.
  std::unordered_map<std::string, std::string> writers;
  std::string clash;
  const auto claim = [&](const std::string& path, const std::string& writer) {
    const auto [place, fresh] = writers.emplace(normalPath(path), writer);
    if (!fresh && clash.empty()) {
      clash = place->second + " and " + writer + " would both write " + path;
    }
  };
  if (!options.output.empty()) claim(options.output, "--output");
  if (!options.chartFile.empty()) claim(options.chartFile, "--chart");
  if (!options.plotFolder.empty()) {
    const AnalysisJobs jobs(options.files, options.seeds);
    for (std::size_t index = 0; index < jobs.count(); ++index) {
      const AnalysisJob job = jobs.at(index);
      const PlotFiles plot = plotFilesOf(options.plotFolder, job);
      const std::string writer = "--plot for " + analysisName(job);
      claim(plot.plottingFile, writer);
      claim(plot.picture, writer);
      if (!clash.empty()) return clash;
    }
  }
  if (!clash.empty()) return clash;

  for (const std::string& file : options.files) {
    const auto found = writers.find(normalPath(file));
    if (found != writers.end()) {
      return found->second + " would write over the size file \"" + file + "\"";
    }
    // The same file under another name, through a link say.
    for (const std::string& output : {options.output, options.chartFile}) {
      if (!output.empty() && isSameFile(output, file)) {
        return writers.at(normalPath(output)) +
               " would write over the size file \"" + file + "\"";
      }
    }
  }
  return {};
}

}  // namespace talvik
