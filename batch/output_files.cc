#include "batch/output_files.h"

#include <cstddef>
#include <filesystem>
#include <string>
#include <unordered_map>

#include "batch/option_values.h"
#include "session/console/output_place.h"

namespace talvik {
namespace {

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
  const AnalysisJobs jobs(options.files, options.seeds);
  if (!options.chartFile.empty() && jobs.count() > kMostChartRows) {
    return "--chart draws at most " + std::to_string(kMostChartRows) +
           " analyses, and this run has " + std::to_string(jobs.count());
  }
  // Each output by its place, with what writes it. Devices and pipes other
  // than standard output are written directly, never replaced: they may be
  // shared.
  std::unordered_map<std::string, std::string> writers;
  std::string clash;
  const auto claim = [&](const FilePlace& place, const std::string& path,
                         const std::string& writer) {
    if (place.existing && !place.isRegular && !place.isFolder &&
        !place.isStandardOutput) {
      return;
    }
    const auto [found, fresh] = writers.emplace(place.key(), writer);
    if (!fresh && clash.empty()) {
      clash = found->second + " and " + writer + " would both write " + path;
    }
  };
  // "-" is standard output, where the table goes without --output.
  const auto claimOutput = [&](const std::string& path,
                               const std::string& writer) {
    claim(path == "-" ? standardOutputPlace() : placeOf(path), path, writer);
  };
  claimOutput(
      options.output.empty() ? "-" : options.output,
      options.output.empty() ? "the table on standard output" : "--output");
  if (!options.chartFile.empty()) claimOutput(options.chartFile, "--chart");
  if (!options.plotFolder.empty()) {
    claim(placeOf(options.plotFolder), options.plotFolder, "--plot");
    for (std::size_t index = 0; index < jobs.count() && clash.empty();
         ++index) {
      const AnalysisJob job = jobs.at(index);
      const PlotFiles plot = plotFilesOf(options.plotFolder, job);
      const std::string writer = "--plot for " + analysisName(job);
      claim(placeOf(plot.plottingFile), plot.plottingFile, writer);
      claim(placeOf(plot.picture), plot.picture, writer);
    }
  }
  if (!clash.empty()) return clash;

  for (const std::string& file : options.files) {
    const FilePlace place = placeOf(file);
    if (!place.isRegular) continue;
    const auto found = writers.find(place.key());
    if (found != writers.end()) {
      return found->second + " would write over the size file \"" + file + "\"";
    }
  }
  return {};
}

}  // namespace talvik
