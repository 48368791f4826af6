#include "batch/job_output.h"

#include <optional>
#include <utility>

#include "batch/batch_analysis.h"
#include "batch/batch_messages.h"
#include "batch/table_notes.h"

namespace talvik {

AnalysisOutput analyseJob(const BatchOptions& options, const AnalysisJob& job,
                          const InputSizes& input) {
  AnalysisOutput output;
  AnalysisRow& row = output.row;
  row.file = job.file;
  row.seed = job.seed;
  if (!input.errors.empty()) {
    row.error = errorCell(input);
    return output;
  }
  std::optional<PlotRequest> plot;
  if (!options.plotFolder.empty()) {
    plot = PlotRequest{
        options.plotLevel,
        options.title.value_or(
            withSeed(job, "Rank-size graph of " + nameWithoutFolder(job.file))),
        options.unit};
  }
  BatchAnalysis analysis = analyseSizes(
      input.observed, job.seed, options.resamples, options.levels, plot);
  row.numbers = std::move(analysis.numbers);
  row.sizesRead = input.sizesRead;
  row.leftOut = input.leftOut;
  row.note = analysisNote(*row.numbers, input.unusable, options.positiveOnly);
  output.plottingFile = std::move(analysis.plottingFile);
  output.picture = std::move(analysis.picture);
  output.resultsFile = std::move(analysis.resultsFile);
  return output;
}

}  // namespace talvik
