#include "web/page_session.h"

#include <algorithm>
#include <nlohmann/json.hpp>
#include <utility>

#include "analysis/bootstrap.h"
#include "analysis/rank_size_a.h"
#include "analysis/text_source.h"
#include "batch/batch_messages.h"
#include "batch/csv_records.h"
#include "batch/job_output.h"
#include "batch/option_values.h"
#include "batch/output_files.h"
#include "batch/table_notes.h"
#include "web/result_reading.h"

namespace talvik {
namespace {

using Json = nlohmann::json;

// The most header cells offered to pick a column from.
constexpr std::int64_t kMostColumns = 200;

// Bytes of a file that are not UTF-8 become U+FFFD in the JSON text; the
// downloads keep them.
PageResponse answer(const Json& json, std::string attachments = {}) {
  return {json.dump(-1, ' ', false, Json::error_handler_t::replace),
          std::move(attachments)};
}

// Downloads named in the answer's JSON, their bytes gathered after it.
class Downloads {
 public:
  void add(std::string_view kind, std::string_view name,
           std::string_view bytes) {
    list_.push_back({{"kind", kind},
                     {"name", name},
                     {"offset", bytes_.size()},
                     {"length", bytes.size()}});
    bytes_ += bytes;
  }
  Json& list() { return list_; }
  std::string& bytes() { return bytes_; }

 private:
  Json list_ = Json::array();
  std::string bytes_;
};

// The lines talvik-batch writes about a file, without its name in front:
// the page shows them beside the file.
std::string pageMessageLines(const std::string& fileLines) {
  constexpr std::string_view kProgram = "talvik-batch: ";
  std::string lines;
  std::size_t start = 0;
  while (start < fileLines.size()) {
    std::size_t end = fileLines.find('\n', start);
    end = end == std::string::npos ? fileLines.size() : end + 1;
    std::string_view line(fileLines.data() + start, end - start);
    if (line.substr(0, kProgram.size()) == kProgram) {
      line.remove_prefix(kProgram.size());
    }
    lines += line;
    start = end;
  }
  return lines;
}

}  // namespace

PageResponse PageSession::refusal(std::string_view text) {
  return answer(Json{{"error", text}});
}

PageResponse PageSession::handle(const PageRequest& request,
                                 std::string_view payload) {
  switch (request.command) {
    case PageRequest::Command::kColumns:
      return columns(request, payload);
    case PageRequest::Command::kCheck: {
      std::string reason;
      if (request.option == "seed") {
        reason = parseSeedValue(request.text).error;
      } else if (request.option == "level") {
        reason = parseLevelValue(request.text).error;
      } else if (request.option == "resamples") {
        reason = parseResamplesValue(request.text).error;
      } else {
        return refusal("unknown option \"" + request.option + "\"");
      }
      return reason.empty() ? answer(Json{{"ok", true}})
                            : answer(Json{{"ok", false}, {"reason", reason}});
    }
    case PageRequest::Command::kReset:
      reset();
      return answer(Json::object());
    case PageRequest::Command::kRead:
      return read(request, payload);
    case PageRequest::Command::kRun:
      return run(request);
    case PageRequest::Command::kAnalyse:
      return analyse(request);
    case PageRequest::Command::kFinish:
      return finish();
  }
  return refusal("unknown command");
}

// The header's cells, one reading of the first row per column: a header is
// one row, and reading it again is cheaper than a second way of reading CSV.
PageResponse PageSession::columns(const PageRequest& request,
                                  std::string_view payload) {
  Json names = Json::array();
  std::int64_t count = 1;
  for (std::int64_t column = 1; column <= std::min(count, kMostColumns);
       ++column) {
    TextSource source(payload);
    CsvRecordReader reader(source, request.separator);
    const std::optional<CsvRecord> header = reader.nextNonBlank(column);
    if (!header) {
      if (reader.problem()) {
        return refusal("line " + std::to_string(reader.problem()->line) + ": " +
                       reader.problem()->reason);
      }
      return refusal("the file has no rows");
    }
    count = header->cellCount;
    names.push_back(header->selected ? header->selected->text : "");
  }
  return answer(Json{{"columns", names}, {"more", count > kMostColumns}});
}

void PageSession::reset() {
  comparison_.reset();
  files_.clear();
  jobs_.reset();
  analysed_ = 0;
  csvSummary_.reset();
  jsonSummary_.reset();
  chart_.reset();
}

PageResponse PageSession::read(const PageRequest& request,
                               std::string_view payload) {
  if (running()) return refusal("a run has started: reset first");
  TextSource source(payload);
  ReadFile file{request.name,
                readInputSizes(source, {.csv = request.csv,
                                        .largest = request.largest,
                                        .positiveOnly = request.positiveOnly,
                                        .strict = false}),
                request.positiveOnly, request.largest};
  const InputSizes& input = file.input;
  const bool failed = !input.errors.empty();
  const std::string unusable =
      failed ? std::string()
             : unusableSizesWarning(observedA(input.observed), input.unusable,
                                    request.positiveOnly);
  const Json json{{"file", files_.size()},
                  {"settlements", input.observed.size()},
                  {"sizesRead", input.sizesRead},
                  {"failed", failed},
                  {"messages", pageMessageLines(fileMessageLines(
                                   file.name, input, true, unusable))}};
  files_.push_back(std::move(file));
  return answer(json);
}

PageResponse PageSession::run(const PageRequest& request) {
  if (running()) return refusal("a run has started: reset first");
  if (files_.empty()) return refusal("no file has been read");
  if (request.compare && files_.size() < 2) {
    return refusal(
        "a comparison needs a reference and at least one file to compare "
        "with it: read two files or more");
  }
  const SeedValue seeds = parseSeedValue(request.seeds);
  if (!seeds.error.empty()) return refusal(seeds.error);
  const ResamplesValue resamples =
      parseResamplesValue(std::to_string(request.resamples));
  if (!resamples.error.empty()) return refusal(resamples.error);
  for (const ReadFile& file : files_) {
    if (file.positiveOnly != files_.front().positiveOnly ||
        file.largest != files_.front().largest) {
      return refusal("the files were read by different rules");
    }
  }
  BatchOptions& options = options_;
  options = BatchOptions();
  for (const ReadFile& file : files_) options.files.push_back(file.name);
  options.seeds = seeds.seeds;
  // As talvik-batch's --level P --level X: the plotted level first, each
  // level beyond the fixed ones once.
  options.plotLevel = request.plotLevel;
  options.levelGiven = true;
  for (const std::optional<int> level :
       {std::optional(request.plotLevel), request.extraLevel}) {
    if (level &&
        std::find(kReportedLevels.begin(), kReportedLevels.end(), *level) ==
            kReportedLevels.end() &&
        std::find(options.levels.begin(), options.levels.end(), *level) ==
            options.levels.end()) {
      options.levels.push_back(*level);
    }
  }
  options.resamples = resamples.resamples;
  options.positiveOnly = files_.front().positiveOnly;
  options.largest = files_.front().largest;
  options.unit = request.unit;
  if (request.compare) {
    options.compare = true;
    comparison_.emplace(options, files_.front().input);
    return answer(Json{{"analyses", comparison_->count()}, {"compare", true}});
  }
  // The downloads stand for the plot folder of talvik-batch's --plot.
  options.plotFolder = ".";
  jobs_.emplace(options.files, options.seeds);
  csvTable_.emplace(TableFormat::kCsv, options.levels);
  jsonTable_.emplace(TableFormat::kJson, options.levels);
  csvText_ = csvTable_->opening();
  jsonText_ = jsonTable_->opening();
  if (options.seeds.size() > 1) {
    csvSummary_.emplace(TableFormat::kCsv, options.levels);
    jsonSummary_.emplace(TableFormat::kJson, options.levels);
    csvSummaryText_ = csvSummary_->opening();
    jsonSummaryText_ = jsonSummary_->opening();
  }
  chart_.emplace(options);
  return answer(Json{{"analyses", jobs_->count()}});
}

PageResponse PageSession::analyse(const PageRequest& request) {
  if (!running()) return refusal("no run has started");
  if (request.index < 0 ||
      static_cast<std::size_t>(request.index) != analysed_ ||
      analysed_ >= (jobs_ ? jobs_->count() : comparison_->count())) {
    return refusal("analyses are run once each, in order: the next is " +
                   std::to_string(analysed_));
  }
  if (comparison_) {
    const AnalysisJob job = comparison_->job(analysed_++);
    return answer(comparison_->compare(job, files_[job.fileIndex + 1].input));
  }
  const AnalysisJob job = jobs_->at(analysed_++);
  const AnalysisOutput output =
      analyseJob(options_, job, files_[job.fileIndex].input);
  const AnalysisRow& row = output.row;
  csvText_ += csvTable_->row(row);
  jsonText_ += jsonTable_->row(row);
  if (csvSummary_) {
    csvSummaryText_ += csvSummary_->add(row, job.lastOfFile);
    jsonSummaryText_ += jsonSummary_->add(row, job.lastOfFile);
  }
  chart_->add(job, row);

  Json json{{"file", job.file},
            {"fileIndex", job.fileIndex},
            {"seed", seedText(job.seed)},
            {"failed", !row.numbers},
            {"error", row.error}};
  Downloads downloads;
  if (row.numbers) {
    json.update(numbersJson(*row.numbers));
    json["note"] = row.note;
    json["sentence"] = resultSentence(*row.numbers);
    std::string stem = plotFilesOf({}, job).picture;
    stem.resize(stem.size() - 4);  // without ".svg"
    downloads.add("results", stem + "_results.txt", output.resultsFile);
    downloads.add("plotting", stem + "_plot.csv", output.plottingFile);
    downloads.add("graph", stem + "_graph.svg", output.picture);
  }
  json["downloads"] = std::move(downloads.list());
  return answer(json, std::move(downloads.bytes()));
}

PageResponse PageSession::finish() {
  if (!running() ||
      analysed_ != (jobs_ ? jobs_->count() : comparison_->count())) {
    return refusal("the run's analyses are not all done");
  }
  Downloads downloads;
  if (comparison_) {
    for (const PageDownload& download : comparison_->finish()) {
      downloads.add(download.kind, download.name, download.bytes);
    }
    return answer(Json{{"downloads", std::move(downloads.list())}},
                  std::move(downloads.bytes()));
  }
  downloads.add("csv", "talvik-table.csv", csvText_ + csvTable_->closing());
  downloads.add("json", "talvik-table.json", jsonText_ + jsonTable_->closing());
  if (jobs_->count() >= 2 && jobs_->count() <= kMostChartRows) {
    downloads.add("chart", "talvik-chart.svg", chart_->draw());
  }
  if (csvSummary_) {
    downloads.add("summary-csv", "talvik-summary.csv",
                  csvSummaryText_ + csvSummary_->closing());
    downloads.add("summary-json", "talvik-summary.json",
                  jsonSummaryText_ + jsonSummary_->closing());
  }
  return answer(Json{{"downloads", std::move(downloads.list())}},
                std::move(downloads.bytes()));
}

}  // namespace talvik
