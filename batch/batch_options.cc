#include "batch/batch_options.h"

#include <CLI/CLI.hpp>
#include <algorithm>
#include <charconv>
#include <string_view>

#include "analysis/bootstrap.h"
#include "analysis/number_characters.h"
#include "batch/option_values.h"

namespace talvik {

const char kBatchUsage[] =
    "usage: talvik-batch [OPTIONS] FILE...\n"
    "\n"
    "Computes the rank-size statistic A of each settlement size FILE and its\n"
    "error ranges from 1000 bootstrap resamples, as talvik does, and writes\n"
    "one table row per file and seed.\n"
    "\n"
    "  -s, --seed N       seed of the generator (default 1234567). Repeat the\n"
    "                     option, or give a range A..B (inclusive, at most\n"
    "                     100000 seeds), to analyse every file with every "
    "seed.\n"
    "  -l, --level P      one more confidence level, 1 to 99; may repeat;\n"
    "                     reported after the five fixed levels 99, 95, 90, "
    "80,\n"
    "                     66, in the order given, each level once.\n"
    "      --resamples N  draw N bootstrap resamples, a multiple of 1000 from\n"
    "                     1000 (the default, talvik's) to 100000; the first\n"
    "                     1000 are talvik's.\n"
    "  -c, --column COL   read each FILE as CSV and take the sizes from "
    "column\n"
    "                     COL: a header name (the first row is then the "
    "header)\n"
    "                     or a 1-based number (no header row unless "
    "--header).\n"
    "      --header       the first CSV row is a header.\n"
    "      --separator C  the CSV field separator (default \",\"; \";\" for\n"
    "                     spreadsheets that write decimal commas; \\t a tab);\n"
    "                     not a letter, digit, point, sign, quote or blank.\n"
    "      --decimal-comma  CSV cells use a comma as the decimal mark "
    "(\"12,5\").\n"
    "      --largest      with more than 1000 sizes, analyse the largest 1000\n"
    "                     instead of refusing the file.\n"
    "      --positive-only  leave out sizes of 0, below 0, not a number or\n"
    "                     infinite, which have no logarithm, and count them.\n"
    "      --strict       doubtful lines are errors instead of warnings.\n"
    "      --summary      one row per file instead of one per seed: the mean\n"
    "                     and sd of each bound over the seeds, and the share\n"
    "                     of seeds whose range excludes 0; not with --plot\n"
    "                     or --chart.\n"
    "  -f, --format FMT   csv (default), json, or text: a line per analysis\n"
    "                     for a paper (every level, or the first --level).\n"
    "  -o, --output FILE  write the table to FILE (replaced only once "
    "complete)\n"
    "                     instead of standard output (also FILE -).\n"
    "  -p, --plot DIR     also write, per analysis, DIR/STEM.csv (the "
    "plotting\n"
    "                     file) and DIR/STEM.svg (its picture); the level\n"
    "                     plotted is the first --level, else 90.\n"
    "      --title TEXT   the title of the --plot pictures (default: "
    "\"Rank-size\n"
    "                     graph of\" and the file's name).\n"
    "      --chart FILE   an SVG chart comparing A and its five ranges across\n"
    "                     all analyses (at most 1000); with --compare, the\n"
    "                     differences and their ranges.\n"
    "      --label FILE=TEXT  the chart's label for FILE's analyses; may\n"
    "                     repeat.\n"
    "      --unit TEXT    the unit of the sizes (\"ha\", \"inhabitants\"): "
    "the\n"
    "                     size axis of the pictures reads \"Size (TEXT)\".\n"
    "      --compare      compare every FILE after the first with the "
    "first,\n"
    "                     the reference: a row per FILE and seed with "
    "the\n"
    "                     difference A(FILE) - A(reference) and its "
    "ranges.\n"
    "  -j, --jobs N       analyses run in parallel on N threads (default: all\n"
    "                     cores); the output is the same whatever N is.\n"
    "  -q, --quiet        no warnings and no progress line.\n"
    "  -h, --help         this usage; --version: the version.\n"
    "\n"
    "Exit status: 0 when every analysis succeeded, 1 when any failed, 2 for a\n"
    "usage error.\n";

namespace {

// The most threads -j starts: far more than any machine has cores.
constexpr unsigned kMaxJobs = 1024;

ParsedArguments usageError(std::string error) {
  ParsedArguments parsed;
  parsed.kind = ParsedArguments::Kind::kUsageError;
  parsed.error = std::move(error);
  return parsed;
}

// The CSV options as given; `column` is unset without --column.
CsvOptions readCsvOptions(const std::optional<std::string>& column, bool header,
                          const std::optional<std::string>& separator,
                          bool decimalComma) {
  if (!column) {
    if (header || separator || decimalComma) {
      return {{}, "--header, --separator and --decimal-comma need --column"};
    }
    return {};
  }
  if (column->empty()) return {{}, "--column needs a name or a number"};
  return readCsvLayout(*column, header, separator, decimalComma);
}

}  // namespace

ParsedArguments parseBatchArguments(const std::vector<std::string>& arguments,
                                    unsigned defaultJobs) {
  CLI::App app("talvik-batch", "talvik-batch");
  app.set_help_flag();
  // CLI11 reads "/x" as an option on Windows; here it is a FILE from the
  // root of the drive, as everywhere else.
  app.allow_windows_style_options(false);
  bool help = false;
  bool version = false;
  std::vector<std::string> seedValues;
  std::vector<std::string> levelValues;
  std::string resamplesValue;
  std::string column;
  bool header = false;
  std::string separator;
  bool decimalComma = false;
  std::string format = "csv";
  ParsedArguments parsed;
  BatchOptions& options = parsed.options;
  options.jobs = std::max(defaultJobs, 1u);

  app.add_flag("-h,--help", help);
  app.add_flag("--version", version);
  app.add_option("-s,--seed", seedValues)->allow_extra_args(false)->take_all();
  app.add_option("-l,--level", levelValues)
      ->allow_extra_args(false)
      ->take_all();
  const CLI::Option* resamplesOption =
      app.add_option("--resamples", resamplesValue);
  const CLI::Option* columnOption = app.add_option("-c,--column", column);
  app.add_flag("--header", header);
  const CLI::Option* separatorOption = app.add_option("--separator", separator);
  app.add_flag("--decimal-comma", decimalComma);
  app.add_flag("--largest", options.largest);
  app.add_flag("--positive-only", options.positiveOnly);
  app.add_flag("--strict", options.strict);
  app.add_option("-f,--format", format)
      ->check(CLI::IsMember({"csv", "json", "text"}));
  const CLI::Option* outputOption =
      app.add_option("-o,--output", options.output);
  const CLI::Option* plotOption =
      app.add_option("-p,--plot", options.plotFolder);
  const CLI::Option* chartOption = app.add_option("--chart", options.chartFile);
  std::vector<std::string> labelValues;
  app.add_option("--label", labelValues)->allow_extra_args(false)->take_all();
  app.add_option("--unit", options.unit);
  std::string title;
  const CLI::Option* titleOption = app.add_option("--title", title);
  app.add_option("-j,--jobs", options.jobs)->check(CLI::Range(1u, kMaxJobs));
  app.add_flag("-q,--quiet", options.quiet);
  app.add_flag("--compare", options.compare);
  app.add_flag("--summary", options.summary);
  app.add_option("FILE", options.files);

  // CLI11 takes the arguments last first.
  std::vector<std::string> reversed(arguments.rbegin(), arguments.rend());
  try {
    app.parse(reversed);
  } catch (const CLI::ParseError& error) {
    return usageError(std::string(error.what()) +
                      " (talvik-batch --help shows the usage)");
  }
  if (help) {
    parsed.kind = ParsedArguments::Kind::kHelp;
    return parsed;
  }
  if (version) {
    parsed.kind = ParsedArguments::Kind::kVersion;
    return parsed;
  }
  if (options.files.empty()) {
    return usageError("no FILE given (talvik-batch --help shows the usage)");
  }
  if (std::find(options.files.begin(), options.files.end(), "") !=
      options.files.end()) {
    return usageError("an empty FILE name");
  }
  if (options.compare && options.files.size() < 2) {
    return usageError(
        "--compare needs a reference FILE and at least one FILE to compare "
        "with it");
  }
  // A summary gathers one file's analyses, a comparison's rows are pairs.
  if (options.compare && options.summary) {
    return usageError(
        "--summary gathers the seeds of each file's analyses, not of "
        "comparisons: leave out --summary or --compare");
  }
  if (options.compare && plotOption->count() > 0) {
    return usageError(
        "--plot draws analyses, not comparisons: leave out "
        "--plot or --compare");
  }
  for (const CLI::Option* option : {outputOption, plotOption, chartOption}) {
    if (option->count() > 0 && option->as<std::string>().empty()) {
      return usageError("an empty name for " + option->get_name());
    }
  }

  // Their pictures are of one seed each, which a summary row is not.
  if (options.summary &&
      (plotOption->count() > 0 || chartOption->count() > 0)) {
    return usageError(
        "--summary writes one row per file over its seeds: --plot and --chart "
        "draw each seed's analysis, so run them without --summary");
  }

  for (const std::string& text : seedValues) {
    SeedValue value = parseSeedValue(text);
    if (!value.error.empty()) return usageError(value.error);
    if (options.seeds.size() + value.seeds.size() > kMaxSeeds) {
      return usageError("more than 100000 seeds");
    }
    options.seeds.insert(options.seeds.end(), value.seeds.begin(),
                         value.seeds.end());
  }
  if (options.seeds.empty()) options.seeds.push_back(kDefaultSeed);

  for (const std::string& text : levelValues) {
    const LevelValue value = parseLevelValue(text);
    if (!value.error.empty()) return usageError(value.error);
    if (&text == &levelValues.front()) options.plotLevel = value.level;
    // A level the table already reports gets no second set of columns.
    // std::find, not std::ranges::find, which libc++ 14 lacks.
    if (std::find(kReportedLevels.begin(), kReportedLevels.end(),
                  value.level) == kReportedLevels.end() &&
        std::find(options.levels.begin(), options.levels.end(), value.level) ==
            options.levels.end()) {
      options.levels.push_back(value.level);
    }
  }

  options.levelGiven = !levelValues.empty();

  if (resamplesOption->count() > 0) {
    const ResamplesValue value = parseResamplesValue(resamplesValue);
    if (!value.error.empty()) return usageError(value.error);
    options.resamples = value.resamples;
  }

  const CsvOptions csv = readCsvOptions(
      columnOption->count() > 0 ? std::optional(column) : std::nullopt, header,
      separatorOption->count() > 0 ? std::optional(separator) : std::nullopt,
      decimalComma);
  if (!csv.error.empty()) return usageError(csv.error);
  options.csv = csv.layout;
  options.format = format == "json"   ? TableFormat::kJson
                   : format == "text" ? TableFormat::kText
                                      : TableFormat::kCsv;
  for (const std::string& text : labelValues) {
    const std::size_t equals = text.find('=');
    if (equals == std::string::npos || equals == 0) {
      return usageError("--label \"" + text + "\": FILE=TEXT expected");
    }
    options.labels.emplace_back(text.substr(0, equals),
                                text.substr(equals + 1));
    // A label for no FILE is most likely a misspelt name.
    if (std::find(options.files.begin(), options.files.end(),
                  options.labels.back().first) == options.files.end()) {
      return usageError("--label \"" + text + "\": no FILE named \"" +
                        options.labels.back().first + "\"");
    }
  }
  if (titleOption->count() > 0) options.title = title;
  return parsed;
}

}  // namespace talvik
