#include "web/page_comparison.h"

#include <utility>

#include "batch/option_values.h"
#include "batch/output_files.h"
#include "web/result_reading.h"

namespace talvik {

PageComparison::PageComparison(const BatchOptions& options,
                               const InputSizes& reference)
    : options_(options),
      reference_(reference),
      referenceError_(referenceError(options.files.front(), reference)),
      compared_(options.files.begin() + 1, options.files.end()),
      jobs_(compared_, options.seeds),
      csvTable_(TableFormat::kCsv, options.levels),
      jsonTable_(TableFormat::kJson, options.levels),
      csvText_(csvTable_.opening()),
      jsonText_(jsonTable_.opening()),
      chart_(options) {}

nlohmann::json PageComparison::compare(const AnalysisJob& job,
                                       const InputSizes& input) {
  const ComparisonRow row =
      compareJob(options_, job, input, reference_, referenceError_);
  csvText_ += csvTable_.row(row);
  jsonText_ += jsonTable_.row(row);
  chart_.add(job, row);
  nlohmann::json json{{"comparison", true},
                      {"file", row.file},
                      {"fileIndex", job.fileIndex + 1},
                      {"reference", row.reference},
                      {"seed", seedText(job.seed)},
                      {"failed", !row.numbers},
                      {"error", row.error},
                      {"downloads", nlohmann::json::array()}};
  if (row.numbers) {
    json.update(differenceJson(*row.numbers));
    json["sentence"] =
        differenceSentence(*row.numbers, row.file, row.reference);
  }
  return json;
}

std::vector<PageDownload> PageComparison::finish() const {
  std::vector<PageDownload> downloads{
      {"csv", "talvik-comparison.csv", csvText_ + csvTable_.closing()},
      {"json", "talvik-comparison.json", jsonText_ + jsonTable_.closing()}};
  // talvik-batch counts the reference's analyses too against the most rows.
  if (options_.files.size() * options_.seeds.size() <= kMostChartRows) {
    downloads.push_back(
        {"chart", "talvik-comparison-chart.svg", chart_.draw()});
  }
  return downloads;
}

}  // namespace talvik
